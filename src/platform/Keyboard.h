#pragma once

#include <QtGlobal>

class QKeyEvent;

// Which key was pressed, as opposed to what it types. Qt reports the typed
// character (Shift+3 arrives as '#', Ctrl+Shift+1 as '!'), and on a
// non-Latin layout a letter key types no Latin letter at all; shortcuts that
// name a digit or a letter need the key itself.
namespace Keyboard {

// How the platform numbers its keys in a key event's native codes.
enum class TNativeScheme {
    None,    // no native codes: only Qt's key
    X11,     // scan code = evdev code + 8, virtual key = keysym
    Windows, // virtual key = VK code
};

TNativeScheme currentScheme();

// The main-row digit ('0' to '9') or Latin letter ('A' to 'Z') the key
// stands for, whatever the layout and the modifiers held; 0 for any other key
// (keypad digits included).
char16_t digitOrLetter(const QKeyEvent& event);
char16_t digitOrLetter(int qtKey, quint32 nativeScanCode, quint32 nativeVirtualKey,
                       TNativeScheme scheme);

} // namespace Keyboard
