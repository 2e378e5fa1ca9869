// When the saver's next frame is due: each frame lasts whole refreshes of the fastest monitor, the most that
// keep 60 frames a second, more where the desk calls for fewer frames, on an exact grid.
#pragma once

#include <cstdint>
#include <vector>

namespace pelluna {

class FramePacer {
  public:
    static constexpr std::uint32_t kDefaultRefreshRate = 60;
    // No monitor refreshes faster; a larger figure is a driver's mistake.
    static constexpr std::uint32_t kMaxRefreshRate = 1000;
    // On mains a frame lasts the most whole refreshes that keep at least this many frames a second: a faster
    // monitor never shows fewer frames than a 60 Hz one, and never costs many more.
    static constexpr std::uint32_t kLeastFrameRate = 60;
    // The most frames a second on battery or while the system saves energy; in a remote session, where every
    // frame is encoded and sent over the network.
    static constexpr std::uint32_t kMaxFrameRateSavingPower = 30;
    static constexpr std::uint32_t kMaxFrameRateRemote = 20;

    // What calls for fewer frames; together, the lowest of their rates counts.
    struct Conditions {
        bool onBattery = false;  // the power source is not mains
        bool batterySaver = false;
        bool energySaver = false;
        bool remoteSession = false;
    };

    // The refresh rate to pace by, from each monitor's reported rate in hertz: the fastest usable one (0 and
    // 1 stand for "the hardware's default", which tells nothing), 60 when none is usable, at most 1000.
    static std::uint32_t RefreshRateFor(const std::vector<std::uint32_t>& rates);

    // Frames are due on the refreshes of refreshRate from now on, the first at once.
    void Start(std::uint32_t now, std::uint32_t refreshRate);
    // From the next frame on, frames last as many refreshes as the conditions allow: the next comes that many
    // refreshes after the last, so the grid stays on the refreshes.
    void SetConditions(const Conditions& conditions);
    // Milliseconds from now until the next frame is due; 0 once it is.
    std::uint32_t MsUntilDue(std::uint32_t now) const;
    // The due frame was drawn at now: the next one is due at the next point of the grid, or, when a late
    // frame has reached or passed that point, at the first one after now (a late frame never makes the
    // next rush).
    void FrameDrawn(std::uint32_t now);
    // The compositor has just shown the last frame: the grid moves onto its beat, and the next frame is due
    // a frame's refreshes but one later, to be shown a whole frame after it (at once when each refresh has
    // a frame). A compositor wait that came back within half a refresh of the last frame waited for
    // nothing and is ignored.
    void CompositorFrame(std::uint32_t now);

  private:
    // On mains the most refreshes a frame that keep the rate at or above 60 (at least one); with a condition
    // the fewest that keep it at or below the condition's most, when that is more.
    std::uint32_t RefreshesPerFrame() const;
    // Refresh number refresh of the grid: whole milliseconds after origin_, rounded down, so that a period
    // of 13.89 ms stays one and does not become a steady 13 or 14.
    std::uint32_t Deadline(std::int64_t refresh) const {
        return origin_ + static_cast<std::uint32_t>(refresh * 1000 / refreshRate_);
    }

    std::uint32_t origin_ = 0;  // timeGetTime milliseconds of refresh 0; moves on by whole seconds
    std::int64_t last_ = 0;     // the refresh of the last frame drawn (-1: the one before origin_)
    std::int64_t due_ = 0;      // the refresh of the next frame: last_ + refreshes_, or 0 before the first
    std::uint32_t refreshRate_ = kDefaultRefreshRate;
    std::uint32_t refreshes_ = 1;  // a frame lasts
    std::uint32_t lastDrawn_ = 0;  // when the last frame was drawn
    Conditions conditions_;
};

}  // namespace pelluna
