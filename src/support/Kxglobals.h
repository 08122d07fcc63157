#pragma once

#include <QLatin1StringView>

// The program's name, and the names that tie its per-user data together.
namespace Kxglobals {

// The program's name as its windows and message boxes show it.
inline constexpr QLatin1StringView ProgramName{"Huesplinter"};
// The publisher's folder under the per-user folders.
inline constexpr QLatin1StringView CompanyFolderName{"Vextora"};
// The program's own folder inside the publisher's.
inline constexpr QLatin1StringView ProgramFolderName{"Huesplinter"};
// The folder, beside the program's, for files the publisher's programs share.
inline constexpr QLatin1StringView SharedFolderName{"Shared"};
// The program's key in the per-user settings store.
inline constexpr QLatin1StringView ProgramKey{"Software\\Vextora\\Huesplinter"};

} // namespace Kxglobals
