// The Command push button: its five properties, stored values, look routines and hover/focus/press states.
#include "controls/Command.h"

#include <cmath>

#include "common/Numbers.h"

namespace pelluna {
namespace {

// State values of m_State.
constexpr std::uint8_t kNew = 0;
constexpr std::uint8_t kNormal = 1;
constexpr std::uint8_t kHighLight = 2;
constexpr std::uint8_t kSelected = 3;
constexpr std::uint8_t kHighLightSelect = 4;

constexpr std::int16_t kLeftButton = 1;
constexpr std::int16_t kRightButton = 2;
constexpr std::int16_t kMiddleButton = 4;
constexpr std::uint32_t kTmrMouseIntervalMs = 100;

// The gradient's two colours.
constexpr std::wstring_view kLightColour = L"&HFFFFFF";
constexpr std::wstring_view kShadeColour = L"&HC6C5D7";

// Picture geometry in twips: a 64 x 25-pixel picture at 15 twips per pixel, with a 4-pixel border band.
constexpr std::int64_t kBorder = 60;
constexpr std::int64_t kPictureWidth = 960;
constexpr std::int64_t kPictureHeight = 375;
constexpr std::int64_t kMiddleWidth = kPictureWidth - 2 * kBorder;
constexpr std::int64_t kMiddleHeight = kPictureHeight - 2 * kBorder;
constexpr double kPictureTwipsPerPixel = 15.0;
// The caption is centred on the face less this many twips.
constexpr float kCaptionAllowance = 20.0f;

// Stored property keys and defaults.
constexpr std::wstring_view kTrue = L"True";
constexpr std::wstring_view kFalse = L"False";
constexpr std::wstring_view kCaptionSaveDefault = L"Command";
constexpr std::wstring_view kCaptionLoadDefault = L"Command1";
constexpr std::wstring_view kFirstRunDefault = L"1";
constexpr std::wstring_view kFontColourDefault = L"0";
constexpr std::wstring_view kVisibleDefault = L"1";

struct TwipRect {
    std::int64_t x, y, width, height;
};

// Edges rounded to whole pixels; nothing when the scale is unusable or a value leaves the 32-bit range.
std::optional<BlitRect> ToPixels(const TwipRect& twips, double twipsPerPixelX, double twipsPerPixelY) {
    if (!(twipsPerPixelX > 0.0) || !(twipsPerPixelY > 0.0)) return std::nullopt;
    const auto left = numbers::RoundToInt32(static_cast<double>(twips.x) / twipsPerPixelX);
    const auto top = numbers::RoundToInt32(static_cast<double>(twips.y) / twipsPerPixelY);
    const auto right = numbers::RoundToInt32(static_cast<double>(twips.x + twips.width) / twipsPerPixelX);
    const auto bottom = numbers::RoundToInt32(static_cast<double>(twips.y + twips.height) / twipsPerPixelY);
    if (!left || !top || !right || !bottom) return std::nullopt;
    const std::int64_t width = std::int64_t{*right} - *left;
    const std::int64_t height = std::int64_t{*bottom} - *top;
    if (width < INT32_MIN || width > INT32_MAX || height < INT32_MIN || height > INT32_MAX)
        return std::nullopt;
    return BlitRect{*left, *top, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](wchar_t c) {
            return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
        };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// "True", "False" or a number (any but 0 is true).
std::optional<bool> BooleanOf(std::wstring_view text) {
    std::wstring_view trimmed = text;
    while (!trimmed.empty() && trimmed.front() == L' ') trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == L' ') trimmed.remove_suffix(1);
    if (EqualsIgnoringCase(trimmed, kTrue)) return true;
    if (EqualsIgnoringCase(trimmed, kFalse)) return false;
    const auto number = numbers::ParseDecimal(text);
    if (!number) return std::nullopt;
    const auto value = numbers::RoundToInt16(*number);
    if (!value) return std::nullopt;
    return *value != 0;
}

std::optional<std::int32_t> Int32Of(std::wstring_view text) {
    const auto number = numbers::ParseDecimal(text);
    return number ? numbers::RoundToInt32(*number) : std::nullopt;
}

std::optional<std::int16_t> Int16Of(std::wstring_view text) {
    const auto number = numbers::ParseDecimal(text);
    return number ? numbers::RoundToInt16(*number) : std::nullopt;
}

// A button's place among the presses held here; 0 for a code that names no single button.
std::uint8_t PressBit(std::int16_t Button) {
    const bool single = Button == kLeftButton || Button == kRightButton || Button == kMiddleButton;
    return single ? static_cast<std::uint8_t>(Button) : 0;
}

}  // namespace

Command::Command(User& user, Gdi& gdi, CommandHost& host) : user_(user), gdi_(gdi), host_(host) {}

// --- Properties ---

std::wstring Command::Caption() {
    return host_.LblMsg().Caption();
}

void Command::Caption(const std::wstring& New_Caption) {
    host_.LblMsg().SetCaption(New_Caption);
    host_.PropertyChanged(L"Caption");
}

FontObject Command::Font() {
    return host_.LblMsg().Font();
}

void Command::Font(const FontObject& New_Font) {
    host_.LblMsg().SetFont(New_Font);
    host_.PropertyChanged(L"Font");
}

ColorRef Command::FontColour() {
    const ColorRef colour = host_.LblMsg().ForeColor();
    RestoreNormalLook();
    return colour;
}

void Command::FontColour(ColorRef New_FontColour) {
    host_.LblMsg().SetForeColor(New_FontColour);
    RestoreNormalLook();
    host_.PropertyChanged(L"FontColour");
}

bool Command::Enabled() {
    // A new instance has no set-up step of its own: its first read of Enabled is that step.
    if (m_FirstRun == 0) {
        RestoreNormalLook();
        m_FirstRun = 1;
        m_Enabled = true;
    }
    const bool result = m_Enabled;
    ApplyEnabledLook();
    return result;
}

void Command::Enabled(bool New_Enabled) {
    m_Enabled = New_Enabled;
    host_.PropertyChanged(L"Enabled");
    ApplyEnabledLook();
}

std::uint8_t Command::Visible() {
    if (host_.BackStyle() == 0) return 0;
    RestoreNormalLook();
    return 255;
}

void Command::Visible(std::uint8_t New_Visible) {
    if (New_Visible != 0) {
        host_.SetBackStyle(1);
        RestoreNormalLook();
    } else {
        host_.SetBackStyle(0);
    }
    host_.PropertyChanged(L"Visible");
}

void Command::Initialize() {
    m_State = kNormal;
    host_.SetTimerEnabled(true);
    host_.SetTimerInterval(kTmrMouseIntervalMs);
}

// --- Stored values: a value that cannot be converted leaves its target as it was ---

void Command::LoadProperties(const PropertyBag& PropBag) {
    if (const auto enabled = BooleanOf(PropBag.ReadProperty(L"Enabled", kTrue))) m_Enabled = *enabled;
    CommandLabel& label = host_.LblMsg();
    label.SetCaption(PropBag.ReadProperty(L"Caption", kCaptionLoadDefault));
    if (const auto stored = PropBag.Find(L"Font")) {
        if (const auto font = FontFromText(*stored)) label.SetFont(*font);
    } else {
        label.SetFont(host_.AmbientFont());
    }
    if (const auto firstRun = Int16Of(PropBag.ReadProperty(L"FirstRun", kFirstRunDefault));
        firstRun && *firstRun >= 0 && *firstRun <= 255) {
        m_FirstRun = static_cast<std::uint8_t>(*firstRun);
    }
    if (const auto colour = Int32Of(PropBag.ReadProperty(L"FontColour", kFontColourDefault))) {
        label.SetForeColor(static_cast<ColorRef>(*colour));
    }
    // The background style knows two values: 0 transparent, 1 opaque.
    if (const auto style = Int16Of(PropBag.ReadProperty(L"Visible", kVisibleDefault));
        style && (*style == 0 || *style == 1)) {
        host_.SetBackStyle(*style);
    }
    RestoreNormalLook();
}

void Command::SaveProperties(PropertyBag& PropBag) {
    PropBag.WriteProperty(L"Enabled", m_Enabled ? kTrue : kFalse, kTrue);
    CommandLabel& label = host_.LblMsg();
    PropBag.WriteProperty(L"Caption", label.Caption(), kCaptionSaveDefault);
    PropBag.WriteProperty(L"FirstRun", numbers::WithLeadingBlank(m_FirstRun), numbers::WithLeadingBlank(1));
    PropBag.WriteProperty(L"Font", FontToText(label.Font()), FontToText(host_.AmbientFont()));
    PropBag.WriteProperty(L"FontColour",
                          numbers::WithLeadingBlank(static_cast<std::int32_t>(label.ForeColor())),
                          numbers::WithLeadingBlank(0));
    PropBag.WriteProperty(L"Visible", numbers::WithLeadingBlank(host_.BackStyle()),
                          numbers::WithLeadingBlank(1));
    RestoreNormalLook();
}

// --- Input ---

void Command::MouseDown(std::int16_t Button) {
    if (!m_Enabled) return;
    // Focus before capture: the focus change may activate the window, which must not cost the capture.
    if (Button == kLeftButton) host_.SetFocus();
    if (const std::uint8_t bit = PressBit(Button)) {
        host_.SetCapture();
        m_PressedHere |= bit;
    }
    if (Button == kLeftButton) {
        m_LeftDown = true;
        PaintFace(CommandPicture::Pressed);
    }
}

void Command::MouseMove() {
    if (!m_Enabled) return;
    if (m_State == kNormal) {
        m_State = kHighLight;
        PaintFace(CommandPicture::HighLight);
    }
    // A press held since it began here does not bring the hover look back.
    if (m_State == kSelected && !m_LeftDown) {
        m_State = kHighLightSelect;
        PaintFace(CommandPicture::HighLightSelect);
    }
}

void Command::MouseUp(std::int16_t Button) {
    // The record of presses belongs to the capture, not to the state: it ends also while disabled, so a
    // control disabled during a press lets the capture go.
    const std::uint8_t bit = PressBit(Button);
    const bool pressedHere = (m_PressedHere & bit) != 0;
    m_PressedHere &= static_cast<std::uint8_t>(~bit);
    bool click = false;
    if (m_Enabled) {
        if (Button == kLeftButton) {
            m_LeftDown = false;
            if (m_State == kHighLight) PaintFace(CommandPicture::Normal);
            if (m_State == kHighLightSelect) PaintFace(CommandPicture::HighLightSelect);
        }
        // A release whose press went down elsewhere is no Click; nor is one on a focused control that the
        // pointer has left (a press dragged off).
        click = pressedHere && m_State != kSelected;
    }
    // Let go only once decided (letting go reports a lost capture at once) and before Click, whose
    // handler may close the window that holds the control.
    if (pressedHere && m_PressedHere == 0) host_.ReleaseCapture();
    if (click && Click) Click();
}

void Command::CaptureLost() {
    m_PressedHere = 0;
    if (!m_Enabled) return;
    // The release that would end the left press will not come here any more: the press ends now, so
    // that it does not keep the hover look from coming back.
    m_LeftDown = false;
}

void Command::GotFocus() {
    if (!m_Enabled) return;
    if (m_State != kHighLight) {
        m_State = kSelected;
        PaintFace(CommandPicture::Selected);
    }
    if (m_State == kHighLight) {
        m_State = kHighLightSelect;
        PaintFace(CommandPicture::Pressed);
    }
}

void Command::LostFocus() {
    if (!m_Enabled) return;
    if (m_State != kNormal) {
        m_State = kNormal;
        PaintFace(CommandPicture::Normal);
    }
}

void Command::Resize() {
    ApplyEnabledLook();
}

void Command::TmrMouse_Timer() {
    // The caption has no window: any window under the pointer but the control's own ends the hover.
    Point cursor;
    user_.GetCursorPos(cursor);
    const Hwnd under = user_.WindowFromPoint(cursor);
    if (under == host_.ParentHwnd()) {
        LeaveHover();
    } else if (under != host_.hWnd() && under != host_.ParentHwnd()) {
        LeaveHover();
    }
}

void Command::LeaveHover() {
    if (!m_Enabled) return;
    if (m_State == kHighLight) {
        m_State = kNormal;
        PaintFace(CommandPicture::Normal);
    }
    if (m_State == kHighLightSelect) {
        m_State = kSelected;
        PaintFace(CommandPicture::Selected);
    }
}

// --- Looks ---

void Command::PaintFace(CommandPicture picture) {
    // States 0 and 4 keep the direction of the previous paint: state 4 shows the path that led to it.
    if (m_State == kNormal || m_State == kSelected) m_GradientInverted = false;
    if (m_State == kHighLight) m_GradientInverted = true;

    std::int32_t widthPixels = 0;
    std::int32_t heightPixels = 0;
    host_.ClientSize(widthPixels, heightPixels);
    const double twipsPerPixelX = host_.TwipsPerPixelX();
    const double twipsPerPixelY = host_.TwipsPerPixelY();
    const auto W = numbers::RoundToInt32(widthPixels * twipsPerPixelX);
    const auto H = numbers::RoundToInt32(heightPixels * twipsPerPixelY);
    if (W && H && *W >= 0 && *H >= 0) {
        if (const auto pieces = BorderPieces(*W, *H, twipsPerPixelX, twipsPerPixelY)) {
            m_Width = *W;
            m_Height = *H;
            m_Pieces = *pieces;
        }
    }

    const Hdc dc = host_.hDC();
    if (widthPixels > 0 && heightPixels > 0) {
        user_.FillRect(dc, Rect{0, 0, widthPixels, heightPixels}, user_.GetSysColorBrush(win::COLOR_BTNFACE));
    }
    PaintGradient();
    const Hdc pictureDC = host_.PictureDC(picture);
    for (const BorderPiece& piece : m_Pieces) {
        const BlitRect& from = piece.source;
        const BlitRect& to = piece.destination;
        // On faces under 8 x 8 pixels the edges have no length left: they are left out.
        if (to.width <= 0 || to.height <= 0 || from.width <= 0 || from.height <= 0) continue;
        gdi_.StretchBlt(dc, to.x, to.y, to.width, to.height, pictureDC, from.x, from.y, from.width,
                        from.height, win::SRCCOPY);
    }
    host_.Refresh();

    CommandLabel& label = host_.LblMsg();
    const float top = (static_cast<float>(m_Height) - label.Height() - kCaptionAllowance) / 2.0f;
    label.Move(0.0f, top, static_cast<float>(m_Width));
}

void Command::PaintGradient() {
    FillVertexColour(m_Vertices[0], m_GradientInverted ? kShadeColour : kLightColour);
    FillVertexColour(m_Vertices[1], m_GradientInverted ? kLightColour : kShadeColour);
    std::int32_t widthPixels = 0;
    std::int32_t heightPixels = 0;
    host_.ClientSize(widthPixels, heightPixels);
    // Under 2 x 2 pixels the fill would be empty or inside out; the border pieces cover such a face.
    if (widthPixels < 2 || heightPixels < 2) return;
    m_Vertices[0].x = 0;
    m_Vertices[0].y = 0;
    m_Vertices[1].x = widthPixels - 1;
    m_Vertices[1].y = heightPixels - 1;
    gdi_.GradientFill(host_.hDC(), m_Vertices.data(), static_cast<std::uint32_t>(m_Vertices.size()),
                      &m_GradientRect, 1, win::GRADIENT_FILL_RECT_V);
}

void Command::FillVertexColour(TriVertex& vertex, std::wstring_view colourText) {
    const auto channels = GradientChannels(colourText);
    if (!channels) return;
    vertex.Red = (*channels)[0];
    vertex.Green = (*channels)[1];
    vertex.Blue = (*channels)[2];
}

void Command::ApplyEnabledLook() {
    // The state is not consulted: an enabled control shows the Normal look until its next transition.
    if (m_Enabled) {
        PaintFace(CommandPicture::Normal);
        host_.LblMsg().SetEnabled(true);
    } else {
        PaintFace(CommandPicture::Disable);
        host_.LblMsg().SetEnabled(false);
    }
}

void Command::RestoreNormalLook() {
    if (!m_Enabled) return;
    CommandLabel& label = host_.LblMsg();
    label.SetEnabled(true);
    if (m_FirstRun == 0) label.SetForeColor(0);
    PaintFace(CommandPicture::Normal);
}

void Command::KeyPressLook(bool held) {
    if (!m_Enabled) return;
    if (held) {
        PaintFace(CommandPicture::Pressed);
        return;
    }
    constexpr std::array kFaceOfState = {CommandPicture::Normal, CommandPicture::Normal,
                                         CommandPicture::HighLight, CommandPicture::Selected,
                                         CommandPicture::HighLightSelect};
    PaintFace(kFaceOfState[m_State < kFaceOfState.size() ? m_State : kNormal]);
}

// --- Geometry and colour arithmetic ---

std::optional<std::array<BorderPiece, 8>> Command::BorderPieces(std::int32_t W, std::int32_t H,
                                                                double twipsPerPixelX,
                                                                double twipsPerPixelY) {
    const std::int64_t w = W;
    const std::int64_t h = H;
    const std::int64_t right = kPictureWidth - kBorder;
    const std::int64_t bottom = kPictureHeight - kBorder;
    // Source and destination in twips, in drawing order: corners and edges clockwise from the top left.
    const TwipRect sources[8] = {
        {0, 0, kBorder, kBorder},          {kBorder, 1, kMiddleWidth, kBorder},
        {right, 1, kBorder, kBorder},      {right, kBorder, kBorder, kMiddleHeight},
        {right, bottom, kBorder, kBorder}, {kBorder, bottom, kMiddleWidth, kBorder},
        {0, bottom, kBorder, kBorder},     {1, kBorder, kBorder, kMiddleHeight},
    };
    const TwipRect destinations[8] = {
        {1, 1, kBorder, kBorder},
        {kBorder, 1, w - 2 * kBorder, kBorder},
        {w - kBorder, 1, kBorder, kBorder},
        {w - kBorder, kBorder, kBorder, h - 2 * kBorder},
        {w - kBorder, h - kBorder, kBorder, kBorder},
        {kBorder, h - kBorder, w - 2 * kBorder, kBorder},
        {1, h - kBorder, kBorder, kBorder},
        {1, kBorder, kBorder, h - 2 * kBorder},
    };
    std::array<BorderPiece, 8> pieces;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto source = ToPixels(sources[i], kPictureTwipsPerPixel, kPictureTwipsPerPixel);
        const auto destination = ToPixels(destinations[i], twipsPerPixelX, twipsPerPixelY);
        if (!source || !destination) return std::nullopt;
        pieces[i] = BorderPiece{*source, *destination};
    }
    return pieces;
}

std::optional<std::array<std::uint16_t, 3>> Command::GradientChannels(std::wstring_view colourText) {
    const auto value = numbers::ParseHexLiteral(colourText);
    if (!value) return std::nullopt;
    int digits = 6;
    while (digits < 8 && (*value >> (4 * digits)) != 0) ++digits;
    std::array<std::uint16_t, 3> channels{};
    for (int pair = 0; pair < 3; ++pair) {
        const std::uint32_t byte = (*value >> (4 * (digits - 2 - 2 * pair))) & 0xFFu;
        channels[static_cast<std::size_t>(pair)] = static_cast<std::uint16_t>(byte << 8);
    }
    return channels;
}

}  // namespace pelluna
