// The effects as their formulas state them, written independently of the program: palettes as
// 256 RGB values (red in the low byte), cell colours with sines computed for every index (as if
// the tables had no ends), and effect 8's waves from their closed form.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace effects_reference {

using Palette = std::array<uint32_t, 256>;

constexpr uint32_t Rgb(int32_t red, int32_t green, int32_t blue) {
  return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 |
         static_cast<uint32_t>(blue) << 16;
}

// trunc(sin(i / k) * a) in extended precision, for any i (|i| < 2^40), remembered once computed.
inline int64_t Sine(int32_t k, int32_t a, int64_t i) {
  static thread_local std::unordered_map<uint64_t, int64_t> known;
  const uint64_t key = static_cast<uint64_t>(k) << 56 | static_cast<uint64_t>(a) << 44 |
                       (static_cast<uint64_t>(i) & ((uint64_t{1} << 44) - 1));
  const auto found = known.find(key);
  if (found != known.end()) return found->second;
  const int64_t value =
      static_cast<int64_t>(std::trunc(std::sin(static_cast<long double>(i) / k) * a));
  known.emplace(key, value);
  return value;
}

// ---------------------------------------------------------------------------------------------
// Palettes.

inline Palette RampPalette() {
  Palette p{};
  for (int32_t i = 0; i < 256; ++i) {
    if (i < 64) {
      p[i] = Rgb(4 * i, 4 * static_cast<int32_t>(i / 1.5L), 0);
    } else if (i < 128) {
      p[i] = Rgb(4 * (127 - i), 4 * ((i - 64) / 3 + 42), 0);
    } else if (i < 192) {
      p[i] = Rgb(4 * ((i - 128) / 3), 4 * (191 - i), 4 * (i - 128));
    } else {
      p[i] = Rgb(4 * ((255 - i) / 3), 0, 4 * (255 - i));
    }
  }
  return p;
}

inline Palette BlueWhitePalette() {
  Palette p{};
  for (int32_t i = 0; i < 256; ++i) {
    const int32_t level = 4 * ((i < 128 ? i : 255 - i) / 2);
    p[i] = Rgb(level, level, 252);
  }
  return p;
}

// Four bands, each rising over eight entries to a peak pair and falling over the next eight.
inline Palette ContourPalette() {
  Palette p{};
  auto band = [&](int32_t peak, int32_t r, int32_t g, int32_t b) {
    for (int32_t step = 0; step < 8; ++step) {
      const int32_t level = 36 * step;
      p[(peak - 7 + step) & 255] = Rgb(r * level, g * level, b * level);
      p[(peak + 8 - step) & 255] = Rgb(r * level, g * level, b * level);
    }
  };
  band(255, 0, 0, 1);  // 248..255 rising, 0..7 falling
  band(63, 1, 1, 1);
  band(127, 0, 1, 0);
  band(191, 1, 0, 0);
  return p;
}

inline Palette StripePalette() {
  Palette p{};
  p[1] = Rgb(0, 64, 252);
  p[2] = Rgb(252, 64, 0);
  p[3] = Rgb(252, 252, 252);
  return p;
}

inline Palette FirePalette() {
  Palette p{};
  for (int32_t i = 0; i < 256; ++i) {
    if (i < 64) {
      p[i] = Rgb(4 * i, 0, 4 * i);
    } else if (i < 128) {
      p[i] = Rgb(252, 4 * (i - 64), 4 * (127 - i));
    } else if (i < 192) {
      p[i] = Rgb(252, 4 * (191 - i), 0);
    } else {
      p[i] = Rgb(4 * (255 - i), 0, 0);
    }
  }
  return p;
}

inline Palette WheelPalette() {
  Palette p{};
  auto component = [](int64_t n) {
    const long double s = std::sin(static_cast<long double>(n * 21167));
    return 4 * static_cast<int32_t>(std::nearbyint(63 * s * s));
  };
  for (int32_t i = 0; i < 256; ++i) {
    p[i] = Rgb(component(3 * i), component(3 * i + 1), component(3 * i + 2));
  }
  return p;
}

// ---------------------------------------------------------------------------------------------
// Cell colours of frame t (effects 1 to 6) and frame n (effect 7, t = n for n <= 281).

inline int64_t Effect1(int64_t t, int64_t x, int64_t y) {
  return Sine(35, 35, x + t) + Sine(35, 35, y) - t;
}

