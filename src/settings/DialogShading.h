// The sine-shaped shading of the settings dialog and its panels: the colour of each pixel row.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace pelluna {

// The brightness of row y on a surface nHeight rows high: |sin(y / (nHeight / 3.142))| x 220, rounded
// half to even; 0 at the edges, 220 in the middle. Nothing when nHeight gives no scale (0).
std::optional<std::int32_t> ShadeLevel(std::int32_t y, std::int32_t nHeight);

// The dialog's grey (30 at the edges, 250 in the middle) and the panels' blue (navy to pale blue).
constexpr ColorRef DialogShade(std::int32_t level) {
    return Rgb(static_cast<std::uint32_t>(level + 30), static_cast<std::uint32_t>(level + 30),
               static_cast<std::uint32_t>(level + 30));
}
constexpr ColorRef PanelShade(std::int32_t level) {
    return Rgb(static_cast<std::uint32_t>(level), static_cast<std::uint32_t>(level),
               static_cast<std::uint32_t>(level + 30));
}

}  // namespace pelluna
