// Test access to the ripple effect's drop table, to place drops in known states.
#pragma once

#include "effect/Pelluna_C3.h"

namespace pelluna {

struct Pelluna_C3Peer {
    static void SetDrop(Pelluna_C3& effect, int number, std::int32_t state, float x, float y, float value) {
        effect.m_Drops[number - 1] = Pelluna_C3::Drop{state, x, y, value};
    }
};

}  // namespace pelluna
