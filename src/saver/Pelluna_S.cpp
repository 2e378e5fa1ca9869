// The full-screen saver window: its load handler runs the whole saver run, its input handlers end it.
#include "saver/Pelluna_S.h"

#include <algorithm>
#include <limits>

#include "common/TextRules.h"
#include "music/MusicValues.h"
#include "saver/SaverMode.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

constexpr std::uint32_t kTimerResolutionMs = 2;
// QS_ALLINPUT as Windows 7 knows it: its wait refuses the touch and pointer bits that newer headers add.
constexpr std::uint32_t kAllInputOfWindows7 = win::QS_ALLINPUT & ~(win::QS_TOUCH | win::QS_POINTER);
// How long the loop sleeps between passes over the messages while its waits keep failing.
constexpr std::uint32_t kFailedWaitSleepMs = 10;
constexpr std::uint32_t kTopmostFlags = win::SWP_NOSIZE | win::SWP_NOMOVE | win::SWP_NOACTIVATE;

// The music file's kind by its last three characters, upper-cased ("MP3", "WAV", anything else).
std::wstring MusicFileEnding() {
    return UpperAscii(LastChars(gBgmFile, 3));
}

}  // namespace

Pelluna_S::Pelluna_S(const Platform& platform, SaverHost& host, Pelluna_BGM& bgm, wchar_t modeLetter,
                     EffectFactory makeEffect)
    : platform_(platform),
      host_(host),
      bgm_(bgm),
      modeLetter_(modeLetter),
      makeEffect_(std::move(makeEffect)) {}

std::int32_t Pelluna_S::ElapsedMs(std::uint32_t last, std::uint32_t now) {
    // Unsigned subtraction is exact across the wrap at 2^32; a pause longer than 24 days is capped.
    const std::uint32_t elapsed = now - last;
    constexpr auto kMax = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(elapsed > kMax ? kMax : elapsed);
}

void Pelluna_S::Load() {
    std::unique_ptr<Pelluna_C2> firstEffect = makeEffect_();
    StartMusic();
    SessionChange();

    host_.SetWindowStateNormal();
    CoverMonitors();

    // Without a window, or with an effect that cannot start, nothing could ever stop the run: end it
    // instead of leaving an invisible process with the cursor hidden.
    if (host_.hWnd() == 0 || !MakeViews(std::move(firstEffect))) EndSaver();

    m_Running = true;
    host_.Show();
    gApiResult =
        platform_.user.SetWindowPos(host_.hWnd(), win::HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags) ? 1 : 0;
    host_.SetFocus();

    RunFrameLoop();

    // Only a close request from outside gets here (Windows sends one at unlock and log-off): the music
    // and the system's saver state are put back as a key press would.
    RestoreSystemState();
    DestructEffects();
    host_.Unload();
    platform_.kernel.ExitProcess(0);
}

int Pelluna_S::CollectMonitor(Hmonitor hMonitor, Hdc /*hdcMonitor*/, Rect* /*lprcMonitor*/,
                              std::intptr_t dwData) {
    reinterpret_cast<Pelluna_S*>(dwData)->m_Monitors.push_back(hMonitor);
    return 1;
}

void Pelluna_S::CoverMonitors() {
    User& user = platform_.user;
    m_Monitors.clear();
    user.EnumDisplayMonitors(0, nullptr, &Pelluna_S::CollectMonitor, reinterpret_cast<std::intptr_t>(this));
    m_Areas.clear();
    std::vector<std::uint32_t> rates;
    for (const Hmonitor monitor : m_Monitors) {
        MonitorInfoEx info;
        if (!user.GetMonitorInfoW(monitor, info)) continue;
        const bool primary = (info.dwFlags & win::MONITORINFOF_PRIMARY) != 0;
        m_Areas.insert(primary ? m_Areas.begin() : m_Areas.end(), info.rcMonitor);
        DisplayMode mode;
        const bool known = user.EnumDisplaySettingsW(info.szDevice.c_str(), win::ENUM_CURRENT_SETTINGS, mode);
        rates.push_back(known ? mode.dmDisplayFrequency : 0);
    }
    m_RefreshRate = FramePacer::RefreshRateFor(rates);

    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    if (m_Areas.size() <= 1) {
        // One monitor (or none reported): the primary screen, exactly as on a desk that has no other.
        const int screenWidth = user.GetSystemMetrics(win::SM_CXSCREEN);
        const int screenHeight = user.GetSystemMetrics(win::SM_CYSCREEN);
        host_.Move(0, 0, screenWidth, screenHeight);
        host_.ClientSize(nWidth, nHeight);
        m_Areas.assign(1, Rect{0, 0, nWidth, nHeight});
        return;
    }

    const int left = user.GetSystemMetrics(win::SM_XVIRTUALSCREEN);
    const int top = user.GetSystemMetrics(win::SM_YVIRTUALSCREEN);
    const int width = user.GetSystemMetrics(win::SM_CXVIRTUALSCREEN);
    const int height = user.GetSystemMetrics(win::SM_CYVIRTUALSCREEN);
    host_.Move(left, top, width, height);
    host_.ClientSize(nWidth, nHeight);
    // Client coordinates start at the virtual screen's corner, which lies left of or above the primary
    // monitor's (0, 0) when a monitor does. An area is kept within the window as it was made.
    for (Rect& area : m_Areas) {
        area = Rect{std::max(area.left - left, 0), std::max(area.top - top, 0),
                    std::min(area.right - left, nWidth), std::min(area.bottom - top, nHeight)};
    }
    std::erase_if(m_Areas,
                  [](const Rect& area) { return area.right <= area.left || area.bottom <= area.top; });
}

