#include "join/BuildInput.h"
#include "text/Messages.h"
#include "win32/ListViewControl.h"
#include "win32/ProgressWindow.h"
#include "win32/frmPartwright.h"

#include <exception>

// The main window's part in a build: it asks the flow's questions, shows its progress and, from
// the message loop, drives it whenever something the flow waits for is signalled.
namespace partwright::win32 {

bool frmPartwright::isBuilding() const
{
    return build_ != nullptr;
}

void frmPartwright::cmdBuild_Click()
{
    try {
        enterBusyState();
        const std::string destination = destinationPath();
        if (!IsBuildInputValid(static_cast<std::size_t>(list_->count()), destination)) {
            leaveBusyState();
            ShowError(*services_.dialogs, hwnd_, messages::kInvalidInput);
            return;
        }
        BuildFlowWindow& window = *this; // a private base, reachable from here only
        build_ = std::make_unique<BuildFlow>(window, services_.joinCommand, EntryTexts(*list_),
                                             destination);
        if (build_->start()) {
            setBusyPointer(true);
            watchBuild();
        } else {
            buildEnded();
        }
    } catch (const std::exception&) {
        closeProgress();
        waits_->stop();
        build_.reset();
        endBuildWithError(messages::BuildFailedUnexpectedly());
    }
}

bool frmPartwright::askYesNo(const std::string& question)
{
    return AskYesNo(*services_.dialogs, hwnd_, question);
}

void frmPartwright::showProgress(const std::string& destination, int partCount)
{
    progress_ = std::make_unique<ProgressWindow>(
        hwnd_, font_, destination, partCount, [this] { return build_->figures(); },
        [this] { cancelBuild(); });
}

void frmPartwright::closeProgress()
{
    progress_.reset();
}

// The flow's waitables may change with every call into it, and it may close one of them meanwhile,
// so the watches stop before each call and start again on what it waits for afterwards.
void frmPartwright::watchBuild()
{
    waits_->watch(build_->waitables());
}

void frmPartwright::buildSignalled()
{
    if (!build_)
        return; // a watch that fired just before its build ended
    try {
        waits_->stop();
        if (build_->signalled())
            buildEnded();
        else
            watchBuild();
    } catch (const std::exception&) {
        closeProgress();
        waits_->stop();
        build_.reset();
        endBuildWithError(messages::BuildFailedUnexpectedly());
    }
}

void frmPartwright::cancelBuild()
{
    if (!build_)
        return;
    waits_->stop();
    build_->cancel();
    watchBuild();
}

// Closing the window during a build asks to cancel it; the window closes once the build has
// cleaned up.
bool frmPartwright::Form_QueryUnload()
{
    if (isBuilding() && !closeWhenBuilt_ &&
        AskYesNo(*services_.dialogs, hwnd_, messages::CancelOnCloseQuestion()) && isBuilding()) {
        closeWhenBuilt_ = true;
        cancelBuild();
    }
    return !isBuilding();
}

void frmPartwright::buildEnded()
{
    waits_->stop();
    closeProgress(); // a flow that failed inside start() may have shown it already
    const std::unique_ptr<BuildFlow> build = std::move(build_);
    setBusyPointer(false);
    leaveBusyState();
    switch (build->ending()) {
    case BuildEnding::Built:
        ShowInfo(*services_.dialogs, hwnd_, build->message());
        break;
    case BuildEnding::Cancelled:
        if (!closeWhenBuilt_) // closing the window asked for the cancel; no report then
            ShowNote(*services_.dialogs, hwnd_, build->message());
        break;
    case BuildEnding::Declined:
        break;
    case BuildEnding::Mismatched:
    case BuildEnding::Failed:
    case BuildEnding::Running:
        ShowError(*services_.dialogs, hwnd_, build->message());
        break;
    }
    if (closeWhenBuilt_)
        DestroyWindow(hwnd_);
}

void frmPartwright::endBuildWithError(const std::string& message)
{
    setBusyPointer(false);
    leaveBusyState();
    ShowError(*services_.dialogs, hwnd_, message);
}

void frmPartwright::EnableControls(bool Enabled)
{
    for (HWND control : {cmdFiles, cmdClear, cmdDelete, cmdSort, cmdDestination, cmdBuild, cmdAbout,
                         cmdUp, cmdDown, lvwFiles, txtOuputIso})
        EnableWindow(control, Enabled);
}

// A disabled control loses the focus; it comes back when the build ends, so the keyboard stays
// where the user left it. Meanwhile "Read Help", which stays usable, has it.
void frmPartwright::enterBusyState()
{
    HWND focus = GetFocus();
    focusBeforeBuild_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
    EnableControls(false);
    if (GetActiveWindow() == hwnd_ && !GetFocus())
        SetFocus(cmdHelp);
}

void frmPartwright::leaveBusyState()
{
    EnableControls(true);
    if (!focusBeforeBuild_ || !IsWindow(focusBeforeBuild_))
        return;
    if (GetActiveWindow() == hwnd_)
        SetFocus(focusBeforeBuild_);
    else
        focusWhenInactive_ = focusBeforeBuild_; // where activation puts it
}

// The window under the pointer sets it again, so the change shows without a move of the mouse.
void frmPartwright::setBusyPointer(bool busy)
{
    if (busy == busyPointer_)
        return;
    busyPointer_ = busy;
    POINT at;
    GetCursorPos(&at);
    HWND under = WindowFromPoint(at);
    if (under && GetAncestor(under, GA_ROOT) == hwnd_)
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

} // namespace partwright::win32
