#pragma once

#include "colour/ColorValue.h"
#include "controls/KxPanel.h"

#include <QString>

class QLabel;
class QLineEdit;

// One tile of the colour set manager: a square caption in the entry's colour
// and an edit field with the entry's name. The colour is shown, not edited.
class TColorPnl : public TKxPanel {
    Q_OBJECT

public:
    TColorPnl(const QString& caption, QWidget* parent = nullptr);
    ~TColorPnl() override;

    QString name() const;
    // Sets the field's text when it differs (which raises changed()).
    void setName(const QString& name);
    ColorValue color() const { return m_color; }
    void setColor(ColorValue color);
    // Six upper-case hex digits of the colour, as a set file keys it.
    QString colorText() const;

    QLabel* label() const { return m_label; }
    QLineEdit* edit() const { return m_edit; }

signals:
    // The name field's text changed, by typing or by setName.
    void changed(TColorPnl* sender);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showColor();

    QLabel* m_label = nullptr;
    QLineEdit* m_edit = nullptr;
    // Lime until a set is loaded, so an unloaded tile is plain to see.
    ColorValue m_color = 0x00FF00;
};
