// The real Command button: a child window that shows the face image the portable Command paints, draws
// the windowless caption over it, and routes mouse, capture, focus, size and timer messages to the Command.
#include "windows/CommandButton.h"
#include "windows/WindowClass.h"

#include "platform/win32/HandleCast.h"
#include "resources/resource.h"

namespace pelluna::win32 {
namespace {

constexpr UINT_PTR kTmrMouseId = 1;
constexpr double kTwipsPerPoint = 20.0;
// Colour values with the top bit set name a system colour by its index in the low byte.
constexpr ColorRef kSystemColourFlag = 0x80000000u;

// The state pictures' resources, in the order of CommandPicture.
constexpr int kPictureIds[] = {IDB_CMD_NORMAL,   IDB_CMD_HIGHLIGHT,       IDB_CMD_PRESSED,
                               IDB_CMD_SELECTED, IDB_CMD_HIGHLIGHTSELECT, IDB_CMD_DISABLE};

COLORREF ToColorRef(ColorRef colour) {
    if (colour & kSystemColourFlag) return ::GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0xFFFFFF;
}

std::int16_t ButtonCode(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return 1;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return 2;
        default:
            return 4;
    }
}

}  // namespace

CommandButton::CommandButton(const Platform& platform, HINSTANCE instance, HWND parent, int id,
                             std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                             const FontObject& ambientFont, const PropertyBag* stored, double twipsPerPixel)
    : logic_(platform.user, platform.gdi, *this),
      instance_(instance),
      parent_(parent),
      ambientFont_(ambientFont),
      twipsPerPixel_(twipsPerPixel) {
    label_.SetFont(DesignFont());
    logic_.Click = [this] {
        if (OnClick) OnClick();
    };
    RegisterWindowClass(instance, kClassName, &CommandButton::WindowProc);
    const double x = TwipsPerPixelX();
    const double y = TwipsPerPixelY();
    window_ = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, ToPixels(left, x),
                                ToPixels(top, y), ToPixels(width, x), ToPixels(height, y), parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    if (window_ == nullptr) return;
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        auto* bitmap = static_cast<HBITMAP>(::LoadImageW(instance, MAKEINTRESOURCEW(kPictureIds[i]),
                                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        pictures_[i] = BitmapDC(nullptr, bitmap);
    }
    MakeImages();
    if (stored) logic_.LoadProperties(*stored);
    ready_ = true;
    logic_.Resize();
    ::ShowWindow(window_, SW_SHOWNA);
}

CommandButton::~CommandButton() {
    if (window_ && ::IsWindow(window_)) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

std::int32_t CommandButton::ToPixels(double twips, double twipsPerPixel) const {
    return Rounded(twips / twipsPerPixel);
}

void CommandButton::MakeImages() {
    std::int32_t width = 0;
    std::int32_t height = 0;
    ClientSize(width, height);
    if (face_ && width == imageWidth_ && height == imageHeight_) return;
    face_ = BitmapDC::ForScreen(width, height);
    shown_ = BitmapDC::ForScreen(width, height);
    // Edge pieces are stretched along their length: whole pixels, no blending of neighbours.
    ::SetStretchBltMode(face_.dc(), COLORONCOLOR);
    imageWidth_ = width;
    imageHeight_ = height;
}

// --- Window procedure: messages unpacked and handed to the Command ---

LRESULT CALLBACK CommandButton::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CommandButton*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT CommandButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            // The image is kept: a repaint copies it and paints nothing anew.
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window_, &paint);
            ::BitBlt(dc, 0, 0, imageWidth_, imageHeight_, shown_.dc(), 0, 0, SRCCOPY);
            ::EndPaint(window_, &paint);
            return 0;
        }
        case WM_SIZE:
            if (!ready_) return 0;
            MakeImages();
            logic_.Resize();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            logic_.MouseDown(ButtonCode(message));
            return 0;
        case WM_MOUSEMOVE: {
            // While the mouse is captured, movement outside arrives too: only movement over the control
            // counts.
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT client{};
            ::GetClientRect(window_, &client);
            if (::PtInRect(&client, at)) logic_.MouseMove();
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            logic_.MouseUp(ButtonCode(message));
            return 0;
        case WM_CAPTURECHANGED:
            logic_.CaptureLost();
            return 0;
        case WM_SETFOCUS:
            logic_.GotFocus();
            return 0;
        case WM_KILLFOCUS:
            logic_.LostFocus();
            return 0;
        case WM_TIMER:
            if (wParam == kTmrMouseId && timerEnabled_) logic_.TmrMouse_Timer();
            return 0;
        case WM_DESTROY:
            ::KillTimer(window_, kTmrMouseId);
            return 0;
        case WM_NCDESTROY: {
            // Gone with its parent: later host calls find no window instead of a stale handle.
            HWND window = window_;
            window_ = nullptr;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

// --- CommandHost ---

Hwnd CommandButton::hWnd() {
    return FromWin(window_);
}

Hwnd CommandButton::ParentHwnd() {
    return FromWin(::GetParent(window_));
}

double CommandButton::TwipsPerPixelX() {
    return twipsPerPixel_ > 0.0 ? twipsPerPixel_ : ScreenTwipsPerPixel(LOGPIXELSX);
}

double CommandButton::TwipsPerPixelY() {
    return twipsPerPixel_ > 0.0 ? twipsPerPixel_ : ScreenTwipsPerPixel(LOGPIXELSY);
}

void CommandButton::ClientSize(std::int32_t& width, std::int32_t& height) {
    ClientSizeOf(window_, width, height);
}

Hdc CommandButton::hDC() {
    return FromWin(face_.dc());
}

Hdc CommandButton::PictureDC(CommandPicture picture) {
    return FromWin(pictures_[static_cast<std::size_t>(picture)].dc());
}

void CommandButton::Refresh() {
    Compose();
    CopyToWindow();
}

void CommandButton::SetFocus() {
    if (window_ != nullptr && ::GetFocus() != window_) ::SetFocus(window_);
}

void CommandButton::SetCapture() {
    if (window_ != nullptr && ::GetCapture() != window_) ::SetCapture(window_);
}

void CommandButton::ReleaseCapture() {
    if (window_ != nullptr && ::GetCapture() == window_) ::ReleaseCapture();
}

void CommandButton::SetTimerEnabled(bool enabled) {
    timerEnabled_ = enabled;
    if (window_ == nullptr) return;  // without a window SetTimer would make a thread timer
    if (enabled) {
        ::SetTimer(window_, kTmrMouseId, timerInterval_, nullptr);
    } else {
        ::KillTimer(window_, kTmrMouseId);
    }
}

void CommandButton::SetTimerInterval(std::uint32_t milliseconds) {
    timerInterval_ = milliseconds;
    if (timerEnabled_ && window_ != nullptr) ::SetTimer(window_, kTmrMouseId, timerInterval_, nullptr);
}

void CommandButton::SetBackStyle(std::int16_t style) {
    backStyle_ = style;
    Refresh();
}

// The dialog makes its buttons from fixed stored values and never saves them again: nothing to tell.
void CommandButton::PropertyChanged(std::wstring_view /*name*/) {}

void CommandButton::Compose() {
    if (!shown_ || !face_) return;
    if (backStyle_ != 0) {
        ::BitBlt(shown_.dc(), 0, 0, imageWidth_, imageHeight_, face_.dc(), 0, 0, SRCCOPY);
    } else {
        // Transparent: the parent's own background shows around the caption.
        auto brush = reinterpret_cast<HBRUSH>(::GetClassLongPtrW(parent_, GCLP_HBRBACKGROUND));
        const auto value = reinterpret_cast<std::uintptr_t>(brush);
        if (value != 0 && value <= COLOR_MENUBAR + 1) brush = ::GetSysColorBrush(static_cast<int>(value - 1));
        if (brush == nullptr) brush = ::GetSysColorBrush(COLOR_BTNFACE);
        const RECT all{0, 0, imageWidth_, imageHeight_};
        ::FillRect(shown_.dc(), &all, brush);
    }
    label_.Draw(shown_.dc());
}

void CommandButton::CopyToWindow() {
    if (window_ == nullptr || !shown_) return;
    WindowDC dc(window_);
    ::BitBlt(dc.dc(), 0, 0, imageWidth_, imageHeight_, shown_.dc(), 0, 0, SRCCOPY);
}

void CommandButton::CaptionChanged() {
    if (!ready_) return;
    Compose();
    CopyToWindow();
}

// --- The caption ---

void CommandButton::CaptionLabel::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    // The window's own text names the button for screen readers and UI automation; nothing paints it.
    if (owner_.window_ != nullptr) ::SetWindowTextW(owner_.window_, caption_.c_str());
    owner_.CaptionChanged();
}

void CommandButton::CaptionLabel::SetFont(const FontObject& font) {
    font_ = font;
    const LOGFONTW logFont = LogFontOf(font, kTwipsPerPoint / owner_.TwipsPerPixelY());
    hFont_.reset(::CreateFontIndirectW(&logFont));
    owner_.CaptionChanged();
}

void CommandButton::CaptionLabel::SetForeColor(ColorRef color) {
    foreColor_ = color;
    owner_.CaptionChanged();
}

void CommandButton::CaptionLabel::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    owner_.CaptionChanged();
}

