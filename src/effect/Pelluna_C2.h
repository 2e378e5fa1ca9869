// The contract between the saver window and an animated effect.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pelluna {

// Each operation has an empty default; an effect overrides all six. The operations come first so that
// they hold the first six slots of the table, in this order.
class Pelluna_C2 {
  public:
    // Prepares the effect for an nWidth x nHeight picture; true when it is ready. bUseTransition says
    // whether the effect wants a transition from the desktop picture.
    virtual bool Construct(std::int32_t /*nWidth*/, std::int32_t /*nHeight*/, bool& /*bUseTransition*/) {
        return false;
    }
    // Frees every GDI object that Construct made.
    virtual void Destruct() {}
    // Advances the simulation by nElapsedMs milliseconds; draws nothing.
    virtual void Tick(std::int32_t /*nElapsedMs*/) {}
    // Draws the transition mask into a monochrome surface; true while the transition still runs.
    virtual bool DrawTransitionMask(Hdc /*hDC*/) { return false; }
    // Clears the frame surface to the effect's background.
    virtual void EraseBackground(Hdc /*hDC*/) {}
    // Draws the present state of the simulation over the background.
    virtual void DrawCurrentFrame(Hdc /*hDC*/) {}

    virtual ~Pelluna_C2() = default;
};

}  // namespace pelluna
