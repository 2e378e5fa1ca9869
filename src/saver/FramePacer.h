// When the saver's next frame is due: one frame per refresh of the fastest monitor, on an exact grid.
#pragma once

#include <cstdint>
#include <vector>

namespace pelluna {

class FramePacer {
  public:
    static constexpr std::uint32_t kDefaultRate = 60;
    static constexpr std::uint32_t kMaxRate = 240;

    // The rate to draw at, from each monitor's reported refresh rate in hertz: the fastest usable one (0
    // and 1 stand for "the hardware's default", which tells nothing), 60 when none is usable, at most 240.
    static std::uint32_t RateFor(const std::vector<std::uint32_t>& rates);

    // Frames are due rate times a second from now on, the first at once.
    void Start(std::uint32_t now, std::uint32_t rate);
    // Milliseconds from now until the next frame is due; 0 once it is.
    std::uint32_t MsUntilDue(std::uint32_t now) const;
    // The due frame was drawn at now: the next one is due at the next point of the grid, or, when a late
    // frame has reached or passed that point, at the first one after now (a late frame never makes the
    // next rush).
    void FrameDrawn(std::uint32_t now);
    // The compositor has just shown a frame: the grid moves onto its beat, and a frame is due at once. A
    // compositor wait that came back within half a period of the last frame waited for nothing and is
    // ignored.
    void CompositorFrame(std::uint32_t now);

  private:
    // Point index_ of the grid: whole milliseconds after origin_, rounded down, so that a 16.67 ms period
    // stays one and does not become a steady 16 or 17.
    std::uint32_t Deadline() const { return origin_ + index_ * 1000 / rate_; }

    std::uint32_t origin_ = 0;  // timeGetTime milliseconds; moves on by whole seconds to stay near now
    std::uint32_t index_ = 0;   // below rate_
    std::uint32_t rate_ = kDefaultRate;
    std::uint32_t lastDrawn_ = 0;  // when the last frame was drawn
};

}  // namespace pelluna
