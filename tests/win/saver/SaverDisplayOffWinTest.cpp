// The real saver window and frame loop told that the console display, then the power source, changed.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "FakePlatform.h"
#include "FakeWindowHosts.h"
#include "platform/win32/Win32Ports.h"
#include "windows/SaverWindow.h"

namespace pelluna::win32 {
namespace {

void SendPowerSetting(HWND window, const GUID& guid, DWORD value) {
    alignas(POWERBROADCAST_SETTING) unsigned char bytes[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)]{};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes);
    setting->PowerSetting = guid;
    setting->DataLength = sizeof(DWORD);
    std::memcpy(bytes + offsetof(POWERBROADCAST_SETTING, Data), &value, sizeof(value));
    ::SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
}

// From a timer of the saver's thread, 300 ms in: at each step the setting's next value and the next step
// after its delay, and the window closed at the step after the last; the frames drawn so far at each step.
struct Script {
    const GUID& setting;
    std::vector<DWORD> values;
    std::vector<UINT> delaysMs;
    testing::CallLog log{};  // the effect's calls
    std::size_t drawn[4] = {};
    std::size_t step = 0;
    static void CALLBACK Next(HWND window, UINT, UINT_PTR self, DWORD) {
        auto& script = *reinterpret_cast<Script*>(self);
        script.drawn[script.step] = script.log.CallsTo("Effect.DrawCurrentFrame").size();
        if (script.step == script.values.size()) ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (script.step < script.values.size()) {
            SendPowerSetting(window, script.setting, script.values[script.step]);
            ::SetTimer(window, self, script.delaysMs[script.step], &Next);
        }
        ++script.step;
    }
};

void RunSaver(Script& script) {
    testing::ResetProcessValues();
    Win32Platform real;
    testing::FakeKernel kernel(script.log);  // the end of the run comes back to the test
    SaverWindow window(::GetModuleHandleW(nullptr), real.text);
    Pelluna_BGM bgm(real.mci, real.text);
    Pelluna_S saver({real.user, real.gdi, kernel, real.text, real.clock, real.mci}, window, bgm, L'\0',
                    [&] { return std::make_unique<testing::RecordingEffect>(script.log); });
    window.Attach(saver);
    ::SetTimer(reinterpret_cast<HWND>(window.hWnd()), reinterpret_cast<UINT_PTR>(&script), 300,
               &Script::Next);
    EXPECT_THROW(saver.Load(), testing::ProcessExit);
}

TEST(SaverDisplayWin, NoFrameWhileTheDisplayIsOffThenFramesWithinARefreshAndASmallStep) {
    Script script{
        GUID_SESSION_DISPLAY_STATUS, {0, 1}, {2000, 1000 / 60}};  // off, on 2 s on, closed 1 frame on
    RunSaver(script);
    EXPECT_GT(script.drawn[0], 5u);
    EXPECT_EQ(script.drawn[1], script.drawn[0]);
    EXPECT_GE(script.drawn[2], script.drawn[1] + 1);
    // The first step after the display came on: the 2 s it was off never reach the effect.
    EXPECT_LE(std::stoi(script.log.CallsTo("Effect.Tick")[script.drawn[1]].substr(12)), 17);
}

TEST(SaverDisplayWin, OnBatteryHalfTheFramesThenMainsBringsThemBack) {
    Script script{GUID_ACDC_POWER_SOURCE, {0, 1, 0}, {1000, 1000, 1000}};  // a second each: PoAc, PoDc, PoAc
    RunSaver(script);
    // 60, 30 and 60 frames a second here, where Wine reports no rate (give or take a timer's slack and load).
    EXPECT_NEAR(static_cast<double>(script.drawn[1] - script.drawn[0]), 60, 10);
    EXPECT_NEAR(static_cast<double>(script.drawn[2] - script.drawn[1]), 30, 3);
    EXPECT_NEAR(static_cast<double>(script.drawn[3] - script.drawn[2]), 60, 10);
}

}  // namespace
}  // namespace pelluna::win32
