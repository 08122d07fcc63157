#pragma once

#include <QPointer>
#include <QString>
#include <QValidator>

class QLineEdit;

// A length limit (and optionally digits only) for what the user types or pastes into a line
// edit. Unlike QLineEdit::setMaxLength, which also cuts text the program sets, text the program
// set stays whole; the user can shorten it but not make it longer than it is or than the limit.
class TTypedInputLimit : public QValidator {
    Q_OBJECT
public:
    // Installs itself as the edit's validator; the edit owns it.
    TTypedInputLimit(QLineEdit* edit, int maxLength, bool digitsOnly = false);

    State validate(QString& input, int& pos) const override;

private:
    QPointer<QLineEdit> FEdit;
    int FMaxLength;
    bool FDigitsOnly;
    // The text before the change being checked (the edit already shows the new one).
    QString FLastText;
};
