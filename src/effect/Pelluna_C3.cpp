// The raindrop ripple effect: unseen drops land on black and spread rings of coloured ellipses.
#include "effect/Pelluna_C3.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "common/Numbers.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

constexpr std::int32_t kTransitionMs = 5000;

// Single precision as the hardware gives it: beyond the range becomes an infinity instead of the
// undefined double-to-float conversion.
float ToSingleOrInfinity(double value) {
    if (const std::optional<float> single = numbers::ToSingle(value)) return *single;
    if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
    return value > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
}

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Held within half the 32-bit range, so that the width and height of a rectangle between two such
// coordinates fit 32 bits too. No real picture comes near the bound.
std::int32_t ClampToHalfRange(std::int64_t value) {
    constexpr std::int64_t kHalf = std::int64_t{1} << 30;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kHalf, kHalf - 1));
}

ColorRef PenColor(int level, int family) {
    const auto c = static_cast<std::uint32_t>(level * 16);
    switch (family) {
        case 0:
            return Rgb(c, 0, 0);
        case 1:
            return Rgb(0, c, 0);
        case 2:
            return Rgb(0, 0, c);
        case 3:
            return Rgb(c, c, 0);
        case 4:
            return Rgb(0, c, c);
        default:
            return Rgb(c, 0, c);
    }
}

}  // namespace

Pelluna_C3::Pelluna_C3(Gdi& gdi, Kernel& kernel, Clock& clock, RandomSource& random)
    : m_gdi(gdi), m_kernel(kernel), m_clock(clock), m_random(random) {}

Pelluna_C3::Pelluna_C3(Gdi& gdi, Kernel& kernel, Clock& clock)
    : m_gdi(gdi), m_kernel(kernel), m_clock(clock), m_random(m_ownRandom) {}

Pelluna_C3::~Pelluna_C3() {
    // Normally Destruct has freed them already; this keeps an effect dropped without it from leaking.
    DeletePens();
}

int Pelluna_C3::DropsInUse() {
    // The table has 100 entries; a hand-edited count beyond it uses them all, a negative one none.
    return std::clamp<std::int32_t>(gDropsCount, 0, kMaxDrops);
}

void Pelluna_C3::ResetDrop(Drop& drop) {
    drop.sngX = static_cast<float>(static_cast<double>(m_random.Next()) * m_nWidth);
    drop.sngY = static_cast<float>(-static_cast<double>(m_random.Next()) * m_nHeight);
    drop.nState = 0;
    drop.sngLandOrRadius = static_cast<float>(static_cast<double>(m_random.Next()) * m_nHeight);
}

bool Pelluna_C3::Construct(std::int32_t nWidth, std::int32_t nHeight, bool& bUseTransition) {
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    bUseTransition = true;

    m_sngScale = static_cast<float>(nWidth) / 1024.0f;
    const double angle = gFallAngle;
    m_sngFallX = ToSingleOrInfinity(std::cos(angle) * gFallSpeed * m_sngScale);
    m_sngFallY = ToSingleOrInfinity(std::fabs(std::sin(angle) * gFallSpeed) * m_sngScale);
    m_sngGrowSpeed = gRippleSpeed * m_sngScale;
    m_sngMaxRadius = gRippleSize * m_sngScale;

    m_random.Reseed(m_clock.SecondsSinceMidnight());
    const int count = DropsInUse();
    for (int i = 0; i < count; ++i) ResetDrop(m_Drops[i]);

    for (int level = 0; level < kLevels; ++level) {
        for (int family = 0; family < kFamilies; ++family) {
            m_hPens[level][family] = m_gdi.CreatePen(win::PS_SOLID, 0, PenColor(level, family));
        }
    }
    return true;
}

void Pelluna_C3::Destruct() {
    DeletePens();
}

void Pelluna_C3::DeletePens() {
    for (auto& levelPens : m_hPens) {
        for (Hgdiobj& pen : levelPens) {
            if (pen != 0) m_gdi.DeleteObject(pen);
            pen = 0;
        }
    }
}

void Pelluna_C3::Tick(std::int32_t nElapsedMs) {
    // Only the transition mask reads the total; it stops at the type's limits instead of overflowing.
    m_nTotalMs = ClampToInt32(std::int64_t{m_nTotalMs} + nElapsedMs);

    const auto dt = static_cast<float>(nElapsedMs * 0.001);
    const float grow = dt * m_sngGrowSpeed;
    const float dx = dt * m_sngFallX;
    const float dy = dt * m_sngFallY;

    m_random.Reseed(m_clock.SecondsSinceMidnight());

    const int count = DropsInUse();
    for (int i = 0; i < count; ++i) {
        Drop& drop = m_Drops[i];
        if (drop.nState == 0) {
            if (drop.sngY < drop.sngLandOrRadius) {
                drop.sngX += dx;
                drop.sngY += dy;
            } else {
                // The ripple starts where the drop was one step before it passed its landing height.
                drop.nState = 1;
                drop.sngX -= dx;
                drop.sngY -= dy;
                drop.sngLandOrRadius = m_random.Next() * 5.0f * m_sngScale + 1.0f;
            }
        } else {
            drop.sngLandOrRadius += grow;
            if (RippleEnds(drop.sngLandOrRadius)) ResetDrop(drop);
        }
    }
}

