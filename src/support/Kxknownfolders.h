#pragma once

#include <QString>

// The per-user folders the program keeps its files in. Every path returned
// ends in the separator "/" (the one Qt uses on every platform).

enum class TKnownFolder {
    // Per-user application data that follows the user (Linux: ~/.local/share).
    RoamingAppData,
    // The user's documents.
    Documents,
    // The user's pictures.
    Pictures,
    // The user's desktop.
    Desktop,
};

// The folder's path, or empty text when the system knows no such folder.
QString KnownFolderPath(TKnownFolder folder);

QString RoamingAppDataFolder();

// The program's data folder (colour sets, template lists, sample texts):
// the roaming application data folder, then "Vextora/Huesplinter", created
// with any missing parents when it does not exist yet.
QString DataFolder();

// The publisher's shared folder, "Vextora/Shared" in the roaming application
// data folder, created when missing.
QString SharedFolder();

// Whether a folder can keep the program's files, and if not, why and what to do.
struct TFolderCheck {
    enum class TState { Usable, ReadOnly, Unusable };
    TState state = TState::Usable;
    // What is wrong and what to do; empty when usable.
    QString problem;
};
TFolderCheck CheckFolder(const QString& folder);
