#pragma once

#include <QString>

#include <cstdint>

// The words Windows gives for its error codes (the codes GetLastError and the registry calls
// answer), as the user's system says them.
namespace WindowsErrors {

// The system's message for `code`, without its trailing line end; "Windows error N." where the
// system has none (and on every other system, which has no such codes).
QString text(std::uint32_t code);

} // namespace WindowsErrors
