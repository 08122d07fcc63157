#include "platform/Keyboard.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <array>

namespace Keyboard {

namespace {

char16_t fromQtKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return char16_t(u'0' + (key - Qt::Key_0));
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return char16_t(u'A' + (key - Qt::Key_A));
    return 0;
}

// The Latin letter printed on a US keyboard at each X11 scan code from 24 up.
constexpr std::array<char16_t, 35> kX11Letters{u'Q', u'W', u'E', u'R', u'T', u'Y', u'U', u'I', u'O',
                                               u'P', 0,    0,    0,    0,    u'A', u'S', u'D', u'F',
                                               u'G', u'H', u'J', u'K', u'L', 0,    0,    0,    0,
                                               0,    u'Z', u'X', u'C', u'V', u'B', u'N', u'M'};
constexpr quint32 kX11FirstLetterCode = 24;
// Scan codes of the main row "1" to "9", then "0".
constexpr quint32 kX11Digit1 = 10;
constexpr quint32 kX11Digit0 = 19;

char16_t fromX11(int qtKey, quint32 scanCode, quint32 keysym) {
    // Synthetic events (tests, input methods) carry no codes.
    if (scanCode == 0) return fromQtKey(qtKey);
    // The digits by position: on many layouts the main row types symbols unshifted.
    if (scanCode >= kX11Digit1 && scanCode <= kX11Digit0)
        return scanCode == kX11Digit0 ? u'0' : char16_t(u'1' + (scanCode - kX11Digit1));
    // Latin layouts name their letters in the keysym (an AZERTY "A" is where QWERTY has "Q").
    if (keysym >= 'a' && keysym <= 'z') return char16_t(u'A' + (keysym - 'a'));
    if (keysym >= 'A' && keysym <= 'Z') return char16_t(u'A' + (keysym - 'A'));
    // Other layouts: the letter at that place on a US keyboard.
    if (scanCode >= kX11FirstLetterCode && scanCode < kX11FirstLetterCode + kX11Letters.size())
        return kX11Letters[scanCode - kX11FirstLetterCode];
    return 0;
}

char16_t fromWindows(int qtKey, quint32 virtualKey) {
    if (virtualKey == 0) return fromQtKey(qtKey);
    if (virtualKey >= 0x30 && virtualKey <= 0x39) return char16_t(u'0' + (virtualKey - 0x30));
    if (virtualKey >= 0x41 && virtualKey <= 0x5A) return char16_t(u'A' + (virtualKey - 0x41));
    return 0;
}

} // namespace

TNativeScheme currentScheme() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1StringView("xcb")) return TNativeScheme::X11;
    if (platform == QLatin1StringView("windows")) return TNativeScheme::Windows;
    return TNativeScheme::None;
}

char16_t digitOrLetter(int qtKey, quint32 nativeScanCode, quint32 nativeVirtualKey,
                       TNativeScheme scheme) {
    switch (scheme) {
    case TNativeScheme::X11:
        return fromX11(qtKey, nativeScanCode, nativeVirtualKey);
    case TNativeScheme::Windows:
        return fromWindows(qtKey, nativeVirtualKey);
    case TNativeScheme::None:
        break;
    }
    return fromQtKey(qtKey);
}

char16_t digitOrLetter(const QKeyEvent& event) {
    // The keypad's digits are not the main row's.
    if (event.modifiers() & Qt::KeypadModifier) return 0;
    return digitOrLetter(event.key(), event.nativeScanCode(), event.nativeVirtualKey(),
                         currentScheme());
}

} // namespace Keyboard
