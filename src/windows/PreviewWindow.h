// The real preview window: a black borderless window with the stored picture in its Img_Prev control.
#pragma once

#include <memory>

#include "platform/win32/WindowsApi.h"
#include "saver/PreviewHost.h"
#include "windows/StoredPicture.h"

namespace pelluna::win32 {

class PreviewWindow final : public PreviewHost {
  public:
    explicit PreviewWindow(HINSTANCE instance);
    ~PreviewWindow() override;
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    Hwnd Load() override;
    double TwipsPerPixelX() override;
    double TwipsPerPixelY() override;
    void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void MoveImage(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void Show() override;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    StoredPicture picture_;
    HWND window_ = nullptr;
    HWND image_ = nullptr;  // Img_Prev
};

}  // namespace pelluna::win32
