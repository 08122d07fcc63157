#pragma once

class TUserStore;

// What the screen picker keeps between runs, and the two main settings it reads and toggles. The
// owner loads them, hands them to the picker and stores what the picker hands back.
struct TPickerValues {
    // "PickerWindowSize": the magnifier's side as stored; 0 when nothing usable was stored.
    int windowSize = 0;
    // "PickerGridLines", "PickerPickLines".
    bool gridLines = false;
    bool pickLines = true;
    // Kept in the main settings record: the colour hint switched off, and HSL instead of RGB.
    bool hintHidden = true;
    bool hintHsl = false;

    friend bool operator==(const TPickerValues&, const TPickerValues&) = default;
};

// Reads "PickerWindowSize", "PickerGridLines" and "PickerPickLines" from the program's key, in that
// order, into `values`. Stops at the first value that is missing or unreadable, keeping what was
// read before it; the window size is then left at 0. True when all three were read.
bool ReadPickerValues(TUserStore& store, TPickerValues& values);
// Writes the three values, creating the key when missing; false when a write failed.
bool WritePickerValues(TUserStore& store, const TPickerValues& values);

// "PickerFrozen": the picker runs over a frozen picture in full-screen overlays even where the
// screen can be read live. Off when missing or unreadable.
bool ReadPickerFrozen(TUserStore& store);
