#include "colorsets/Clsetnamefrm.h"

#include "colorsets/ColorSetStore.h"
#include "controls/KxButton.h"
#include "platform/Platform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

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

    m_reason = new QLabel(this);
    m_reason->setWordWrap(true);
    m_reason->setContentsMargins(scaled(6), scaled(4), scaled(6), scaled(4));
    m_reason->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(EdName, 1);
    row->addWidget(ButOk);
    row->addWidget(ButCancel);
    column->addLayout(row);
    column->addWidget(m_reason);
    const int height = scaled(kDesignClientHeight);
    EdName->setFixedHeight(height);
    ButOk->setFixedSize(scaled(kDesignOkWidth), height);
    ButCancel->setFixedSize(scaled(kDesignCancelWidth), height);
    fitHeight();

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
    QString reason;
    if (!text.isEmpty()) {
        reason = TColorSetStore::NameProblem(text);
        if (reason.isEmpty() && m_taken.contains(Platform::toLower(text)))
            reason = QStringLiteral("A color set of this name exists already.");
    }
    ButOk->setEnabled(!text.isEmpty() && reason.isEmpty());
    // An empty field needs no words: OK is plainly waiting for a name.
    if (m_reason->text() == reason && m_reason->isHidden() == reason.isEmpty()) return;
    m_reason->setText(reason);
    m_reason->setHidden(reason.isEmpty());
    fitHeight();
}

void TClSetNameForm::fitHeight() {
    const int width = scaled(kDesignClientWidth);
    const int height =
        scaled(kDesignClientHeight) + (m_reason->isHidden() ? 0 : m_reason->heightForWidth(width));
    setFixedSize(width, height);
}

std::optional<QString> TClSetNameForm::Ask(QWidget* owner, const QStringList& taken) {
    TClSetNameForm form(owner);
    for (const QString& name : taken)
        form.addName(name);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.name();
}
