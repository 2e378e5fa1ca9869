// Records which mode window start-up opened, in the same call log as the ports.
#pragma once

#include <cstdint>
#include <string>

#include "CallLog.h"
#include "startup/Main.h"

namespace pelluna::testing {

class RecordingModes final : public ModeEntries {
  public:
    explicit RecordingModes(CallLog& log) : log_(log) {}
    void ShowPreview(std::int32_t hHost) override { log_.Add("ShowPreview(" + std::to_string(hHost) + ")"); }
    void ShowSettingsDialog() override { log_.Add("ShowSettingsDialog()"); }
    void LoadSaverWindow() override { log_.Add("LoadSaverWindow()"); }

  private:
    CallLog& log_;
};

}  // namespace pelluna::testing
