// Uniform random numbers in [0, 1) for the effects, re-seeded from the clock without restarting.
#pragma once

#include <cstdint>

namespace pelluna {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // Mixes a clock reading into the generator. The same reading twice must not restart a sequence:
    // hundreds of frames share one clock second.
    virtual void Reseed(double clockValue) = 0;
    // The next uniform value in [0, 1).
    virtual float Next() = 0;
};

// A small 64-bit generator (a Weyl sequence through a bijective mixer); allocation-free and fast.
class DefaultRandom final : public RandomSource {
  public:
    explicit DefaultRandom(std::uint64_t state = 0x853C49E6748FEA9BULL) : m_state(state) {}

    void Reseed(double clockValue) override;
    float Next() override {
        m_state += kGolden;
        // The top 24 bits give every float of the form k / 2^24, all below 1.
        return static_cast<float>(Mix(m_state) >> 40) * 0x1p-24f;
    }

  private:
    static constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;
    static std::uint64_t Mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint64_t m_state;
};

}  // namespace pelluna
