// How a fixed piece of work's CPU time grows with the rest before it on this machine: the memory traffic
// of one saver frame (an 8 MB fill and two 8 MB copies) back to back and after sleeps of one frame period.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

namespace {

double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

int main() {
    constexpr std::size_t kFrameBytes = 1920 * 1080 * 4;
    constexpr int kRounds = 200;
    std::vector<char> backBuffer(kFrameBytes), windowSurface(kFrameBytes), screen(kFrameBytes);
    for (const int restUs : {0, 4167, 8333, 16667}) {
        const double start = CpuMs();
        for (int round = 0; round < kRounds; ++round) {
            std::memset(backBuffer.data(), round, kFrameBytes);
            std::memcpy(windowSurface.data(), backBuffer.data(), kFrameBytes);
            std::memcpy(screen.data(), windowSurface.data(), kFrameBytes);
            if (restUs > 0) std::this_thread::sleep_for(std::chrono::microseconds(restUs));
        }
        std::printf("rest %5d us: %.3f ms CPU a frame's memory traffic\n", restUs,
                    (CpuMs() - start) / kRounds);
    }
}