inline int64_t Effect2(int64_t t, int64_t x, int64_t y) {
  return Sine(27, 115, 2 * t + y) + Sine(25, 47, x - t) + Sine(53, 32, x + y - 3 * t) + 2 * t;
}

inline int64_t Effect3(int64_t t, int64_t x, int64_t y) {
  auto a = [](int64_t i) { return Sine(45, 63, i); };
  auto b = [](int64_t i) { return Sine(35, 127, i); };
  auto c = [](int64_t i) { return Sine(17, 32, i); };
  return b(x + y + 2 * t) + a(y + t) - c(x - y - t) + 2 * t - b(c(x - t) + y - 2 * t);
}

inline int64_t Effect4(int64_t t, int64_t x, int64_t y) {
  return Sine(35, 127, x + y + t) + Sine(45, 63, y + t) - Sine(17, 32, x - y + t);
}

inline int64_t Effect5(int64_t t, int64_t x, int64_t y) {
  auto a = [](int64_t i) { return Sine(45, 27, i); };
  auto b = [](int64_t i) { return Sine(75, 83, i); };
  auto c = [](int64_t i) { return Sine(25, 48, i); };
  const int64_t p = b(2 * t + y) + a(x - t) + t;
  const int64_t q = c(b(x) + p - y + t) + x;
  const int64_t r = c(b(2 * t + y) - a(x - t - q)) + b(x - t);
  return r >= 0 ? r : r + 255;  // the fold, for |r| < 255
}

inline int64_t Stripe(int64_t k, int64_t value) {
  return k >= -1024 && k <= 1007 && (k + 1024) % 32 < 16 ? value : 0;
}

inline int64_t Effect6(int64_t t, int64_t x, int64_t y) {
  auto s1 = [](int64_t i) { return Sine(45, 63, i); };
  auto s2 = [](int64_t i) { return Sine(25, 31, i); };
  auto s3 = [](int64_t i) { return Sine(35, 127, i); };
  const int64_t u = Stripe(s2(y + t) + s1(x) + s2(s1(s3(y) + x)), 1);
  const int64_t v = Stripe(s1(s2(y - x + t) + y + x) + s2(y + t) + s3(x - y), 2);
  return u | v;
}

// In frame n the shift is -128 where x + y + n is odd and +128 where it is even.
inline int64_t Effect7(int64_t n, int64_t x, int64_t y) {
  const int64_t t = n % 282;
  const int64_t s = (x + y + n) % 2 != 0 ? -128 : 128;
  auto q = [](int64_t i) {
    const long double v = static_cast<long double>(i);
    return static_cast<int64_t>(std::trunc(std::sin(v / 35) * 128 + std::sin(v / 17) * 72));
  };
  return Sine(45, 97, x + s + t) + Sine(17, 72, x + s) + q(y + s);
}

// ---------------------------------------------------------------------------------------------
// Effect 8.

// W[i] = [sin(2i * pi / 256) * 64] for i in 0..255.
inline int64_t WaveHeight(int64_t i) {
  static const std::array<int64_t, 256> heights = [] {
    std::array<int64_t, 256> w{};
    for (int64_t j = 0; j < 256; ++j) {
      w[j] = static_cast<int64_t>(
          std::nearbyint(std::sin(2 * j * 3.141592653589793238462643383279502884L / 256) * 64));
    }
    return w;
  }();
  return heights[static_cast<size_t>(i)];
}

struct Wave {
  int64_t dx, dy;
};

inline Wave WaveOf(int64_t f, int64_t k) {
  const long double theta =
      2 * k * 3.141592653589793238462643383279502884L / 5 + static_cast<long double>(f) / 120;
  return Wave{static_cast<int64_t>(std::nearbyint(std::cos(theta) * 2000)),
              static_cast<int64_t>(std::nearbyint(std::sin(theta) * 2400))};
}

// W at the high byte of (1000 f + (x - 160) dx + (y - 120) dy) modulo 65536.
inline int64_t WaveAt(int64_t f, const Wave& wave, int64_t x, int64_t y) {
  const int64_t phase = (1000 * f + (x - 160) * wave.dx + (y - 120) * wave.dy) & 0xFFFF;
  return WaveHeight(phase >> 8);
}

}  // namespace effects_reference
