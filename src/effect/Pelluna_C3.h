// The raindrop ripple effect: unseen drops land on black and spread rings of coloured ellipses.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "effect/Pelluna_C2.h"
#include "effect/RandomSource.h"
#include "platform/Clock.h"
#include "platform/Gdi.h"
#include "platform/Kernel.h"

namespace pelluna {

class Pelluna_C3 final : public Pelluna_C2 {
  public:
    struct Drop {
        std::int32_t nState = 0;  // 0 falling, 1 rippling
        float sngX = 0.0f;
        float sngY = 0.0f;             // negative while above the picture
        float sngLandOrRadius = 0.0f;  // landing height while falling, outer ring's radius while rippling
    };
    static constexpr int kMaxDrops = 100;
    static constexpr int kLevels = 16;
    static constexpr int kFamilies = 6;  // red, green, blue, yellow, cyan, magenta

    Pelluna_C3(Gdi& gdi, Kernel& kernel, Clock& clock, RandomSource& random);
    // The same with a generator of its own.
    Pelluna_C3(Gdi& gdi, Kernel& kernel, Clock& clock);
    ~Pelluna_C3() override;
    Pelluna_C3(const Pelluna_C3&) = delete;
    Pelluna_C3& operator=(const Pelluna_C3&) = delete;

    bool Construct(std::int32_t nWidth, std::int32_t nHeight, bool& bUseTransition) override;
    void Destruct() override;
    void Tick(std::int32_t nElapsedMs) override;
    bool DrawTransitionMask(Hdc hDrawDC) override;
    void EraseBackground(Hdc hDrawDC) override;
    void DrawCurrentFrame(Hdc hDC) override;

    // Read-only views of the simulation, for whoever needs to look inside (tests, diagnostics).
    std::span<const Drop, kMaxDrops> Drops() const { return m_Drops; }
    float Scale() const { return m_sngScale; }
    float MaxRadius() const { return m_sngMaxRadius; }
    float GrowSpeed() const { return m_sngGrowSpeed; }
    float FallX() const { return m_sngFallX; }
    float FallY() const { return m_sngFallY; }
    std::int32_t TotalMs() const { return m_nTotalMs; }

  private:
    friend struct Pelluna_C3Peer;  // lets tests place drops in known states

    static int DropsInUse();
    void ResetDrop(Drop& drop);
    bool RipplesCanShow() const;
    bool RippleEnds(float radius) const;
    void DrawRipple(Hdc hDC, const Drop& drop, int family, double ringLimit);
    void DeletePens();

    Gdi& m_gdi;
    Kernel& m_kernel;
    Clock& m_clock;
    DefaultRandom m_ownRandom;
    RandomSource& m_random;

    std::int32_t m_nTotalMs = 0;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nHeight = 0;
    std::array<Drop, kMaxDrops> m_Drops{};
    float m_sngScale = 0.0f;
    float m_sngFallX = 0.0f;
    float m_sngFallY = 0.0f;
    float m_sngGrowSpeed = 0.0f;
    float m_sngMaxRadius = 0.0f;
    Hgdiobj m_hPens[kLevels][kFamilies] = {};
    bool m_bMaskCleared = false;
};

}  // namespace pelluna
