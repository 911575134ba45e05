#pragma once

#include "join/BuildFlow.h"
#include "win32/Twips.h"
#include "win32/WaitWatch.h"
#include "win32/WinDialogs.h"
#include "win32/WindowBase.h"

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
// Every handled event goes to one handler, named after its control and event. Created hidden,
// centred on the screen; the message loop (MessageLoop.h) drives it and, while a build runs,
// the build.
class frmPartwright final : public WindowBase {
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
    bool Form_QueryUnload();
    void Form_Command(int id);
    void Form_DropFiles(HDROP drop);
    LRESULT lvwFiles_Notify(const NMHDR& header, LPARAM lParam);

    void cmdFiles_Click();
    void addPickedParts(const std::string& directory, std::vector<std::string> paths);
    void cmdClear_Click();
    void cmdDelete_Click();
    void lvwFiles_KeyDown(WORD KeyCode);
    void cmdSort_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdDestination_Click();
    void cmdBuild_Click();
    void cmdHelp_Click();
    void cmdAbout_Click();

    // The build: the loop's part of driving it, its questions and its progress window.
    template <typename Step> void driveBuild(Step step);
    void followBuild();
    bool askHoldingBuild(const std::string& question);
    void buildSignalled();
    void cancelBuild();
    void buildEnded();
    void endBuildWithError(const std::string& message);

    void EnableControls(bool Enabled);
    void enterBusyState();
    void leaveBusyState();
    void setBusyPointer(bool busy);
    void showDestination(const std::string& path);
    std::string destinationPath() const;

    WindowServices services_;
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
    // The destination box shows paths escaped. The path behind the text the program put there,
    // used byte for byte for as long as the box shows that text.
    struct ShownPath {
        std::string text;
        std::string path;
    };
    ShownPath shownDestination_;

    std::unique_ptr<BuildFlow> build_;
    std::unique_ptr<ProgressWindow> progress_;
    std::unique_ptr<WaitWatch> waits_;
    HWND focusBeforeBuild_ = nullptr;
    HWND focusWhenInactive_ = nullptr;
    bool busyPointer_ = false;
    bool closeWhenBuilt_ = false;
    bool questionOpen_ = false; // the build holds until the open question is answered
};

} // namespace partwright::win32
