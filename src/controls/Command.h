// The Command push button: its five properties, stored values, look routines and hover/focus/press states.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/CommandHost.h"
#include "controls/FontObject.h"
#include "controls/PropertyBag.h"
#include "platform/Gdi.h"
#include "platform/User.h"

namespace pelluna {

// A rectangle as the block-transfer calls take it: corner and size, in pixels.
struct BlitRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const BlitRect&, const BlitRect&) = default;
};

// One of the eight border pieces: where it comes from in the state picture and where it goes on the face.
struct BorderPiece {
    BlitRect source;
    BlitRect destination;
    friend bool operator==(const BorderPiece&, const BorderPiece&) = default;
};

class Command {
  public:
    Command(User& user, Gdi& gdi, CommandHost& host);

    // The Click event: raised on a button release, as the states allow. The host sets it.
    std::function<void()> Click;

    // Properties.
    std::wstring Caption();
    void Caption(const std::wstring& New_Caption);
    FontObject Font();
    void Font(const FontObject& New_Font);
    ColorRef FontColour();
    void FontColour(ColorRef New_FontColour);
    bool Enabled();
    void Enabled(bool New_Enabled);
    std::uint8_t Visible();
    void Visible(std::uint8_t New_Visible);

    // Starts hover tracking; the host calls it once after loading the control.
    void Initialize();
    void LoadProperties(const PropertyBag& PropBag);
    void SaveProperties(PropertyBag& PropBag);

    // Input handlers. Button codes: 1 left, 2 right, 4 middle. Mouse input that reaches the caption
    // comes here too: the caption is part of the control. A press takes the mouse capture, so that its
    // release comes here wherever the pointer then is; only the release of such a press is a Click.
    void MouseDown(std::int16_t Button);
    void MouseMove();
    void MouseUp(std::int16_t Button);
    // The capture went to another window (or was let go): the presses held here are over.
    void CaptureLost();
    void GotFocus();
    void LostFocus();
    void Resize();
    void TmrMouse_Timer();

    // The looks.
    void PaintFace(CommandPicture picture);
    void PaintGradient();
    void ApplyEnabledLook();
    void RestoreNormalLook();
    // A key holding the focused control down shows the pressed face, as a mouse press does; let go, the
    // face of its state comes back.
    void KeyPressLook(bool held);

    // The eight border pieces of a face W x H twips wide and high, in drawing order, converted to
    // pixels: sources by the picture's 15 twips per pixel, destinations by the system's twips per pixel
    // (so the border grows with the screen's resolution). Each rectangle's edges are rounded, not its
    // size, so neighbouring pieces meet. Nothing when a value leaves the 32-bit range.
    static std::optional<std::array<BorderPiece, 8>> BorderPieces(std::int32_t W, std::int32_t H,
                                                                  double twipsPerPixelX,
                                                                  double twipsPerPixelY);
    // A colour text ("&HC6C5D7") as three gradient channels: its hexadecimal digits read in pairs as red,
    // green and blue (six digits at least, zeros in front), each pair in the high byte. Nothing for a
    // text that is no hexadecimal literal.
    static std::optional<std::array<std::uint16_t, 3>> GradientChannels(std::wstring_view colourText);

    // Read-only views of the control's state, for whoever needs to look inside (tests, diagnostics).
    std::uint8_t State() const { return m_State; }
    bool LeftDown() const { return m_LeftDown; }
    std::uint8_t FirstRun() const { return m_FirstRun; }
    bool GradientInverted() const { return m_GradientInverted; }

  private:
    void LeaveHover();
    void FillVertexColour(TriVertex& vertex, std::wstring_view colourText);

    User& user_;
    Gdi& gdi_;
    CommandHost& host_;

    std::uint8_t m_State = 0;
    bool m_Enabled = false;
    std::uint8_t m_FirstRun = 0;
    bool m_LeftDown = false;
    // The buttons (1, 2, 4 combined) whose presses went down here and still hold the capture.
    std::uint8_t m_PressedHere = 0;
    bool m_GradientInverted = false;
    std::array<TriVertex, 2> m_Vertices{};
    GradientRect m_GradientRect{1, 0};
    // The face in twips and its border pieces, kept from the last paint whose values could be computed.
    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0;
    std::array<BorderPiece, 8> m_Pieces{};
};

}  // namespace pelluna
