// The font table: fifteen slots of face names, filled with the four default faces at every
// opening, and the face lookup behind InstallFont.
//
// The four default faces always count as present, so a server without fonts still opens a
// canvas. Any other name is looked up among the font families Fontconfig knows.
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "canvas_state.h"

namespace lumivex {

namespace {

constexpr const char* kDefaultFaces[4] = {"Courier New", "MS Sans Serif", "Times New Roman",
                                          "Arial"};

// Fontconfig's configuration, loaded on the first lookup and released as the process ends.
FcConfig* FontConfiguration() {
  static FcConfig* config = [] {
    FcConfig* loaded = FcInitLoadConfigAndFonts();
    if (loaded != nullptr) {
      std::atexit([] {
        FcConfigDestroy(FontConfiguration());
        FcFini();
      });
    }
    return loaded;
  }();
  return config;
}

bool FontconfigHasFamily(const std::string& name) {
  FcConfig* config = FontConfiguration();
  if (config == nullptr) return false;
  FcPattern* pattern = FcPatternCreate();
  if (!name.empty()) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  }
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(config, pattern, objects);
  bool found = false;
  if (fonts != nullptr) {
    for (int i = 0; i < fonts->nfont && !found; ++i) {
      if (name.empty()) {
        found = true;
        break;
      }
      FcChar8* family = nullptr;
      for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &family) == FcResultMatch;
           ++n) {
        if (strcasecmp(reinterpret_cast<const char*>(family), name.c_str()) == 0) {
          found = true;
          break;
        }
      }
    }
    FcFontSetDestroy(fonts);
  }
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

bool FaceExists(const std::string& name) {
  for (const char* face : kDefaultFaces) {
    if (name == face) return true;
  }
  return FontconfigHasFamily(name);
}

}  // namespace

void FillFontTable() {
  CanvasState& canvas = Canvas();
  for (auto& slot : canvas.font_slots)
    slot.clear();
  for (const char* face : kDefaultFaces) {
    InstallFont(face);
    if (CanvasStatus() != kStatusOk) return;
  }
}

}  // namespace lumivex

using namespace lumivex;

int16_t InstallFont(const char* name) {
  if (!BeginOperation()) return -1;
  CanvasState& canvas = Canvas();
  const std::string face = name != nullptr ? std::string(name, strnlen(name, 255)) : "";
  int16_t result = -1;
  {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    if (FaceExists(face)) {
      for (int slot = 0; slot < kFontSlots; ++slot) {
        if (canvas.font_slots[slot].empty()) {
          canvas.font_slots[slot] = face.substr(0, kFontNameLength);
          result = static_cast<int16_t>(slot);
          break;
        }
      }
    }
  }
  if (result == -1) SetStatus(kStatusNoFont);
  return result;
}
