#pragma once

#include "join/BuildFlow.h"
#include "join/Progress.h"
#include "win32/WindowBase.h"

#include <chrono>
#include <functional>
#include <string>

namespace partwright::win32 {

// Shows how far a build has come, four times a second: what it does (checking the checksums, the
// join, the flush to disk), the bytes done of all, the speed and the time left. Cancel, Esc and
// the close button all ask to cancel. It does not block the main window, whose "Read Help" stays
// usable.
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
    HWND lblAction = nullptr;
    HWND barProgress = nullptr;
    HWND lblFigures = nullptr;
    HWND cmdCancel = nullptr;
    std::string action_;
    bool marquee_ = false;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    ProgressReading reading_;
};

} // namespace partwright::win32
