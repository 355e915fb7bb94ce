#include "screens/panel_text.h"

#include <algorithm>
#include <cstdio>

#include "gfx/geometry.h"

namespace screens {

std::string GrowthRateText(float growthRate) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(growthRate));
  std::string written = text;
  if (written == "-0.00") written = "0.00";
  return written + "%";
}

std::int32_t UnemployedPercent(std::int32_t unemployed, std::int32_t population) {
  if (population == 0) return 0;
  const double share = static_cast<double>(unemployed) * 100.0 / static_cast<double>(population);
  // Held in range before the conversion: a damaged colony must not overflow it.
  return gfx::RoundHalfUp(static_cast<float>(std::clamp(share, -1e9, 1e9)));
}

std::string WithPercent(std::int32_t count, std::int32_t unemployed, std::int32_t population) {
  return std::to_string(count) + " (" + std::to_string(UnemployedPercent(unemployed, population)) +
         "%)";
}

}  // namespace screens
