// Feeds arbitrary text to the script parser, the one reader of a user-named file: it must answer
// with steps or an error message, never crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<lumivex::script::Step> steps;
  std::string error;
  if (!lumivex::script::ParseScript(text, "fuzz.script", &steps, &error) && error.empty()) {
    __builtin_trap();  // a refusal always says why
  }
  lumivex::script::KeyStroke stroke;
  lumivex::script::ParseKeySpec(text, &stroke);
  return 0;
}
