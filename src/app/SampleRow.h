#pragma once

#include "pixels/KxImageList.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TForm1Ui;
class TKxButton;
class TKxPanel;

// The controls of the main window's sample row, made in the row's panels and laid out across
// its width: the palette's hot-track button, the show/hide button, the text and transparency
// switches, the font and size lists, bold and italic, the colour locks and fields with the
// contrast figure, and the tune panel button. What they do belongs to their owner.
class TSampleRow {
public:
    explicit TSampleRow(TForm1Ui& ui);
    TSampleRow(const TSampleRow&) = delete;
    TSampleRow& operator=(const TSampleRow&) = delete;

    // The show/hide button's captions.
    static QString showCaption();
    static QString hideCaption();

    // The row's controls, left to right, and the tune panel button. The panels own them.
    TKxButton* ButHotTrack = nullptr;
    TKxButton* ButShowSample = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* CbxShowText = nullptr;
    QCheckBox* CbxTransparent = nullptr;
    TKxPanel* PnlEdits = nullptr;
    QComboBox* CmbFonts = nullptr;
    TKxButton* ButFontDown = nullptr;
    QComboBox* CmbSizes = nullptr;
    TKxButton* ButSizeDown = nullptr;
    TKxButton* ButBold = nullptr;
    TKxButton* ButItalic = nullptr;
    TKxButton* ButLockTextCl = nullptr;
    QLineEdit* EdTextColor = nullptr;
    TKxButton* ButLockBkgCl = nullptr;
    QLineEdit* EdBkgColor = nullptr;
    // The text colour's contrast on the background colour, with a mark for AA at the sample's
    // text size; every level in its tooltip.
    QLabel* LblContrast = nullptr;
    TKxButton* ButEyeDropPanel = nullptr;

protected:
    ~TSampleRow() = default;

    // Fits the row to its panel's width: the left group at its natural widths, the fields from
    // the right, and the font list in what is left.
    void layoutRow(const TForm1Ui& ui);
    // Keeps the tune panel button square at the right end of its colour panel.
    void placeEyeDropButton(const TForm1Ui& ui);

private:
    // The pictures of the lock buttons; they let go of it when it ends.
    TKxImageList m_images;
};
