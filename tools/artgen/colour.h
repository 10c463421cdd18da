// Colours of the artwork and the few that the gauges' descriptions name exactly.
#pragma once

#include <cstdint>

namespace artgen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The host leaves pure black undrawn; nothing meant to cover may use it.
inline constexpr Rgb kSeeThrough{0, 0, 0};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kDialDisc{5, 5, 5};
inline constexpr Rgb kTankDialDisc{2, 2, 2};
inline constexpr Rgb kRpmDialDisc{5, 2, 2};
inline constexpr Rgb kSwitchPlate{52, 52, 52};
inline constexpr Rgb kLetterBlue{24, 64, 200};

}  // namespace artgen
