#pragma once

#include "colour/ColorValue.h"

#include <QDialog>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class TKxButton;

// The colour name editor: a slot's colour and caption beside an edit field
// for its name, OK and Cancel. A frameless pop-up placed on the slot.
class THintForm : public QDialog {
    Q_OBJECT

public:
    explicit THintForm(QWidget* owner = nullptr);
    ~THintForm() override;

    // The colour label shows the slot's colour and caption.
    void setColor(ColorValue color, const QString& caption);
    void setHint(const QString& hint);
    // The typed name, with line breaks and other control characters as blanks.
    QString hint() const;

    // Puts the editor's bottom-left corner on the slot's top-left corner, or
    // below the slot where the screen has no room above; always within the
    // work area of the slot's screen.
    void placeOn(const QRect& slotOnScreen);

    QLabel* lbColor() const { return LbColor; }
    QLineEdit* edHint() const { return EdHint; }
    TKxButton* butOk() const { return ButOk; }
    TKxButton* butCancel() const { return ButCancel; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int scaled(int designPixels) const;

    QLabel* LbColor = nullptr;
    QLineEdit* EdHint = nullptr;
    TKxButton* ButOk = nullptr;
    TKxButton* ButCancel = nullptr;
};
