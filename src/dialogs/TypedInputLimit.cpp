#include "dialogs/TypedInputLimit.h"

#include <QLineEdit>

#include <algorithm>

TTypedInputLimit::TTypedInputLimit(QLineEdit* edit, int maxLength, bool digitsOnly)
    : QValidator(edit), FEdit(edit), FMaxLength(maxLength), FDigitsOnly(digitsOnly),
      FLastText(edit->text()) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { FLastText = text; });
    edit->setValidator(this);
}

QValidator::State TTypedInputLimit::validate(QString& input, int& /*pos*/) const {
    // setText() runs the validator too, but leaves the edit unmodified: the program's text is
    // taken as it is.
    if (!FEdit || !FEdit->isModified()) return Acceptable;
    if (FDigitsOnly &&
        !std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return Invalid;
    if (input.size() > FMaxLength && input.size() > FLastText.size()) return Invalid;
    return Acceptable;
}
