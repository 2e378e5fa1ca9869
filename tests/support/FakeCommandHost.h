// Recording fake of the Command button's host and of its caption label, for the button's unit tests.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "CallLog.h"
#include "controls/CommandHost.h"

namespace pelluna::testing {

// A float as the log shows it: the shortest form ("80", "12.5").
inline std::string FloatArg(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// ASCII text as it stands; other characters as \x{NNNN}.
inline std::string WideArg(std::wstring_view text) {
    std::string out = "\"";
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\x{%04X}", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out + "\"";
}

class FakeCommandLabel final : public CommandLabel {
  public:
    explicit FakeCommandLabel(CallLog& log) : log_(log) {}

    std::wstring caption = L"Command";
    FontObject font{L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", 9.75, 400, false, false, false, 128};
    ColorRef foreColor = 0;
    bool enabled = true;
    float height = 195.0f;

    std::wstring Caption() override { return caption; }
    void SetCaption(const std::wstring& value) override {
        log_.Add(Call("Label.SetCaption", WideArg(value)));
        caption = value;
    }
    FontObject Font() override { return font; }
    void SetFont(const FontObject& value) override {
        log_.Add(Call("Label.SetFont", WideArg(value.Name)));
        font = value;
    }
    ColorRef ForeColor() override { return foreColor; }
    void SetForeColor(ColorRef value) override {
        log_.Add(Call("Label.SetForeColor", value));
        foreColor = value;
    }
    void SetEnabled(bool value) override {
        log_.Add(Call("Label.SetEnabled", value));
        enabled = value;
    }
    float Height() override { return height; }
    void Move(float left, float top, float width) override {
        log_.Add(Call("Label.Move", FloatArg(left), FloatArg(top), FloatArg(width)));
    }

  private:
    CallLog& log_;
};

class FakeCommandHost final : public CommandHost {
  public:
    explicit FakeCommandHost(CallLog& log) : label(log), log_(log) {}

    static constexpr Hdc kSurfaceDC = 0x5DC0;
    // The device context of each state picture: 0x7100 + its place in CommandPicture.
    static Hdc PictureDCOf(CommandPicture picture) { return 0x7100 + static_cast<Hdc>(picture); }

    FakeCommandLabel label;
    Hwnd window = 0xC0C0;
    Hwnd parent = 0xF0F0;
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;
    std::int32_t width = 85;
    std::int32_t height = 25;
    std::int16_t backStyle = 1;
    FontObject ambientFont{L"Arial", 8.25, 400, false, false, false, 0};
    bool captured = false;
    std::function<void()> onCaptureLost;  // the control's CaptureLost, as the view forwards it

    Hwnd hWnd() override { return window; }
    Hwnd ParentHwnd() override { return parent; }
    double TwipsPerPixelX() override { return twipsPerPixelX; }
    double TwipsPerPixelY() override { return twipsPerPixelY; }
    void ClientSize(std::int32_t& w, std::int32_t& h) override {
        w = width;
        h = height;
    }
    Hdc hDC() override { return kSurfaceDC; }
    Hdc PictureDC(CommandPicture picture) override { return PictureDCOf(picture); }
    void Refresh() override { log_.Add("Host.Refresh()"); }
    CommandLabel& LblMsg() override { return label; }
    void SetFocus() override { log_.Add("Host.SetFocus()"); }
    void SetCapture() override {
        log_.Add("Host.SetCapture()");
        captured = true;
    }
    // Letting go of a held capture reports it lost at once, as the system's capture-changed message does.
    void ReleaseCapture() override {
        log_.Add("Host.ReleaseCapture()");
        if (!captured) return;
        captured = false;
        if (onCaptureLost) onCaptureLost();
    }
    void SetTimerEnabled(bool enabled) override { log_.Add(Call("Host.SetTimerEnabled", enabled)); }
    void SetTimerInterval(std::uint32_t milliseconds) override {
        log_.Add(Call("Host.SetTimerInterval", milliseconds));
    }
    std::int16_t BackStyle() override { return backStyle; }
    void SetBackStyle(std::int16_t style) override {
        log_.Add(Call("Host.SetBackStyle", style));
        backStyle = style;
    }
    FontObject AmbientFont() override { return ambientFont; }
    void PropertyChanged(std::wstring_view name) override {
        log_.Add(Call("Host.PropertyChanged", WideArg(name)));
    }

  private:
    CallLog& log_;
};

// The picture of each paint since the log was cleared ("Normal", "Pressed", ...): the source of the copies
// before each refresh.
inline std::vector<std::string> PaintedPictures(const CallLog& log) {
    static const char* const names[] = {"Normal",   "HighLight",       "Pressed",
                                        "Selected", "HighLightSelect", "Disable"};
    std::vector<std::string> paints;
    Hdc source = 0;
    for (const std::string& call : log.Calls()) {
        if (call.rfind("StretchBlt(", 0) == 0) {
            std::vector<std::string> args;
            std::size_t start = std::string("StretchBlt(").size();
            for (std::size_t comma; (comma = call.find(", ", start)) != std::string::npos;
                 start = comma + 2) {
                args.push_back(call.substr(start, comma - start));
            }
            source = std::stoull(args.at(5));
        } else if (call == "Host.Refresh()") {
            const char* name = "?";
            for (int i = 0; i < 6; ++i) {
                if (source == FakeCommandHost::PictureDCOf(static_cast<CommandPicture>(i))) name = names[i];
            }
            paints.push_back(name);
            source = 0;
        }
    }
    return paints;
}

}  // namespace pelluna::testing
