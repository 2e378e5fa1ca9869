// The full-screen saver window: its load handler runs the whole saver run, its input handlers end it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "effect/Pelluna_C1.h"
#include "effect/Pelluna_C2.h"
#include "music/Pelluna_BGM.h"
#include "platform/Platform.h"
#include "saver/FramePacer.h"
#include "saver/SaverHost.h"

namespace pelluna {

class Pelluna_S {
  public:
    using EffectFactory = std::function<std::unique_ptr<Pelluna_C2>()>;

    // modeLetter: the command line's mode letter ('S' in saver mode, 0 for an empty command line).
    Pelluna_S(const Platform& platform, SaverHost& host, Pelluna_BGM& bgm, wchar_t modeLetter,
              EffectFactory makeEffect);

    // Load handler: music, placement, effect and back buffer, the frame loop; ends the process, so it
    // does not come back.
    void Load();
    void Click();
    void KeyDown(std::int16_t KeyCode, std::int16_t Shift);
    // Unload handler: an outside close request stops the frame loop instead of closing the window.
    void QueryUnload(std::int16_t& Cancel);
    void Timer1Tick();
    void Timer2Tick();
    // The desk's monitors changed (one added, removed or resized): before the next frame the window covers
    // the new layout, with new surfaces and effects.
    void DisplayChange();
    // The session's display state from the power-setting notification (Windows 8 and later): 0 off, 1 on,
    // 2 dimmed. While it is off nothing is drawn; the music, its timers and the input go on.
    void DisplayState(std::uint32_t state);
    // The console's display state, the same values: followed only while the session's is unknown (before
    // Windows 8). It follows the machine's own monitor, which in a remote session is not the one shown.
    void ConsoleDisplayState(std::uint32_t state);
    // The pace follows the power-setting notifications of the power source (SYSTEM_POWER_CONDITION: PoAc is
    // mains), battery saver (0 off) and energy saver (ENERGY_SAVER_STATUS), each value as it comes, and
    // whether the session is remote, read at the start and again when a session connects or disconnects.
    void PowerSource(std::uint32_t condition);
    void BatterySaver(std::uint32_t status);
    void EnergySaver(std::uint32_t status);
    void SessionChange();

    // Milliseconds between two timeGetTime readings, across the counter's wrap.
    static std::int32_t ElapsedMs(std::uint32_t last, std::uint32_t now);

  private:
    // One monitor's share of the window: its rectangle in client coordinates, the effect made for that
    // monitor's size, and the frame surface that the effect draws into.
    struct MonitorView {
        Rect area;
        std::unique_ptr<Pelluna_C2> m_Effect;
        std::unique_ptr<Pelluna_C1> m_BackBuffer;
    };

    static int CollectMonitor(Hmonitor hMonitor, Hdc hdcMonitor, Rect* lprcMonitor, std::intptr_t dwData);
    void StartMusic();
    // Moves the window over the desk and reads each monitor's area: the primary screen as ever when it is
    // the only monitor, the whole virtual screen when there are more.
    void CoverMonitors();
    // Makes each monitor's effect (the first one given) and frame surface; false when an effect cannot start.
    bool MakeViews(std::unique_ptr<Pelluna_C2> firstEffect);
    void DestructEffects();
    void CoverNewLayout();
    void RunFrameLoop();
    // Takes the 2 ms timer resolution that the frame loop's waits need, or gives it back; only a change
    // calls the system, so every take is balanced by one give.
    void HoldTimerResolution(bool hold);
    // Waits until the next frame is due, handling the messages that come meanwhile; after the display was
    // off the grid starts again and last becomes now, so the effect goes on from where it stopped.
    void WaitForNextFrame(std::uint32_t& last, bool composing);
    // Stops the music, restores the cursor and the system flags, and ends the process.
    void EndSaver();
    // EndSaver's steps before the end: the timer resolution given back, the music stopped, the cursor and
    // the system flags restored.
    void RestoreSystemState();

    const Platform& platform_;
    SaverHost& host_;
    Pelluna_BGM& bgm_;
    wchar_t modeLetter_;
    EffectFactory makeEffect_;

    bool m_Running = false;
    bool m_UseTransition = false;
    bool m_LayoutChanged = false;
    bool m_DisplayOff = false;
    bool m_SessionDisplayKnown = false;
    bool m_HoldsTimerResolution = false;
    std::uint32_t m_RefreshRate = FramePacer::kDefaultRefreshRate;  // of the current layout
    FramePacer::Conditions m_Conditions;
    FramePacer m_Pacer;
    std::vector<Hmonitor> m_Monitors;  // as the system listed them
    std::vector<Rect> m_Areas;         // each monitor's area in client coordinates, the primary first
    std::vector<MonitorView> m_Views;  // one a monitor, in the order of m_Areas
};

}  // namespace pelluna
