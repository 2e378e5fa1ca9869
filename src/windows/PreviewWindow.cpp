// The real preview window: a black borderless window with the stored picture in its Img_Prev control.
#include "windows/PreviewWindow.h"

#include "platform/win32/HandleCast.h"
#include "resources/resource.h"
#include "windows/WindowClass.h"

namespace pelluna::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"PellunaPreviewWindow";
constexpr wchar_t kImageClass[] = L"PellunaPreviewImage";

}  // namespace

PreviewWindow::PreviewWindow(HINSTANCE instance)
    : instance_(instance), picture_(instance, IDR_PREVIEW_PICTURE) {}

PreviewWindow::~PreviewWindow() {
    if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
}

Hwnd PreviewWindow::Load() {
    const auto black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    RegisterWindowClass(instance_, kWindowClass, &PreviewWindow::WindowProc, black);
    RegisterWindowClass(instance_, kImageClass, &PreviewWindow::ImageProc, black);
    window_ = ::CreateWindowExW(0, kWindowClass, L"Preview Window", WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr,
                                nullptr, instance_, nullptr);
    // Borderless, yet no popup: a popup stays one after WS_CHILD is added, and then has no parent. The
    // system gives every new top-level window a caption, so take that off again.
    ::SetWindowLongW(window_, GWL_STYLE, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    image_ = ::CreateWindowExW(0, kImageClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr,
                               instance_, nullptr);
    ::SetWindowLongPtrW(image_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&picture_));
    return FromWin(window_);
}

double PreviewWindow::TwipsPerPixelX() {
    return ScreenTwipsPerPixel(LOGPIXELSX);
}
double PreviewWindow::TwipsPerPixelY() {
    return ScreenTwipsPerPixel(LOGPIXELSY);
}

void PreviewWindow::Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    const double x = TwipsPerPixelX();
    const double y = TwipsPerPixelY();
    ::SetWindowPos(window_, nullptr, Rounded(left / x), Rounded(top / y), Rounded(width / x),
                   Rounded(height / y), SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewWindow::MoveImage(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    ::MoveWindow(image_, left, top, width, height, TRUE);
}

void PreviewWindow::Show() {
    ::ShowWindow(window_, SW_SHOWNA);
}

LRESULT CALLBACK PreviewWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The preview lives as long as its window: it goes when the host's box destroys it.
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK PreviewWindow::ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return ::DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    if (const auto* picture =
            reinterpret_cast<const StoredPicture*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
        // The control has the box's size in pixels, which grows with the display's scale.
        RECT client{};
        ::GetClientRect(window, &client);
        picture->Draw(dc, SIZE{client.right, client.bottom});
    }
    ::EndPaint(window, &paint);
    return 0;
}

}  // namespace pelluna::win32
