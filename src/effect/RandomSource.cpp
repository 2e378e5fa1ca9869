// Uniform random numbers in [0, 1) for the effects, re-seeded from the clock without restarting.
#include "effect/RandomSource.h"

#include <bit>

namespace pelluna {

void DefaultRandom::Reseed(double clockValue) {
    // Folding the reading into the present state through a non-linear mix keeps equal readings from
    // cancelling out or rewinding the sequence.
    const auto bits = std::bit_cast<std::uint64_t>(clockValue);
    m_state = Mix(m_state ^ Mix(bits + kGolden)) + kGolden;
}

}  // namespace pelluna
