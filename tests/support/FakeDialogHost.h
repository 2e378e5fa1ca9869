// Recording fake of the settings dialog's host, with a small model of its controls and shading images.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "CallLog.h"
#include "settings/DialogHost.h"

namespace pelluna::testing {

// The control's name as the logs write it ("Img_BGM1").
std::string ControlName(DialogControl control);

class FakeDialogHost final : public DialogHost {
  public:
    explicit FakeDialogHost(CallLog& log);

    struct DrawnLine {
        std::int32_t x1, y1, x2, y2;
        ColorRef color;
        friend bool operator==(const DrawnLine&, const DrawnLine&) = default;
    };

    // Scripted answers (twips, and pixels for the client sizes).
    Hwnd window = 0xD1A1;
    Handle instance = 0x400000;
    std::int32_t screenWidth = 1920 * 15;
    std::int32_t screenHeight = 1080 * 15;
    std::int32_t width = 482 * 15;
    std::int32_t height = 344 * 15;
    std::map<DialogControl, std::pair<std::int32_t, std::int32_t>> clientSizes;

    // The controls' state, as the calls left it; scroll bars start at their minimum.
    std::map<DialogControl, bool> enabled;
    std::map<DialogControl, IndicatorPicture> pictures;
    std::map<DialogControl, std::wstring> texts;
    std::map<DialogControl, std::vector<std::wstring>> items;
    std::map<DialogControl, std::int32_t> values;
    std::map<DialogControl, std::vector<DrawnLine>> lines;
    bool unloaded = false;
    std::optional<DialogControl> focus;
    bool droppedDown = false;

    Hwnd hWnd() override { return window; }
    Handle hInstance() override { return instance; }
    std::int32_t ScreenWidth() override { return screenWidth; }
    std::int32_t ScreenHeight() override { return screenHeight; }
    std::int32_t Width() override { return width; }
    std::int32_t Height() override { return height; }
    void Move(std::int32_t left, std::int32_t top) override;
    void Initialize(DialogControl control) override;
    void SetEnabled(DialogControl control, bool New_Enabled) override;
    void ShowPressed(DialogControl control, bool pressed) override;
    void SetPicture(DialogControl control, IndicatorPicture picture) override;
    void SetText(DialogControl control, const std::wstring& text) override;
    std::wstring GetText(DialogControl control) override;
    void AddItem(DialogControl control, const std::wstring& item) override;
    bool SetValue(DialogControl control, std::int32_t value) override;
    std::int32_t GetValue(DialogControl control) override;
    void ClientSize(DialogControl surface, std::int32_t& nWidth, std::int32_t& nHeight) override;
    void Line(DialogControl surface, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              ColorRef color) override;
    std::optional<DialogControl> FocusedControl() override { return focus; }
    void SetFocus(DialogControl control) override;
    bool IsEnabled(DialogControl control) override { return !enabled.count(control) || enabled[control]; }
    bool DroppedDown(DialogControl) override { return droppedDown; }
    void SetMousePointer(MousePointer pointer) override;
    void Unload() override;

  private:
    CallLog& log_;
};

}  // namespace pelluna::testing
