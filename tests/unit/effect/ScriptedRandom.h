// A random source for tests: answers scripted values in order and records every clock reading it gets.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "effect/RandomSource.h"

namespace pelluna::testing {

class ScriptedRandom final : public RandomSource {
  public:
    std::vector<float> values;    // answered in order
    float whenExhausted = 0.0f;   // answered once the script has run out
    std::vector<double> reseeds;  // every clock reading folded in, in order
    std::size_t drawn = 0;        // how many values were asked for
    std::string events;           // "R" for each reseed, "N" for each value, in the order they came

    void Reseed(double clockValue) override {
        reseeds.push_back(clockValue);
        events += 'R';
    }
    float Next() override {
        events += 'N';
        const float value = drawn < values.size() ? values[drawn] : whenExhausted;
        ++drawn;
        return value;
    }
};

}  // namespace pelluna::testing
