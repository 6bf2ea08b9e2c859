// SHA-256 for the package tool, which runs on the build machine where no Windows API hashes.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace package_tool {

std::array<uint8_t, 32> Sha256(std::string_view bytes);

}  // namespace package_tool
