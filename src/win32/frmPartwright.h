#pragma once

#include "join/BuildFlow.h"
#include "win32/Twips.h"
#include "win32/WaitWatch.h"
#include "win32/WinDialogs.h"
#include "win32/WindowBase.h"
#include "window/MainWindowController.h"
#include "window/MainWindowView.h"

#include <memory>
#include <string>
#include <vector>

namespace partwright::win32 {

class ListViewControl;
class ProgressWindow;

// What the main window needs from outside; the program passes the system's own.
struct WindowServices {
    JoinCommandFactory joinCommand;
    std::shared_ptr<WinDialogs> dialogs;
};

WindowServices SystemWindowServices();

// The main window: the input list, the destination and the buttons that run the operations.
// Every handled event goes to one handler of the window's logic (MainWindowController), named
// after its control and event; the window is the logic's view on the Win32 API. Created hidden,
// centred on the screen; the message loop (MessageLoop.h) drives it and, while a build runs,
// the build.
class frmPartwright final : public WindowBase, private MainWindowView {
public:
    explicit frmPartwright(WindowServices services = SystemWindowServices());
    ~frmPartwright() override;

    void show(int showCommand = SW_SHOWNORMAL);
    bool isBuilding() const;

private:
    // Posted by the wait threads when something the build waits for is signalled.
    static constexpr UINT kBuildSignalled = WM_APP + 1;

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void createControls();
    void addTooltips();
    void Form_Load();
    void Form_Paint();
    void Form_Activate(bool active);
    void Form_Command(int id);
    void Form_DropFiles(HDROP drop);
    LRESULT lvwFiles_Notify(const NMHDR& header, LPARAM lParam);

    // The view of the window's logic.
    InputList& list() override;
    std::string destinationText() const override;
    void setDestinationText(const std::string& text) override;
    std::string chooseFile(FileDialogKind kind) override;
    void report(ReportKind kind, const std::string& text) override;
    bool askYesNo(const std::string& question, DefaultAnswer preferred) override;
    void showAbout() override;
    void setBusy(bool busy) override;
    void setBusyPointer(bool busy) override;
    void watch(const std::vector<std::intptr_t>& waitables) override;
    void showProgress(BuildFlow& build) override;
    void closeProgress() override;
    void closeWindow() override;

    WindowServices services_;
    MainWindowController logic_;
    Twips twips_ = Twips::OfScreen();

    HWND lblFiles = nullptr;
    HWND lvwFiles = nullptr;
    HWND cmdFiles = nullptr;
    HWND cmdClear = nullptr;
    HWND cmdDelete = nullptr;
    HWND cmdSort = nullptr;
    HWND cmdUp = nullptr;
    HWND cmdDown = nullptr;
    HWND lblDestination = nullptr;
    HWND txtOuputIso = nullptr;
    HWND cmdDestination = nullptr;
    HWND cmdBuild = nullptr;
    HWND cmdHelp = nullptr;
    HWND cmdAbout = nullptr;
    HWND imgQuillon = nullptr;
    HWND tooltips_ = nullptr;

    HFONT font_ = nullptr;
    HICON programIcon_ = nullptr;
    HICON programIconSmall_ = nullptr;
    HICON upIcon_ = nullptr;
    HICON downIcon_ = nullptr;
    HICON questionIcon_ = nullptr;
    HBITMAP quillon_ = nullptr;

    std::unique_ptr<ListViewControl> list_;
    std::unique_ptr<ProgressWindow> progress_;
    std::unique_ptr<WaitWatch> waits_;
    HWND focusBeforeBuild_ = nullptr;
    HWND focusWhenInactive_ = nullptr;
    bool busyPointer_ = false;
};

} // namespace partwright::win32
