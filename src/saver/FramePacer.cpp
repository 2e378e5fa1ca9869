// When the saver's next frame is due: one frame per refresh of the fastest monitor, on an exact grid.
#include "saver/FramePacer.h"

#include <algorithm>

namespace pelluna {

std::uint32_t FramePacer::RateFor(const std::vector<std::uint32_t>& rates) {
    std::uint32_t fastest = 0;
    for (const std::uint32_t rate : rates) {
        if (rate > 1) fastest = std::max(fastest, rate);
    }
    return fastest == 0 ? kDefaultRate : std::min(fastest, kMaxRate);
}

void FramePacer::Start(std::uint32_t now, std::uint32_t rate) {
    rate_ = std::clamp<std::uint32_t>(rate, 1, kMaxRate);
    origin_ = now;
    index_ = 0;
    lastDrawn_ = now;
}

std::uint32_t FramePacer::MsUntilDue(std::uint32_t now) const {
    // Differences of the wrapping millisecond counter, read as signed: the grid stays near now.
    const auto ahead = static_cast<std::int32_t>(Deadline() - now);
    return ahead > 0 ? static_cast<std::uint32_t>(ahead) : 0;
}

void FramePacer::FrameDrawn(std::uint32_t now) {
    lastDrawn_ = now;
    ++index_;
    if (static_cast<std::int32_t>(now - Deadline()) >= 0) {
        // Late: the points already passed, and one that falls on now, are left out, not drawn in a hurry;
        // the next is the first point after now.
        index_ = static_cast<std::uint32_t>(((static_cast<std::uint64_t>(now - origin_) + 1) * rate_ + 999) /
                                            1000);
    }
    origin_ += index_ / rate_ * 1000;
    index_ %= rate_;
}

void FramePacer::CompositorFrame(std::uint32_t now) {
    if (static_cast<std::uint64_t>(now - lastDrawn_) * rate_ * 2 < 1000) return;
    origin_ = now;
    index_ = 0;
}

}  // namespace pelluna
