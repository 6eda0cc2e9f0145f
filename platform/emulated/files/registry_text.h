// system.reg: the REGEDIT4 text regedit imports and exports.
//
//   REGEDIT4
//   ; a comment
//   [HKEY_LOCAL_MACHINE\Some\Key]
//   @="default value"
//   "Text"="with \\ and \" escaped"
//   "Record"=hex:0c,00,01,02     (a line ending in a backslash continues on the next)
//   "Count"=dword:0000002a
//   "Other"=hex(7):41,00,00
#pragma once

#include "platform/emulated/files/parse_result.h"
#include "platform/emulated/files/registry_document.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace emulated {

// Longest value, in bytes, and longest value name, in characters, that the registry holds; the
// name's limit is the platform's. Within them a value's text stays below the parser's limits.
inline constexpr std::size_t kMaxRegistryValueSize = 1024 * 1024;
inline constexpr std::size_t kMaxRegistryValueNameLength = 16383;

// Far beyond an honest system.reg (a few KiB), yet room for a few values of the largest size;
// a larger file is refused.
inline constexpr TextLimits kRegistryLimits{8 * 1024 * 1024, 262144};

// A blank text is an empty registry; anything else starts with the REGEDIT4 line.
Parsed<RegistryDocument> ParseRegistryText(std::string_view text);

// Writes text that ParseRegistryText reads back as the same registry, provided the value names
// and sizes keep within the limits above and names hold no line breaks or NUL bytes (true of
// every document ParseRegistryText returns). Every line read is written back as it was; only
// values the machine set are written anew.
std::string FormatRegistryText(const RegistryDocument& document);

}  // namespace emulated
