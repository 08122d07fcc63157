#pragma once

#include "controls/KxDialog.h"
#include <QString>
#include <QStringList>

#include <optional>

class QLabel;
class QLineEdit;
class TKxButton;

// Asks for the name of a new colour set. OK is only possible for a name that
// is not taken (ignoring case) and can name a file in the colour set folder.
class TClSetNameForm : public TKxDialog {
    Q_OBJECT

public:
    explicit TClSetNameForm(QWidget* owner = nullptr);
    ~TClSetNameForm() override;

    // Takes a name; kept in lower case.
    void addName(const QString& name);
    // The name as typed.
    QString name() const;

    QLineEdit* edName() const { return EdName; }
    TKxButton* butOk() const { return ButOk; }
    TKxButton* butCancel() const { return ButCancel; }
    // Why OK is not possible, under the field; hidden while it is.
    QLabel* reason() const { return m_reason; }

    // Shows the dialog modally; the typed name on OK, nothing otherwise.
    static std::optional<QString> Ask(QWidget* owner, const QStringList& taken);

private:
    void EdNameChange();
    void fitHeight();
    int scaled(int designPixels) const;

    QLineEdit* EdName = nullptr;
    TKxButton* ButOk = nullptr;
    TKxButton* ButCancel = nullptr;
    QLabel* m_reason = nullptr;
    QStringList m_taken;
};
