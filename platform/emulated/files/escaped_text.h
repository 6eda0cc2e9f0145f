// Text from outside (a device's kernel name and identity) kept in an INI value byte for byte:
// blanks at either end, control and non-ASCII bytes and '%' are written as %XX, everything
// else as it is, so the value reads back exactly and stays readable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace emulated {

std::string EscapeText(std::string_view text);

// The original bytes; nullopt for a malformed %XX.
std::optional<std::string> UnescapeText(std::string_view value);

}  // namespace emulated