bool Pelluna_S::MakeViews(std::unique_ptr<Pelluna_C2> firstEffect) {
    m_Views.reserve(m_Areas.size());
    for (const Rect& area : m_Areas) {
        const std::int32_t nWidth = area.right - area.left;
        const std::int32_t nHeight = area.bottom - area.top;
        MonitorView view{area, firstEffect ? std::move(firstEffect) : makeEffect_(), nullptr};
        if (!view.m_Effect->Construct(nWidth, nHeight, m_UseTransition)) return false;
        view.m_BackBuffer = std::make_unique<Pelluna_C1>(platform_.user, platform_.gdi);
        view.m_BackBuffer->CreateBlank(nWidth, nHeight, false);
        m_Views.push_back(std::move(view));
    }
    return true;
}

void Pelluna_S::DestructEffects() {
    for (MonitorView& view : m_Views) view.m_Effect->Destruct();
}

void Pelluna_S::CoverNewLayout() {
    m_LayoutChanged = false;
    // Every old effect frees its pens, and every old surface its bitmap, before a new one is made.
    DestructEffects();
    m_Views.clear();
    CoverMonitors();
    if (!MakeViews(makeEffect_())) EndSaver();
}

void Pelluna_S::StartMusic() {
    if (gBgmKind == bgm_kind::AudioCd) {
        bgm_.OpenCdAudio();
        host_.SetTimerEnabled(SaverTimer::Timer2, true);
    } else if (gBgmKind == bgm_kind::MusicFile) {
        const std::wstring ending = MusicFileEnding();
        if (ending == L"WAV") bgm_.StartWav();
        if (ending == L"MP3") {
            bgm_.StartMp3();
            host_.SetTimerEnabled(SaverTimer::Timer1, true);
        }
    }
}

void Pelluna_S::RunFrameLoop() {
    Clock& clock = platform_.clock;
    HoldTimerResolution(true);
    bool composing = false;
    clock.DwmIsCompositionEnabled(composing);
    std::uint32_t last = clock.timeGetTime();
    m_Pacer.Start(last, m_RefreshRate);
    while (m_Running) {
        const bool newLayout = m_LayoutChanged;
        if (newLayout) CoverNewLayout();
        for (MonitorView& view : m_Views) view.m_Effect->EraseBackground(view.m_BackBuffer->hDC());
        host_.DoEvents();
        // A frame begun as the display went off is not finished: nobody would see it.
        if (!m_DisplayOff) {
            const std::uint32_t now = clock.timeGetTime();
            const std::int32_t nElapsedMs = ElapsedMs(last, now);
            for (MonitorView& view : m_Views) view.m_Effect->Tick(nElapsedMs);
            last = now;
            for (MonitorView& view : m_Views) view.m_Effect->DrawCurrentFrame(view.m_BackBuffer->hDC());
            // One transfer a monitor: the parts of the window that lie on no monitor keep the window's black.
            const Hdc window = host_.hDC();
            for (MonitorView& view : m_Views) {
                view.m_BackBuffer->QuickBlitAt(window, view.area.left, view.area.top, win::SRCCOPY);
            }
            // A new layout brings its own rate: its grid starts with its first frame.
            if (newLayout) m_Pacer.Start(now, m_RefreshRate);
            m_Pacer.FrameDrawn(now);
        }
        WaitForNextFrame(last, composing);
    }
    HoldTimerResolution(false);
}

void Pelluna_S::HoldTimerResolution(bool hold) {
    if (hold == m_HoldsTimerResolution) return;
    m_HoldsTimerResolution = hold;
    if (hold) {
        platform_.clock.timeBeginPeriod(kTimerResolutionMs);
    } else {
        platform_.clock.timeEndPeriod(kTimerResolutionMs);
    }
}

