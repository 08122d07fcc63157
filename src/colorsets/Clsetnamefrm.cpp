#include "colorsets/Clsetnamefrm.h"

#include "colorsets/ColorSetStore.h"
#include "controls/KxButton.h"
#include "platform/Platform.h"

#include <QHBoxLayout>
#include <QLineEdit>

namespace {

// Design sizes at 144 pixels per inch.
constexpr int kDesignClientWidth = 519;
constexpr int kDesignClientHeight = 30;
constexpr int kDesignOkWidth = 51;
constexpr int kDesignCancelWidth = 85;
constexpr int kDesignFontHeight = 18;

void styleButton(TKxButton* button) {
    button->setClDimmedDark(14862272);
    button->setClDimmedLight(15921635);
    button->setFocusStyle(tfsColorRect);
}

} // namespace

TClSetNameForm::TClSetNameForm(QWidget* owner) : TKxDialog(owner) {
    setWindowTitle(QStringLiteral("Color Set Name"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(scaled(kDesignFontHeight));
    setFont(font);

    EdName = new QLineEdit(this);
    ButOk = new TKxButton(this);
    ButOk->setCaption(QStringLiteral("OK"));
    ButOk->setDefault(true);
    ButOk->setModalResult(tmrOK);
    ButOk->setEnabled(false);
    ButCancel = new TKxButton(this);
    ButCancel->setCaption(QStringLiteral("Cancel"));
    ButCancel->setCancel(true);
    ButCancel->setModalResult(tmrCancel);
    styleButton(ButOk);
    styleButton(ButCancel);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(EdName, 1);
    row->addWidget(ButOk);
    row->addWidget(ButCancel);
    const int height = scaled(kDesignClientHeight);
    EdName->setFixedHeight(height);
    ButOk->setFixedSize(scaled(kDesignOkWidth), height);
    ButCancel->setFixedSize(scaled(kDesignCancelWidth), height);
    setFixedSize(scaled(kDesignClientWidth), height);

    connect(EdName, &QLineEdit::textChanged, this, &TClSetNameForm::EdNameChange);
    EdName->setFocus();
}

TClSetNameForm::~TClSetNameForm() = default;

int TClSetNameForm::scaled(int designPixels) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return (designPixels * dpi + 72) / 144;
}

void TClSetNameForm::addName(const QString& name) {
    m_taken.append(Platform::toLower(name));
    EdNameChange();
}

QString TClSetNameForm::name() const {
    return EdName->text();
}

void TClSetNameForm::EdNameChange() {
    const QString text = EdName->text();
    // A name with a separator or a control character would put the file
    // somewhere else or break its lines: refused here as well as in the store.
    ButOk->setEnabled(!text.isEmpty() && TColorSetStore::IsSafeName(text) &&
                      !m_taken.contains(Platform::toLower(text)));
}

std::optional<QString> TClSetNameForm::Ask(QWidget* owner, const QStringList& taken) {
    TClSetNameForm form(owner);
    for (const QString& name : taken)
        form.addName(name);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.name();
}
