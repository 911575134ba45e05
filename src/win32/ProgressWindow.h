#pragma once

#include "join/BuildFlow.h"
#include "join/Progress.h"
#include "win32/WindowBase.h"

#include <chrono>
#include <functional>
#include <string>

namespace partwright::win32 {

// Shows how far a join has come: bytes written of the image, the speed and the time left, four
// times a second, then the flush to disk. Cancel, Esc and the close button all ask to cancel the
// build. It does not block the main window, whose "Read Help" stays usable.
class ProgressWindow final : public WindowBase {
public:
    ProgressWindow(HWND mainWindow, HFONT font, const std::string& destination, int partCount,
                   std::function<BuildFigures()> figures, std::function<void()> cancel);
    ~ProgressWindow() override;

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void refresh();

    std::function<BuildFigures()> figures_;
    std::function<void()> cancel_;
    HWND barProgress = nullptr;
    HWND lblFigures = nullptr;
    HWND cmdCancel = nullptr;
    bool flushing_ = false;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    ThroughputMeter meter_;
};

} // namespace partwright::win32
