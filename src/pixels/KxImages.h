#pragma once

#include "pixels/KxImageList.h"

#include <QByteArray>
#include <QImage>

// The program's own pictures, drawn by code so that they stay sharp at any size.

// Entries of the main window's image list; the indexes the windows refer to.
enum TKxMainImage {
    kxiBrowse = 3,
    kxiEditSample = 4,
    kxiEyeDropHide = 5,
    kxiEyeDropShow = 6,
    kxiLock = 7,
    kxiOk = 9,
    kxiCancel = 10,
    kxiTemplates = 11,
    kxiMainImageCount = 12
};

// One entry of the main window's list, side × side pixels with alpha; indexes
// without a picture of their own give a transparent square.
QImage KxMainImage(int index, int side);
// The whole list, every entry side × side.
TKxImageList KxMainImageList(int side);

// The message box's icons, in the order of its icon kinds.
enum TKxMessageIcon { kxmInformation, kxmQuestion, kxmExclamation, kxmError };
// The icon as PNG data made for 144 pixels per inch (48 × 48), to load into a
// PNG holder whose SourceDPI is 144.
QByteArray KxMessageIconPng(TKxMessageIcon icon);