void CommandButton::CaptionLabel::Move(float left, float top, float width) {
    if (left == left_ && top == top_ && width == width_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    owner_.CaptionChanged();
}

void CommandButton::CaptionLabel::Draw(HDC dc) const {
    if (caption_.empty()) return;
    const double x = owner_.TwipsPerPixelX();
    const double y = owner_.TwipsPerPixelY();
    RECT place{owner_.ToPixels(left_, x), owner_.ToPixels(top_, y), owner_.ToPixels(left_ + width_, x),
               owner_.ToPixels(top_ + height_, y)};
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const ScopedSelect font(dc,
                            hFont_ ? static_cast<HGDIOBJ>(hFont_.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    const UINT format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    const int length = static_cast<int>(caption_.size());
    if (enabled_) {
        ::SetTextColor(dc, ToColorRef(foreColor_));
        ::DrawTextW(dc, caption_.c_str(), length, &place, format);
    } else {
        // The system's disabled-text look: a highlight one pixel down and right under the grey text.
        RECT lit = place;
        ::OffsetRect(&lit, 1, 1);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextW(dc, caption_.c_str(), length, &lit, format);
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
        ::DrawTextW(dc, caption_.c_str(), length, &place, format);
    }
    ::SetBkMode(dc, previousMode);
}

}  // namespace pelluna::win32
