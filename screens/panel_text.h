// How the panels write the colony's figures: whole numbers in decimal without separators, the
// growth rate with two decimals and "%", and the unemployed as a share of the population.
#pragma once

#include <cstdint>
#include <string>

namespace screens {

// 10.00%, -0.50%; a rate that rounds to zero is "0.00%", never "-0.00%".
std::string GrowthRateText(float growthRate);
// unemployed × 100 ÷ population rounded half up; 0 for an empty colony.
std::int32_t UnemployedPercent(std::int32_t unemployed, std::int32_t population);
// "10 (100%)": a count with the unemployed share of the population.
std::string WithPercent(std::int32_t count, std::int32_t unemployed, std::int32_t population);

}  // namespace screens
