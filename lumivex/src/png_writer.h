// Writing RGB pixels (red in the low byte) as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumivex {

// False with a message in *error when the file cannot be written.
bool WritePng(const std::string& path, int32_t width, int32_t height,
              const std::vector<uint32_t>& pixels, std::string* error);

}  // namespace lumivex
