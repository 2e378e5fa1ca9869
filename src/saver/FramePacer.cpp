// When the saver's next frame is due: each frame lasts whole refreshes of the fastest monitor, the most that
// keep 60 frames a second, more where the desk calls for fewer frames, on an exact grid.
#include "saver/FramePacer.h"

#include <algorithm>

namespace pelluna {

std::uint32_t FramePacer::RefreshRateFor(const std::vector<std::uint32_t>& rates) {
    std::uint32_t fastest = 0;
    for (const std::uint32_t rate : rates) {
        if (rate > 1) fastest = std::max(fastest, rate);
    }
    return fastest == 0 ? kDefaultRefreshRate : std::min(fastest, kMaxRefreshRate);
}

std::uint32_t FramePacer::RefreshesPerFrame() const {
    const Conditions& c = conditions_;
    const std::uint32_t onMains = std::max<std::uint32_t>(refreshRate_ / kLeastFrameRate, 1);
    std::uint32_t most = kMaxRefreshRate;  // no limit
    if (c.onBattery || c.batterySaver || c.energySaver) most = kMaxFrameRateSavingPower;
    if (c.remoteSession) most = std::min(most, kMaxFrameRateRemote);
    return std::max(onMains, (refreshRate_ + most - 1) / most);
}

void FramePacer::Start(std::uint32_t now, std::uint32_t refreshRate) {
    refreshRate_ = std::clamp<std::uint32_t>(refreshRate, 1, kMaxRefreshRate);
    refreshes_ = RefreshesPerFrame();
    origin_ = now;
    last_ = 0;
    due_ = 0;
    lastDrawn_ = now;
}

void FramePacer::SetConditions(const Conditions& conditions) {
    conditions_ = conditions;
    const std::uint32_t refreshes = RefreshesPerFrame();
    if (due_ == last_ + refreshes_) due_ = last_ + refreshes;
    refreshes_ = refreshes;
}

std::uint32_t FramePacer::MsUntilDue(std::uint32_t now) const {
    // Differences of the wrapping millisecond counter, read as signed: the grid stays near now.
    const auto ahead = static_cast<std::int32_t>(Deadline(due_) - now);
    return ahead > 0 ? static_cast<std::uint32_t>(ahead) : 0;
}

void FramePacer::FrameDrawn(std::uint32_t now) {
    lastDrawn_ = now;
    // The first refresh after now: the grid stays near now, so the difference does not wrap.
    const auto after = static_cast<std::int64_t>(
        ((static_cast<std::uint64_t>(now - origin_) + 1) * refreshRate_ + 999) / 1000);
    // The frame holds its point, or, drawn before it (the pace slowed down while it was drawn), its refresh.
    last_ = std::min(due_, after - 1);
    due_ = last_ + refreshes_;
    if (due_ < after) {
        // Late: the frames whose points have passed, and one that falls on now, are left out, not drawn in a
        // hurry; the next is the first frame after now.
        due_ += (after - due_ + refreshes_ - 1) / refreshes_ * refreshes_;
        last_ = due_ - refreshes_;
    }
    // Whole seconds move the origin on, to stay near now.
    const std::int64_t seconds = last_ / refreshRate_;
    origin_ += static_cast<std::uint32_t>(seconds * 1000);
    last_ -= seconds * refreshRate_;
    due_ -= seconds * refreshRate_;
}

void FramePacer::CompositorFrame(std::uint32_t now) {
    if (static_cast<std::uint64_t>(now - lastDrawn_) * refreshRate_ * 2 < 1000) return;
    origin_ = now;
    last_ = -1;
    due_ = refreshes_ - 1;
}

}  // namespace pelluna