bool Pelluna_C3::RipplesCanShow() const {
    // Without a positive maximum the ring level has no meaning (or divides by zero); without a positive,
    // finite speed a ripple never reaches its end and the same rings would stay on screen for good.
    return m_sngMaxRadius > 0.0f && m_sngGrowSpeed > 0.0f && std::isfinite(m_sngGrowSpeed);
}

bool Pelluna_C3::RippleEnds(float radius) const {
    // Beyond the maximum, equal is not enough. A ripple that cannot show, or whose radius is no finite
    // number, draws nothing and ends at once.
    return !RipplesCanShow() || !(radius <= m_sngMaxRadius) || !std::isfinite(radius);
}

void Pelluna_C3::EraseBackground(Hdc hDrawDC) {
    m_gdi.SelectObject(hDrawDC, m_gdi.GetStockObject(win::BLACK_PEN));
    m_gdi.SelectObject(hDrawDC, m_gdi.GetStockObject(win::BLACK_BRUSH));
    m_gdi.Rectangle(hDrawDC, 0, 0, m_nWidth, m_nHeight);
}

void Pelluna_C3::DrawCurrentFrame(Hdc hDC) {
    m_gdi.SelectObject(hDC, m_gdi.GetStockObject(win::NULL_BRUSH));
    const double ringLimit = 700.0f * m_sngScale;
    const int count = DropsInUse();
    for (int i = 1; i <= count; ++i) {
        const Drop& drop = m_Drops[i - 1];
        if (drop.nState == 1) DrawRipple(hDC, drop, i % kFamilies, ringLimit);
    }
}

void Pelluna_C3::DrawRipple(Hdc hDC, const Drop& drop, int family, double ringLimit) {
    if (!RipplesCanShow()) return;
    const std::optional<std::int32_t> radius = numbers::RoundToInt32(drop.sngLandOrRadius);
    if (!radius) return;
    std::int32_t r = *radius;

    const float spread = m_random.Next() * 5.0f + 5.0f;
    const std::optional<std::int32_t> level =
        numbers::RoundToInt32((1.0 - r / static_cast<double>(m_sngMaxRadius)) * spread + 5.0);
    if (!level) return;
    // With r >= 1 and a positive maximum the level stays below 15.5; the bound guards the pen table.
    std::int32_t j = std::min(*level, kLevels - 1);

    const double x = drop.sngX;
    const double y = drop.sngY;
    while (r >= 1 && j >= 1) {
        if (r < ringLimit) {
            const auto left = numbers::RoundToInt32(x - 2.0 * r);
            const auto top = numbers::RoundToInt32(y - r);
            const auto right = numbers::RoundToInt32(x + 2.0 * r);
            const auto bottom = numbers::RoundToInt32(y + r);
            // A drop whose position left the integer range has nothing visible to draw, and neither has a
            // ring wider than that range (its width would overflow wherever it is measured).
            if (left && top && right && bottom &&
                std::int64_t{*right} - *left <= std::numeric_limits<std::int32_t>::max()) {
                m_gdi.SelectObject(hDC, m_hPens[j][family]);
                m_gdi.Ellipse(hDC, *left, *top, *right, *bottom);
            }
            --j;
        }
        --j;
        r = static_cast<std::int32_t>(std::int64_t{r} * 5 / 8);
    }
}

bool Pelluna_C3::DrawTransitionMask(Hdc hDrawDC) {
    if (m_nTotalMs > kTransitionMs) return false;
    if (!m_bMaskCleared) {
        m_gdi.SelectObject(hDrawDC, m_gdi.GetStockObject(win::WHITE_PEN));
        m_gdi.SelectObject(hDrawDC, m_gdi.GetStockObject(win::WHITE_BRUSH));
        m_gdi.Rectangle(hDrawDC, 0, 0, m_nWidth, m_nHeight);
        m_bMaskCleared = true;
    }
    // The products stay in 64 bits: a total driven far below zero must not overflow them.
    const std::int32_t twiceTotal = ClampToInt32(std::int64_t{m_nTotalMs} * 2);
    const std::int64_t a = m_kernel.MulDiv(m_nWidth, twiceTotal, 15000);
    const std::int64_t left = m_nWidth / 2 - a;
    const std::int64_t right = m_nWidth - left;
    const std::int64_t b = m_kernel.MulDiv(m_nHeight, twiceTotal, 15000);
    const std::int64_t top = m_nHeight / 2 - b;
    const std::int64_t bottom = m_nHeight - top;

    m_gdi.SelectObject(hDrawDC, m_gdi.GetStockObject(win::BLACK_BRUSH));
    // A huge picture late in the transition, or a total driven below zero, reaches beyond the picture by
    // more than the coordinates can span.
    m_gdi.Ellipse(hDrawDC, ClampToHalfRange(left), ClampToHalfRange(top), ClampToHalfRange(right),
                  ClampToHalfRange(bottom));
    return true;
}

}  // namespace pelluna
