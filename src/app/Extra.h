#pragma once

#include "colour/ColorValue.h"

#include <QLabel>
#include <QString>

// One colour slot of the main window's bottom row: a one-character caption on
// the slot's colour, with a gap to its neighbours and, when it is the selected
// slot, a frame. A user slot also carries a name, shown as its tooltip.
class TColorLabel : public QLabel {
    Q_OBJECT

public:
    TColorLabel(const QString& caption, QWidget* parent);
    ~TColorLabel() override;

    ColorValue color() const { return m_color; }
    // Keeps the low 24 bits.
    void setColor(ColorValue color);
    const QString& name() const { return m_name; }
    void setName(const QString& name);
    // Whether the name is shown as the tooltip (user slots).
    void setShowName(bool show);
    bool selected() const { return m_selected; }
    void setSelected(bool selected);

signals:
    void pressed(TColorLabel* slot, Qt::MouseButton button);
    void moved(TColorLabel* slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ColorValue m_color = kWhite;
    QString m_name;
    bool m_showName = false;
    bool m_selected = false;
};
