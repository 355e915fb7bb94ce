// colony-sim's script reader on arbitrary text, with a bounded number of days and ticks and
// without touching files.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "sim/colony_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out, errors;
  sim::ColonyScriptOptions options;
  options.constantDraw = size > 0 ? data[0] % 4 : 1;
  options.allowFiles = false;
  options.stepBudget = 3000;
  sim::RunColonyScript(script, out, errors, options);
  return 0;
}
