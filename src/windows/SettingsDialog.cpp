// The real settings dialog: a fixed-border window whose two panels and controls come from the layout table,
// with the shading kept in persistent images; its messages go to the portable Pelluna_P.
#include "windows/SettingsDialog.h"

#include <cstdlib>

#include "common/Numbers.h"
#include "common/TextRules.h"
#include "platform/win32/HandleCast.h"
#include "resources/resource.h"

namespace pelluna::win32 {
namespace {

using C = DialogControl;

constexpr char kDialogClassA[] = "PellunaSettingsDialog";
constexpr wchar_t kDialogClass[] = L"PellunaSettingsDialog";
constexpr wchar_t kPanelClass[] = L"PellunaSettingsPanel";
constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr COLORREF kBaseBackground = RGB(192, 192, 192);
constexpr int kIndicatorPixels = 12;   // the stored pictures' side
constexpr int kComboListHeight = 160;  // the dropped list below the field, in pixels at 96 dots per inch

std::size_t SurfaceIndex(C surface) {
    return surface == C::Pic_C0 ? 1 : surface == C::Pic_C1 ? 2 : 0;
}

int Rounded(double value) {
    return numbers::RoundToInt32(value).value_or(0);
}

// Selects an object into a DC for one scope.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelect() { ::SelectObject(dc_, previous_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's device context (the screen's for no window), released with the scope.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() { ::ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

void RegisterClass(HINSTANCE instance, const wchar_t* name, HICON icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
}

}  // namespace

PersistentImage::PersistentImage(int width, int height, COLORREF background) {
    {
        const WindowDc screen(nullptr);
        dc_.reset(::CreateCompatibleDC(screen.Get()));
        bitmap_.reset(::CreateCompatibleBitmap(screen.Get(), width > 0 ? width : 1, height > 0 ? height : 1));
    }
    if (!dc_ || !bitmap_) return;
    previous_ = ::SelectObject(dc_.get(), bitmap_.get());
    const RECT all{0, 0, width, height};
    ::SetDCBrushColor(dc_.get(), background);
    ::FillRect(dc_.get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

PersistentImage::~PersistentImage() {
    Release();
}

PersistentImage::PersistentImage(PersistentImage&& other) noexcept
    : dc_(std::move(other.dc_)), bitmap_(std::move(other.bitmap_)), previous_(other.previous_) {
    other.previous_ = nullptr;
}

PersistentImage& PersistentImage::operator=(PersistentImage&& other) noexcept {
    if (this != &other) {
        Release();
        dc_ = std::move(other.dc_);
        bitmap_ = std::move(other.bitmap_);
        previous_ = other.previous_;
        other.previous_ = nullptr;
    }
    return *this;
}

void PersistentImage::Release() {
    // The bitmap leaves the DC before either is deleted.
    if (dc_ && previous_) ::SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    dc_.reset();
    bitmap_.reset();
}

LOGFONTW DialogLogFont(const UiTexts& texts, int dotsPerInch) {
    LOGFONTW font{};
    if (texts.font == DialogFont::SystemMessage) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            font = metrics.lfMessageFont;
        } else {
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        }
        const int systemDpi = ::GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY);
        if (systemDpi > 0) font.lfHeight = ::MulDiv(font.lfHeight, dotsPerInch, systemDpi);
        return font;
    }
    // "ＭＳ Ｐゴシック" 9.75 points, regular, Shift-JIS.
    font.lfHeight = -::MulDiv(975, dotsPerInch, 7200);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    kDialogFontName.copy(font.lfFaceName, LF_FACESIZE - 1);
    return font;
}

