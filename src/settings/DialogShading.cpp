// The sine-shaped shading of the settings dialog and its panels: the colour of each pixel row.
#include "settings/DialogShading.h"

#include <cmath>

#include "common/Numbers.h"

namespace pelluna {

std::optional<std::int32_t> ShadeLevel(std::int32_t y, std::int32_t nHeight) {
    const double k = nHeight / 3.142;
    if (k == 0.0) return std::nullopt;
    return numbers::RoundToInt32(std::fabs(std::sin(y / k)) * 220.0);
}

}  // namespace pelluna
