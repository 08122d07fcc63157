#include "platform/Keyboard.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using Keyboard::digitOrLetter;
using Keyboard::TNativeScheme;

// X11 codes as a US and a Russian layout deliver them: the scan code is the
// key's place, the keysym what it types.
TEST(Keyboard, X11KeysAreTheirPlaceForDigitsAndTheirLatinLetterWhereTheyTypeOne) {
    struct Case {
        const char* what;
        int qtKey;
        quint32 scan, keysym;
        char16_t expected;
    };
    const Case cases[] = {
        {"US Shift+3 types #", Qt::Key_NumberSign, 12, 0x23, u'3'},
        {"US Ctrl+Shift+1 types !", Qt::Key_Exclam, 10, 0x21, u'1'},
        {"US 0", Qt::Key_0, 19, 0x30, u'0'},
        {"US Ctrl+Shift+h", Qt::Key_H, 43, 0x48, u'H'},
        {"AZERTY key at Q's place types a", Qt::Key_A, 24, 0x61, u'A'},
        {"AZERTY 1 unshifted types &", Qt::Key_Ampersand, 10, 0x26, u'1'},
        {"Russian ef at A's place", 0x424, 38, 0x6c6, u'A'},
        {"Russian es at C's place", 0x421, 54, 0x6d3, u'C'},
        {"keypad 3 is no main-row digit", Qt::Key_3, 89, 0xffb3, 0},
        {"F1", Qt::Key_F1, 67, 0xffbe, 0},
        {"synthetic event without codes", Qt::Key_7, 0, 0, u'7'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(digitOrLetter(c.qtKey, c.scan, c.keysym, TNativeScheme::X11), c.expected)
            << c.what;
}

TEST(Keyboard, WindowsVirtualKeysAndQtKeys) {
    EXPECT_EQ(digitOrLetter(Qt::Key_NumberSign, 4, 0x33, TNativeScheme::Windows), u'3');
    EXPECT_EQ(digitOrLetter(0x424, 30, 0x41, TNativeScheme::Windows), u'A');
    EXPECT_EQ(digitOrLetter(Qt::Key_Plus, 78, 0x6B, TNativeScheme::Windows), 0);
    EXPECT_EQ(digitOrLetter(Qt::Key_J, 0, 0, TNativeScheme::None), u'J');
    EXPECT_EQ(digitOrLetter(Qt::Key_NumberSign, 12, 0x23, TNativeScheme::None), 0);

    const QKeyEvent keypad(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(digitOrLetter(keypad), 0);
    const QKeyEvent digit(QEvent::KeyPress, Qt::Key_5, Qt::AltModifier);
    EXPECT_EQ(digitOrLetter(digit), u'5');
}
