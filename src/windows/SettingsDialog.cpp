// The real settings dialog: a fixed-border window whose two panels and controls come from the layout table,
// with the shading kept in persistent images; its messages go to the portable Pelluna_P.
#include "windows/SettingsDialog.h"

#include <cstdlib>

#include "common/TextRules.h"
#include "resources/resource.h"
#include "settings/DialogFonts.h"
#include "windows/WindowClass.h"

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

// The system's message font, its size scaled from the system's DPI to dotsPerInch as the system scales it.
FontObject MessageFont(int dotsPerInch) {
    LOGFONTW font{};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    }
    const int systemDpi = ScreenDotsPerInch(LOGPIXELSY);
    if (systemDpi > 0) font.lfHeight = ::MulDiv(font.lfHeight, dotsPerInch, systemDpi);
    return FontObject{font.lfFaceName,
                      std::abs(font.lfHeight) * 72.0 / dotsPerInch,
                      static_cast<std::int16_t>(font.lfWeight),
                      font.lfItalic != 0,
                      font.lfUnderline != 0,
                      font.lfStrikeOut != 0,
                      font.lfCharSet};
}

// A surface's persistent image, filled with the base colour.
BitmapDC PersistentImage(int width, int height) {
    BitmapDC image = BitmapDC::ForScreen(width, height);
    if (!image) return image;
    const RECT all{0, 0, width, height};
    ::SetDCBrushColor(image.dc(), kBaseBackground);
    ::FillRect(image.dc(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    return image;
}

}  // namespace

LOGFONTW DialogLogFont(const UiTexts& texts, int dotsPerInch) {
    return LogFontOf(DialogTextFont(texts.font, MessageFont(dotsPerInch)), dotsPerInch / 72.0);
}

SettingsDialog::SettingsDialog(HINSTANCE instance, const Platform& platform, const UiTexts& texts,
                               int dotsPerInch)
    : instance_(instance), platform_(platform), texts_(texts) {
    dotsPerInch_ = dotsPerInch > 0 ? dotsPerInch : ScreenDotsPerInch(LOGPIXELSX);
    if (dotsPerInch_ <= 0) dotsPerInch_ = 96;

    HICON umbrella = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_UMBRELLA), IMAGE_ICON, 32, 32, LR_SHARED));
    RegisterWindowClass(instance, kDialogClass, ::DefWindowProcW, nullptr, 0, umbrella);
    RegisterWindowClass(instance, kPanelClass, ::DefWindowProcW);
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
    images_[0] = PersistentImage(client.right, client.bottom);
    CreateControls();
}

SettingsDialog::~SettingsDialog() {
    Unload();
}

int SettingsDialog::ToPixels(std::int32_t twips) const {
    return Rounded(twips / twipsPerPixel_);
}

double SettingsDialog::Growth() {
    const WindowDC screen(nullptr);
    // The window may grow up to its monitor's work area, its frame and title bar included; it is placed on
    // the primary monitor, whose corner is the screen's origin.
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
    const WindowRoom room{WorkArea(Point{0, 0}), frame.right - frame.left, frame.bottom - frame.top};
    return LayoutGrowth(
        [&](const LayoutEntry& entry) -> std::optional<TextExtent> {
            const std::wstring_view text = texts_.Caption(entry);
            if (text.empty() || (entry.style & text_style::Border)) return std::nullopt;
            ScopedSelect font(screen.dc(),
                              (entry.style & text_style::Underline) ? underlinedFont_.get() : font_.get());
            SIZE extent{};
            ::GetTextExtentPoint32W(screen.dc(), text.data(), static_cast<int>(text.size()), &extent);
            TEXTMETRICW metrics{};
            ::GetTextMetricsW(screen.dc(), &metrics);
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
    HWND parent = WindowOf(entry.parent);
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
            ImageOf(entry.control) = PersistentImage(width, height);
            break;
        case ControlKind::Command: {
            // The buttons store only their caption and the dialog's font; the rest keeps its defaults.
            // The size in points at the dialog's own twips per pixel, which the button converts with: a
            // dialog grown with its font keeps the font's size.
            const FontObject dialogFont =
                DialogCommandFont(DialogTextFont(texts_.font, MessageFont(dotsPerInch_)),
                                  1440.0 / dotsPerInch_ / twipsPerPixel_);
            PropertyBag stored;
            stored.WriteProperty(L"Caption", control.text, L"Command");
            stored.WriteProperty(L"Font", FontToText(dialogFont), L"");
            control.button = std::make_unique<CommandButton>(
                platform_, instance_, parent, static_cast<int>(entry.control), entry.left, entry.top,
                entry.width, entry.height, dialogFont, &stored, twipsPerPixel_);
            control.window = control.button->Window();
            control.button->OnClick = [this, id = entry.control] {
                if (logic_ != nullptr) logic_->Click(id);
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
                const WindowDC dc(parent);
                SIZE extent{};
                ScopedSelect font(
                    dc.dc(), (entry.style & text_style::Underline) ? underlinedFont_.get() : font_.get());
                ::GetTextExtentPoint32W(dc.dc(), control.text.c_str(), static_cast<int>(control.text.size()),
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
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the persistent image covers the whole surface
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_LBUTTONDOWN:
            logic_->MouseDown(ClickableAt(window, point));
            return 0;
        case WM_LBUTTONUP:
            logic_->MouseUp(ClickableAt(window, point));
            return 0;
        case WM_SETCURSOR: {
            POINT at{};
            const bool inClient =
                LOWORD(lParam) == HTCLIENT && ::GetCursorPos(&at) && ::ScreenToClient(window, &at);
            const MousePointer pointer =
                logic_->PointerOver(inClient ? ClickableAt(window, at) : std::nullopt);
            // The default is the system's: the class's arrow, or a child control's own pointer.
            HCURSOR cursor = pointer == MousePointer::Default ? nullptr : CursorFor(pointer);
            if (cursor == nullptr) break;
            ::SetCursor(cursor);
            return TRUE;
        }
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
    HWND window = WindowOf(surface);
    RECT client{};
    ::GetClientRect(window, &client);
    // The shading comes from the persistent image; the windowless controls are drawn over it.
    ::BitBlt(dc, 0, 0, client.right, client.bottom, ImageOf(surface).dc(), 0, 0, SRCCOPY);
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

std::optional<DialogControl> SettingsDialog::ClickableAt(HWND window, POINT point) {
    const C surface = SurfaceOf(window);
    for (const C candidate : kClickable) {
        const Control& control = At(candidate);
        if (control.entry != nullptr && control.entry->parent == surface &&
            ::PtInRect(&control.rect, point)) {
            return candidate;
        }
    }
    return std::nullopt;
}

HCURSOR SettingsDialog::CursorFor(MousePointer pointer) const {
    if (pointer == MousePointer::PointingHand) return pointingHand_;
    return ::LoadCursorW(nullptr, pointer == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW);
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

}  // namespace pelluna::win32
