// The real saver window and frame loop told that the console display went off, then on again.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "FakePlatform.h"
#include "FakeWindowHosts.h"
#include "platform/win32/Win32Ports.h"
#include "windows/SaverWindow.h"

namespace pelluna::win32 {
namespace {

void SendDisplayState(HWND window, DWORD state) {
    alignas(POWERBROADCAST_SETTING) unsigned char bytes[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)]{};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes);
    setting->PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
    setting->DataLength = sizeof(DWORD);
    std::memcpy(bytes + offsetof(POWERBROADCAST_SETTING, Data), &state, sizeof(state));
    ::SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
}

// From a timer of the saver's thread: the display off, on 2 s later, and the window closed one refresh
// after that; the frames drawn so far at each step.
struct Script {
    testing::CallLog log;  // the effect's calls
    std::size_t drawn[3] = {};
    int step = 0;
    static void CALLBACK Next(HWND window, UINT, UINT_PTR self, DWORD) {
        auto& script = *reinterpret_cast<Script*>(self);
        script.drawn[script.step] = script.log.CallsTo("Effect.DrawCurrentFrame").size();
        if (script.step == 2) ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (script.step < 2) {
            SendDisplayState(window, script.step);  // 0: off, 1: on
            ::SetTimer(window, self, script.step == 0 ? 2000 : 1000 / 60, &Next);
        }
        ++script.step;
    }
};

TEST(SaverDisplayWin, NoFrameWhileTheDisplayIsOffThenFramesWithinARefreshAndASmallStep) {
    testing::ResetProcessValues();
    Win32Platform real;
    Script script;
    testing::FakeKernel kernel(script.log);  // the end of the run comes back to the test
    SaverWindow window(::GetModuleHandleW(nullptr), real.text);
    Pelluna_BGM bgm(real.mci, real.text);
    Pelluna_S saver({real.user, real.gdi, kernel, real.text, real.clock, real.mci}, window, bgm, L'\0',
                    [&] { return std::make_unique<testing::RecordingEffect>(script.log); });
    window.Attach(saver);
    ::SetTimer(reinterpret_cast<HWND>(window.hWnd()), reinterpret_cast<UINT_PTR>(&script), 300,
               &Script::Next);
    EXPECT_THROW(saver.Load(), testing::ProcessExit);
    EXPECT_GT(script.drawn[0], 5u);
    EXPECT_EQ(script.drawn[1], script.drawn[0]);
    EXPECT_GE(script.drawn[2], script.drawn[1] + 1);
    // The first step after the display came on: the 2 s it was off never reach the effect.
    EXPECT_LE(std::stoi(script.log.CallsTo("Effect.Tick")[script.drawn[1]].substr(12)), 17);
}

}  // namespace
}  // namespace pelluna::win32