void Pelluna_S::WaitForNextFrame(std::uint32_t& last, bool composing) {
    Clock& clock = platform_.clock;
    if (!m_Running) return;
    // Where the desktop is composed, its own frame is the best beat; the timed wait below still holds
    // when the compositor's wait comes back at once.
    if (composing && !m_DisplayOff && clock.DwmFlush() == 0) m_Pacer.CompositorFrame(clock.timeGetTime());
    bool wasOff = m_DisplayOff;
    int failedWaits = 0;  // in a row
    while (m_Running) {
        const std::uint32_t now = clock.timeGetTime();
        if (wasOff && !m_DisplayOff) {
            // The time the display was off never reaches the effect: the rain goes on where it stopped. A
            // step of minutes would end every ring at once and land the falling drops far off the screen.
            last = now;
            HoldTimerResolution(true);
            m_Pacer.Start(now, m_RefreshRate);
            return;
        }
        wasOff = wasOff || m_DisplayOff;
        // Nothing is timed while the display is off: the system's timer goes back to its own pace.
        if (m_DisplayOff) HoldTimerResolution(false);
        const std::uint32_t wait = m_DisplayOff ? win::INFINITE : m_Pacer.MsUntilDue(now);
        if (wait == 0) return;
        // Wakes at once for input, timers and close requests, as for messages already waiting.
        const std::uint32_t woken = platform_.user.MsgWaitForMultipleObjectsEx(
            0, nullptr, wait, kAllInputOfWindows7, win::MWMO_INPUTAVAILABLE);
        // A wait that keeps failing comes back at once: the loop sleeps a little between passes instead of
        // spinning, and handles the messages after each, so that input still ends the saver.
        failedWaits = woken == win::WAIT_FAILED ? failedWaits + 1 : 0;
        if (failedWaits > 1) platform_.kernel.Sleep(std::min(wait, kFailedWaitSleepMs));
        if (woken != win::WAIT_TIMEOUT) host_.DoEvents();
    }
}

void Pelluna_S::Click() {
    EndSaver();
}

void Pelluna_S::KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
    // The arrows change tracks only while the watch has a disc playing: without a drive, a disc or an open
    // device (and before the first pass has started the disc) they end the saver like any key.
    const bool cdPlays = gBgmKind == bgm_kind::AudioCd && gCdWatchActive;
    if (cdPlays && KeyCode == win::VK_LEFT) {
        bgm_.PlayPreviousTrack();
    } else if (cdPlays && KeyCode == win::VK_RIGHT) {
        bgm_.PlayNextTrack();
    } else {
        EndSaver();
    }
}

void Pelluna_S::QueryUnload(std::int16_t& Cancel) {
    if (!m_Running) return;
    Cancel = -1;
    m_Running = false;
}

void Pelluna_S::Timer1Tick() {
    bgm_.KeepMp3Playing();
}

void Pelluna_S::Timer2Tick() {
    bgm_.WatchCdAudio();
    // Arming a running timer again restarts its countdown: touch it only when the watch's state changes.
    if (host_.TimerEnabled(SaverTimer::Timer2) != gCdWatchActive) {
        host_.SetTimerEnabled(SaverTimer::Timer2, gCdWatchActive);
    }
}

void Pelluna_S::DisplayChange() {
    m_LayoutChanged = true;
}

void Pelluna_S::DisplayState(std::uint32_t state) {
    m_SessionDisplayKnown = true;
    m_DisplayOff = state == 0;
}

void Pelluna_S::ConsoleDisplayState(std::uint32_t state) {
    if (!m_SessionDisplayKnown) m_DisplayOff = state == 0;
}

void Pelluna_S::PowerSource(std::uint32_t condition) {
    m_Conditions.onBattery = condition != win::PoAc;
    m_Pacer.SetConditions(m_Conditions);
}

void Pelluna_S::BatterySaver(std::uint32_t status) {
    m_Conditions.batterySaver = status != 0;
    m_Pacer.SetConditions(m_Conditions);
}

void Pelluna_S::EnergySaver(std::uint32_t status) {
    m_Conditions.energySaver = status != win::ENERGY_SAVER_OFF;
    m_Pacer.SetConditions(m_Conditions);
}

void Pelluna_S::SessionChange() {
    m_Conditions.remoteSession = platform_.user.GetSystemMetrics(win::SM_REMOTESESSION) != 0;
    m_Pacer.SetConditions(m_Conditions);
}

void Pelluna_S::EndSaver() {
    RestoreSystemState();
    platform_.kernel.ExitProcess(0);
}

void Pelluna_S::RestoreSystemState() {
    HoldTimerResolution(false);
    if (host_.TimerEnabled(SaverTimer::Timer2)) {
        host_.SetTimerEnabled(SaverTimer::Timer2, false);
        bgm_.CloseCdAudio();
    }
    if (gBgmKind == bgm_kind::MusicFile) {
        const std::wstring ending = MusicFileEnding();
        if (ending == L"WAV") bgm_.StopWav();
        if (ending == L"MP3") bgm_.StopMp3();
    }
    if (modeLetter_ == L'S') {
        EnableSystemKeys(platform_.user, -1);
        gCursorCount = platform_.user.ShowCursor(gCursorCount);
    }
    platform_.user.SystemParametersInfoA(win::SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);
}

}  // namespace pelluna