SettingsDialog::SettingsDialog(HINSTANCE instance, const Platform& platform, const UiTexts& texts,
                               int dotsPerInch)
    : instance_(instance), platform_(platform), texts_(texts) {
    dotsPerInch_ = dotsPerInch > 0 ? dotsPerInch : ::GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSX);
    if (dotsPerInch_ <= 0) dotsPerInch_ = 96;

    HICON umbrella = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_UMBRELLA), IMAGE_ICON, 32, 32, LR_SHARED));
    RegisterClass(instance, kDialogClass, umbrella);
    RegisterClass(instance, kPanelClass, nullptr);
    pointingHand_ = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_POINTING_HAND));
    indicators_[0].reset(static_cast<HBITMAP>(::LoadImageW(
        instance, MAKEINTRESOURCEW(IDB_INDICATOR_UNSELECTED), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    indicators_[1].reset(static_cast<HBITMAP>(::LoadImageW(instance, MAKEINTRESOURCEW(IDB_INDICATOR_SELECTED),
                                                           IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));

    // The address in the same font underlined.
    LOGFONTW font = DialogLogFont(texts, dotsPerInch_);
    font_.reset(::CreateFontIndirectW(&font));
    font.lfUnderline = TRUE;
    underlinedFont_.reset(::CreateFontIndirectW(&font));
    // A message font larger than the one the layout was made for (another face, bigger text set by the
    // user) grows the whole dialog with it.
    twipsPerPixel_ = 1440.0 / dotsPerInch_ / Growth();

    RECT outer{0, 0, ToPixels(kDialogClientWidth), ToPixels(kDialogClientHeight)};
    ::AdjustWindowRectEx(&outer, kDialogStyle, FALSE, 0);
    const std::string title = platform.text.ToAnsi(texts.dialogTitle);
    window_ = ::CreateWindowExA(0, kDialogClassA, title.c_str(), kDialogStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                instance, nullptr);
    if (window_ == nullptr) return;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SettingsDialog::WindowProc));
    RECT client{};
    ::GetClientRect(window_, &client);
    images_[0] = PersistentImage(client.right, client.bottom, kBaseBackground);
    CreateControls();
}

SettingsDialog::~SettingsDialog() {
    Unload();
}

int SettingsDialog::ToPixels(std::int32_t twips) const {
    return Rounded(twips / twipsPerPixel_);
}

double SettingsDialog::Growth() {
    const WindowDc screen(nullptr);
    // The window may grow up to its monitor's work area, its frame and title bar included; it is placed on
    // the primary monitor, whose corner is the screen's origin.
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
    const WindowRoom room{WorkArea(Point{0, 0}), frame.right - frame.left, frame.bottom - frame.top};
    return LayoutGrowth(
        [&](const LayoutEntry& entry) -> std::optional<TextExtent> {
            const std::wstring_view text = texts_.Caption(entry);
            if (text.empty() || (entry.style & text_style::Border)) return std::nullopt;
            ScopedSelect font(screen.Get(),
                              (entry.style & text_style::Underline) ? underlinedFont_.get() : font_.get());
            SIZE extent{};
            ::GetTextExtentPoint32W(screen.Get(), text.data(), static_cast<int>(text.size()), &extent);
            TEXTMETRICW metrics{};
            ::GetTextMetricsW(screen.Get(), &metrics);
            return TextExtent{extent.cx, metrics.tmHeight - metrics.tmInternalLeading};
        },
        dotsPerInch_ / 1440.0, room);
}

Rect SettingsDialog::WorkArea(Point point) {
    MonitorInfoEx info;
    const Hmonitor monitor = platform_.user.MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (monitor != 0 && platform_.user.GetMonitorInfoW(monitor, info)) return info.rcWork;
    return Rect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void SettingsDialog::CreateControls() {
    for (const LayoutEntry& entry : DialogLayout()) {
        Control& control = At(entry.control);
        control.entry = &entry;
        control.text = std::wstring(texts_.Caption(entry));
        control.value = entry.min;
        control.rect = RECT{ToPixels(entry.left), ToPixels(entry.top), ToPixels(entry.left + entry.width),
                            ToPixels(entry.top + entry.height)};
        CreateControl(control);
    }
}

void SettingsDialog::CreateControl(Control& control) {
    const LayoutEntry& entry = *control.entry;
    HWND parent = entry.parent == C::Form ? window_ : At(entry.parent).window;
    const RECT& r = control.rect;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const auto child = [&](const wchar_t* className, DWORD style, int childHeight) {
        HWND window =
            ::CreateWindowExW(0, className, control.text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left,
                              r.top, width, childHeight, parent, nullptr, instance_, nullptr);
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return window;
    };
    switch (entry.kind) {
        case ControlKind::Panel:
            control.window = child(kPanelClass, WS_CLIPCHILDREN, height);
            ::SetWindowLongPtrW(control.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            ::SetWindowLongPtrW(control.window, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(&SettingsDialog::WindowProc));
            images_[SurfaceIndex(entry.control)] = PersistentImage(width, height, kBaseBackground);
            break;
        case ControlKind::Command: {
            // The buttons store only their caption and the dialog's font; the rest keeps its defaults.
            // The size in points at the dialog's own twips per pixel, which the button converts with: a
            // dialog grown with its font keeps the font's size.
            const LOGFONTW font = DialogLogFont(texts_, dotsPerInch_);
            const double growth = 1440.0 / dotsPerInch_ / twipsPerPixel_;
            const FontObject dialogFont{
                texts_.font == DialogFont::Japanese ? std::wstring(kDialogFontName) : font.lfFaceName,
                texts_.font == DialogFont::Japanese ? kDialogFontPoints / growth
                                                    : std::abs(font.lfHeight) * twipsPerPixel_ / 20.0,
                static_cast<std::int16_t>(font.lfWeight),
                false,
                false,
                false,
                font.lfCharSet};
            PropertyBag stored;
            stored.WriteProperty(L"Caption", control.text, L"Command");
            stored.WriteProperty(L"Font", FontToText(dialogFont), L"");
            control.button = std::make_unique<CommandButton>(
                platform_, instance_, parent, static_cast<int>(entry.control), entry.left, entry.top,
                entry.width, entry.height, dialogFont, &stored, twipsPerPixel_);
            control.window = control.button->Window();
            const DialogControl id = entry.control;
            control.button->OnClick = [this, id] {
                if (logic_ == nullptr) return;
                if (id == C::Cmd_Set) logic_->Cmd_Set_Click();
                if (id == C::Cmd_Can) logic_->Cmd_Can_Click();
                if (id == C::Cmd_BGM) logic_->Cmd_BGM_Click();
            };
            break;
        }
        case ControlKind::ComboBox: {
            // The window's height includes the dropped list; the field itself keeps the table's height.
            control.window = child(L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP,
                                   height + ::MulDiv(kComboListHeight, dotsPerInch_, 96));
            ::SendMessageW(control.window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - 6);
            break;
        }
        case ControlKind::HScrollBar:
            control.window = child(L"SCROLLBAR", SBS_HORZ | WS_TABSTOP, height);
            ::SetScrollRange(control.window, SB_CTL, entry.min, entry.max, FALSE);
            ::SetScrollPos(control.window, SB_CTL, entry.min, TRUE);
            break;
        case ControlKind::Label:
            if (entry.style & text_style::AutoSize) {
                // Sized to the text in its font.
                const WindowDc dc(parent);
                SIZE extent{};
                ScopedSelect font(
                    dc.Get(), (entry.style & text_style::Underline) ? underlinedFont_.get() : font_.get());
                ::GetTextExtentPoint32W(dc.Get(), control.text.c_str(), static_cast<int>(control.text.size()),
                                        &extent);
                // Whatever the font's height, the text keeps the middle of its box, and so of its row. It
                // never reaches the next control: where the dialog could not grow enough, it ends in "...".
                control.rect.right =
                    r.left + std::min<LONG>(extent.cx, ToPixels(entry.left + TextRoom(entry)) - r.left);
                control.rect.top = r.top + (r.bottom - r.top - extent.cy) / 2;
                control.rect.bottom = control.rect.top + extent.cy;
            }
            break;
        case ControlKind::Image:
        case ControlKind::Shape:
            break;
    }
}

void SettingsDialog::ShowModal() {
    if (window_ == nullptr || logic_ == nullptr) return;
    logic_->Load();
    // The window gets its size as it is shown: the shading goes into the images first, so it is never
    // seen unshaded.
    logic_->Resize();
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);

    MSG message;
    while (!destroyed_ && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Keys anywhere in the dialog go to the dialog first (Tab, Enter, Space, Escape), then to the
        // control.
        const bool inDialog = message.hwnd == window_ || ::IsChild(window_, message.hwnd);
        const auto key = static_cast<std::int16_t>(message.wParam);
        if (inDialog && message.message == WM_KEYDOWN) {
            const std::int16_t shift = ::GetKeyState(VK_SHIFT) < 0 ? 1 : 0;
            if (logic_->KeyDown(key, shift)) continue;
        }
        if (inDialog && message.message == WM_KEYUP && logic_->KeyUp(key)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

LRESULT CALLBACK SettingsDialog::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SettingsDialog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->logic_ == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(window, message, wParam, lParam);
}

DialogControl SettingsDialog::SurfaceOf(HWND window) const {
    if (window == controls_[static_cast<std::size_t>(C::Pic_C0)].window) return C::Pic_C0;
    if (window == controls_[static_cast<std::size_t>(C::Pic_C1)].window) return C::Pic_C1;
    return C::Form;
}

LRESULT SettingsDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const C surface = SurfaceOf(window);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the persistent image covers the whole surface
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_LBUTTONDOWN: {
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            pressed_ = ClickableAt(surface, point);
            return 0;
        }
        case WM_LBUTTONUP: {
            // A click is the button going down and coming up on the same text or image.
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const std::optional<C> released = ClickableAt(surface, point);
            const std::optional<C> pressed = pressed_;
            pressed_.reset();
            if (released && released == pressed) Clicked(*released);
            return 0;
        }
        case WM_SETCURSOR:
            if (hourglass_) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            if (window == window_ && LOWORD(lParam) == HTCLIENT && OverAddress() &&
                pointingHand_ != nullptr) {
                ::SetCursor(pointingHand_);
                return TRUE;
            }
            return ::DefWindowProcW(window, message, wParam, lParam);
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // The focus rectangle of a drawn name comes and goes with its panel's focus.
            if (window != window_) ::InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_HSCROLL:
            Scrolled(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            if (window != window_) break;
            if (LOWORD(wParam) == WA_INACTIVE) {
                logic_->Deactivate();
                break;
            }
            // The dialog puts the focus on its control; the default would put it on the window itself.
            logic_->Activate();
            return 0;
        case WM_CLOSE:
            logic_->QueryUnload();
            return 0;
        case WM_DESTROY:
            if (window == window_) destroyed_ = true;
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void SettingsDialog::Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    PaintSurface(SurfaceOf(window), dc);
    ::EndPaint(window, &paint);
}

void SettingsDialog::PaintSurface(DialogControl surface, HDC dc) {
    HWND window = surface == C::Form ? window_ : At(surface).window;
    RECT client{};
    ::GetClientRect(window, &client);
    // The shading comes from the persistent image; the windowless controls are drawn over it.
    ::BitBlt(dc, 0, 0, client.right, client.bottom, images_[SurfaceIndex(surface)].Dc(), 0, 0, SRCCOPY);
    ::SetBkMode(dc, TRANSPARENT);
    const COLORREF textColour = ::GetSysColor(COLOR_WINDOWTEXT);
    ScopedSelect pen(dc, ::GetStockObject(DC_PEN));
    ScopedSelect brush(dc, ::GetStockObject(NULL_BRUSH));
    ::SetDCPenColor(dc, textColour);
    for (const Control& control : controls_) {
        if (control.entry == nullptr || control.entry->parent != surface) continue;
        RECT r = control.rect;
        switch (control.entry->kind) {
            case ControlKind::Shape:
                ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
                break;
            case ControlKind::Image:
                if (control.picture) {
                    HBITMAP bitmap =
                        indicators_[*control.picture == IndicatorPicture::Selected ? 1 : 0].get();
                    if (bitmap == nullptr) break;
                    OwnedDc source(::CreateCompatibleDC(dc));
                    ScopedSelect picture(source.get(), bitmap);
                    // Grown with the dialog, in the middle of its box and so of the name's row.
                    const int side = ToPixels(kIndicatorSide);
                    ::SetStretchBltMode(dc, COLORONCOLOR);
                    ::StretchBlt(dc, (r.left + r.right - side) / 2, (r.top + r.bottom - side) / 2, side, side,
                                 source.get(), 0, 0, kIndicatorPixels, kIndicatorPixels, SRCCOPY);
                }
                break;
            case ControlKind::Label: {
                const unsigned style = control.entry->style;
                ScopedSelect font(dc, (style & text_style::Underline) ? underlinedFont_.get() : font_.get());
                ::SetTextColor(dc, (style & text_style::White) ? RGB(255, 255, 255) : textColour);
                // The path box wraps to its two lines; any other text is one line, which ends in "..." where
                // the dialog could not grow enough for it.
                const UINT format =
                    DT_NOPREFIX | ((style & text_style::Centred) ? DT_CENTER : DT_LEFT) |
                    ((style & text_style::Border) ? DT_WORDBREAK : DT_SINGLELINE | DT_END_ELLIPSIS);
                std::wstring shortened;
                if (style & text_style::Border) {
                    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
                    // The sides keep a margin that grows with the dialog; the height is all kept for the two
                    // lines the box is made for (a line's leading clears the border above it).
                    ::InflateRect(&r, -std::max(2, ToPixels(2 * kPaintMargin)), 0);
                    // The path box: a path too long for it keeps its file name in sight.
                    shortened = ShortenedPath(control.text, [&](std::wstring_view shown) {
                        RECT needed{0, 0, r.right - r.left, 0};
                        ::DrawTextW(dc, shown.data(), static_cast<int>(shown.size()), &needed,
                                    format | DT_CALCRECT);
                        return needed.right <= r.right - r.left && needed.bottom <= r.bottom - r.top;
                    });
                }
                const std::wstring& text = (style & text_style::Border) ? shortened : control.text;
                ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
                break;
            }
            default:
                break;
        }
    }
    if (focusedName_ && ::GetFocus() == window) {
        RECT r = At(*focusedName_).rect;
        const int margin = std::max(1, ToPixels(kPaintMargin));
        ::InflateRect(&r, margin, margin);
        ::DrawFocusRect(dc, &r);
    }
}

std::optional<DialogControl> SettingsDialog::ClickableAt(DialogControl surface, POINT point) {
    constexpr C kClickable[] = {C::Img_BGM0, C::Img_BGM1, C::Img_BGM2, C::lbl_BGM0,
                                C::lbl_BGM1, C::lbl_BGM2, C::lbl_URL};
    for (const C candidate : kClickable) {
        const Control& control = At(candidate);
        if (control.entry != nullptr && control.entry->parent == surface &&
            ::PtInRect(&control.rect, point)) {
            return candidate;
        }
    }
    return std::nullopt;
}

void SettingsDialog::Clicked(DialogControl control) {
    switch (control) {
        case C::Img_BGM0:
            logic_->Img_BGM_Click(0);
            break;
        case C::Img_BGM1:
            logic_->Img_BGM_Click(1);
            break;
        case C::Img_BGM2:
            logic_->Img_BGM_Click(2);
            break;
        case C::lbl_BGM0:
            logic_->lbl_BGM_Click(0);
            break;
        case C::lbl_BGM1:
            logic_->lbl_BGM_Click(1);
            break;
        case C::lbl_BGM2:
            logic_->lbl_BGM_Click(2);
            break;
        case C::lbl_URL:
            logic_->lbl_URL_Click();
            break;
        default:
            break;
    }
}

void SettingsDialog::Scrolled(HWND bar, int code) {
    for (const Control& control : controls_) {
        if (control.window != bar || control.entry == nullptr) continue;
        std::int32_t trackPosition = 0;
        if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            if (!::GetScrollInfo(bar, SB_CTL, &info)) return;
            trackPosition = info.nTrackPos;
        }
        logic_->HS_Scroll(control.entry->control, code, trackPosition);
        return;
    }
}

bool SettingsDialog::OverAddress() {
    POINT point{};
    if (!::GetCursorPos(&point) || !::ScreenToClient(window_, &point)) return false;
    return ::PtInRect(&At(C::lbl_URL).rect, point) != FALSE;
}

Hwnd SettingsDialog::hWnd() {
    return FromWin(window_);
}

Handle SettingsDialog::hInstance() {
    return FromWin(instance_);
}

std::int32_t SettingsDialog::ScreenWidth() {
    return Rounded(::GetSystemMetrics(SM_CXSCREEN) * twipsPerPixel_);
}

std::int32_t SettingsDialog::ScreenHeight() {
    return Rounded(::GetSystemMetrics(SM_CYSCREEN) * twipsPerPixel_);
}

std::int32_t SettingsDialog::Width() {
    RECT r{};
    ::GetWindowRect(window_, &r);
    return Rounded((r.right - r.left) * twipsPerPixel_);
}

std::int32_t SettingsDialog::Height() {
    RECT r{};
    ::GetWindowRect(window_, &r);
    return Rounded((r.bottom - r.top) * twipsPerPixel_);
}

void SettingsDialog::Move(std::int32_t left, std::int32_t top) {
    // Wherever the place asked for lies, the whole window stays within the work area of its monitor.
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const Point wanted{ToPixels(left), ToPixels(top)};
    const Point place =
        PlaceWithin(WorkArea(Point{wanted.x + width / 2, wanted.y + height / 2}), wanted, width, height);
    ::SetWindowPos(window_, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::Initialize(DialogControl control) {
    if (CommandButton* button = At(control).button.get()) button->Logic().Initialize();
}

void SettingsDialog::SetEnabled(DialogControl control, bool New_Enabled) {
    At(control).enabled = New_Enabled;
    if (CommandButton* button = At(control).button.get()) {
        button->Logic().Enabled(New_Enabled);
        return;
    }
    if (HWND window = At(control).window) ::EnableWindow(window, New_Enabled ? TRUE : FALSE);
}

void SettingsDialog::ShowPressed(DialogControl control, bool pressed) {
    if (CommandButton* button = At(control).button.get()) button->Logic().KeyPressLook(pressed);
}

void SettingsDialog::SetPicture(DialogControl control, IndicatorPicture picture) {
    Control& image = At(control);
    image.picture = picture;
    HWND parent = At(image.entry->parent).window;
    ::InvalidateRect(parent ? parent : window_, &image.rect, FALSE);
}

void SettingsDialog::SetText(DialogControl control, const std::wstring& text) {
    Control& target = At(control);
    target.text = text;
    if (target.window != nullptr) {
        ::SetWindowTextW(target.window, text.c_str());
        return;
    }
    HWND parent = target.entry->parent == C::Form ? window_ : At(target.entry->parent).window;
    ::InvalidateRect(parent, &target.rect, FALSE);
}

std::wstring SettingsDialog::GetText(DialogControl control) {
    Control& source = At(control);
    if (source.window == nullptr) return source.text;
    const int length = ::GetWindowTextLengthW(source.window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = ::GetWindowTextW(source.window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void SettingsDialog::AddItem(DialogControl control, const std::wstring& item) {
    ::SendMessageW(At(control).window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

bool SettingsDialog::SetValue(DialogControl control, std::int32_t value) {
    Control& bar = At(control);
    if (bar.entry == nullptr || value < bar.entry->min || value > bar.entry->max) return false;
    bar.value = value;
    ::SetScrollPos(bar.window, SB_CTL, value, TRUE);
    return true;
}

std::int32_t SettingsDialog::GetValue(DialogControl control) {
    return At(control).value;
}

void SettingsDialog::ClientSize(DialogControl surface, std::int32_t& width, std::int32_t& height) {
    RECT client{};
    ::GetClientRect(surface == C::Form ? window_ : At(surface).window, &client);
    width = client.right;
    height = client.bottom;
}

void SettingsDialog::Line(DialogControl surface, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                          std::int32_t y2, ColorRef color) {
    HDC image = images_[SurfaceIndex(surface)].Dc();
    if (image == nullptr) return;
    ScopedSelect pen(image, ::GetStockObject(DC_PEN));
    ::SetDCPenColor(image, color);
    ::MoveToEx(image, x1, y1, nullptr);
    ::LineTo(image, x2, y2);
    ::InvalidateRect(surface == C::Form ? window_ : At(surface).window, nullptr, FALSE);
}

std::optional<DialogControl> SettingsDialog::FocusedControl() {
    HWND focus = ::GetFocus();
    if (focus == nullptr) return std::nullopt;
    if (focusedName_ && focus == At(At(*focusedName_).entry->parent).window) return focusedName_;
    // The focus may sit in a part of a control (the track list's edit field); panels hold no focus.
    for (const Control& control : controls_) {
        if (control.entry == nullptr || control.window == nullptr ||
            control.entry->kind == ControlKind::Panel)
            continue;
        if (control.window == focus || ::IsChild(control.window, focus)) return control.entry->control;
    }
    return std::nullopt;
}

void SettingsDialog::SetFocus(DialogControl control) {
    const Control& target = At(control);
    if (target.entry == nullptr) return;
    if (target.window != nullptr) {
        ::SetFocus(target.window);
        return;
    }
    // A drawn name: its panel holds the focus, and the rectangle moves to the name.
    HWND panel = At(target.entry->parent).window;
    if (panel == nullptr) return;
    focusedName_ = control;
    if (::GetFocus() == panel) {
        ::InvalidateRect(panel, nullptr, FALSE);
    } else {
        ::SetFocus(panel);
    }
}

bool SettingsDialog::IsEnabled(DialogControl control) {
    return At(control).enabled;
}

bool SettingsDialog::DroppedDown(DialogControl control) {
    HWND window = At(control).window;
    return window != nullptr && ::SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

void SettingsDialog::SetMousePointer(MousePointer pointer) {
    hourglass_ = pointer == MousePointer::Hourglass;
    ::SetCursor(::LoadCursorW(nullptr, hourglass_ ? IDC_WAIT : IDC_ARROW));
}

void SettingsDialog::Unload() {
    if (window_ == nullptr) return;
    HWND window = window_;
    window_ = nullptr;
    destroyed_ = true;
    ::DestroyWindow(window);
}

}  // namespace pelluna::win32
