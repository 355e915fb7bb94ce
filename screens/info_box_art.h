// The fixed places in the pictures of the counter box ("PopInfo") and the calendar box
// ("CalInfo"), in pixels of the pictures as painted: the resource builder paints its wells
// and bands here, and the game writes its figures into the same places, scaled with the box.
#pragma once

#include <array>
#include <cstdint>

namespace screens::art {

struct ArtRect {
  std::int32_t left, top, right, bottom;
};
struct ArtPoint {
  std::int32_t x, y;
};

// PopInfo: a row of four groups of 80 pixels (water, food, power, free housing), each an icon
// followed by a well for a number up to 999; below them one well for the population and the
// growth rate, beside a person icon.
inline constexpr std::int32_t kCounterWidth = 320;
inline constexpr std::int32_t kCounterHeight = 52;
inline constexpr std::array<ArtPoint, 4> kCounterIcons = {
    {{13, 14}, {93, 14}, {173, 14}, {253, 14}}};
inline constexpr std::array<ArtRect, 4> kCounterWells = {
    {{26, 3, 76, 25}, {106, 3, 156, 25}, {186, 3, 236, 25}, {266, 3, 316, 25}}};
inline constexpr ArtPoint kPersonIcon{13, 39};
inline constexpr ArtRect kPopulationWell{26, 28, 316, 49};
// Inside the population well: the population with its unemployment on the left, the growth
// rate on the right.
inline constexpr ArtRect kPopulationText{26, 28, 206, 49};
inline constexpr ArtRect kGrowthText{206, 28, 316, 49};

// CalInfo: a calendar page with the year in a red band, the month's name below it, and room
// for the day's large number.
inline constexpr std::int32_t kCalendarWidth = 96;
inline constexpr std::int32_t kCalendarHeight = 96;
inline constexpr ArtRect kCalendarPage{4, 6, 88, 90};
inline constexpr ArtRect kCalendarYear{4, 10, 88, 28};
inline constexpr ArtRect kCalendarMonth{4, 28, 88, 44};
inline constexpr ArtRect kCalendarDay{4, 46, 88, 90};

}  // namespace screens::art
