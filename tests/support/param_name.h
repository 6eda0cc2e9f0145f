// Names each case of a parameterised test after its `name` field.
#pragma once

#include <string>

inline constexpr auto kByName = [](const auto& info) { return std::string(info.param.name); };
