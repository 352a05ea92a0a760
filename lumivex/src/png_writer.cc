// PNG output through libpng.
#include "png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumivex {

bool WritePng(const std::string& path, int32_t width, int32_t height,
              const std::vector<uint32_t>& pixels, std::string* error) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    *error = "nothing to save";
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = std::strerror(errno);
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  bool ok = png != nullptr && info != nullptr;
  if (ok && setjmp(png_jmpbuf(png)) != 0) ok = false;
  if (ok) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y) {
      const uint32_t* source = pixels.data() + static_cast<size_t>(y) * width;
      for (int32_t x = 0; x < width; ++x) {
        row[x * 3 + 0] = static_cast<png_byte>(source[x] & 0xFF);
        row[x * 3 + 1] = static_cast<png_byte>((source[x] >> 8) & 0xFF);
        row[x * 3 + 2] = static_cast<png_byte>((source[x] >> 16) & 0xFF);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(png != nullptr ? &png : nullptr, info != nullptr ? &info : nullptr);
  if (std::fclose(file) != 0) ok = false;
  if (!ok) *error = "write error";
  return ok;
}

}  // namespace lumivex
