// The full-screen saver window: its load handler runs the whole saver run, its input handlers end it.
#include "saver/Pelluna_S.h"

#include <limits>

#include "common/TextRules.h"
#include "music/MusicValues.h"
#include "settings/SettingsValues.h"
#include "startup/Main.h"

namespace pelluna {
namespace {

constexpr std::uint32_t kTimerResolutionMs = 2;
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
    m_Effect = makeEffect_();
    StartMusic();

    host_.SetWindowStateNormal();
    const int screenWidth = platform_.user.GetSystemMetrics(win::SM_CXSCREEN);
    const int screenHeight = platform_.user.GetSystemMetrics(win::SM_CYSCREEN);
    host_.Move(0, 0, screenWidth, screenHeight);
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    host_.ClientSize(nWidth, nHeight);

    // Without a window, or with an effect that cannot start, nothing could ever stop the run: end it
    // instead of leaving an invisible process with the cursor hidden.
    if (host_.hWnd() == 0 || !m_Effect->Construct(nWidth, nHeight, m_UseTransition)) EndSaver();

    m_BackBuffer = std::make_unique<Pelluna_C1>(platform_.user, platform_.gdi);
    m_BackBuffer->CreateBlank(nWidth, nHeight, false);
    m_Running = true;
    host_.Show();
    gApiResult =
        platform_.user.SetWindowPos(host_.hWnd(), win::HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags) ? 1 : 0;
    host_.SetFocus();

    RunFrameLoop();

    // Only a close request from outside gets here (Windows sends one at unlock and log-off): the music
    // and the system's saver state are put back as a key press would.
    RestoreSystemState();
    m_Effect->Destruct();
    host_.Unload();
    platform_.kernel.ExitProcess(0);
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
    clock.timeBeginPeriod(kTimerResolutionMs);
    std::uint32_t last = clock.timeGetTime();
    while (m_Running) {
        m_Effect->EraseBackground(m_BackBuffer->hDC());
        host_.DoEvents();
        const std::uint32_t now = clock.timeGetTime();
        m_Effect->Tick(ElapsedMs(last, now));
        last = now;
        m_Effect->DrawCurrentFrame(m_BackBuffer->hDC());
        m_BackBuffer->QuickBlit(host_.hDC(), win::SRCCOPY);
    }
    clock.timeEndPeriod(kTimerResolutionMs);
}

void Pelluna_S::Click() {
    EndSaver();
}

void Pelluna_S::KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
    if (gBgmKind == bgm_kind::AudioCd && KeyCode == win::VK_LEFT) {
        bgm_.PlayPreviousTrack();
    } else if (gBgmKind == bgm_kind::AudioCd && KeyCode == win::VK_RIGHT) {
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

void Pelluna_S::EndSaver() {
    RestoreSystemState();
    platform_.kernel.ExitProcess(0);
}

void Pelluna_S::RestoreSystemState() {
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
