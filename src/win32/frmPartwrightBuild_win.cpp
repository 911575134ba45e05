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
    enterBusyState();
    const std::string destination = destinationPath();
    if (!IsBuildInputValid(static_cast<std::size_t>(list_->count()), destination)) {
        leaveBusyState();
        ShowError(*services_.dialogs, hwnd_, messages::kInvalidInput);
        return;
    }
    driveBuild([&] {
        build_ =
            std::make_unique<BuildFlow>(services_.joinCommand, EntryTexts(*list_), destination);
        build_->start();
    });
}

// Every call into the build goes through here, and the window then does what the build needs
// next. The waits stop first: the build may close what they watch. A fault of the window's own
// ends the build like one of the build's.
template <typename Step> void frmPartwright::driveBuild(Step step)
{
    try {
        waits_->stop();
        step();
        followBuild();
    } catch (const std::exception&) {
        waits_->stop();
        progress_.reset();
        build_.reset();
        endBuildWithError(messages::BuildFailedUnexpectedly());
    }
}

void frmPartwright::followBuild()
{
    while (build_ && !questionOpen_) {
        if (!build_->showsProgress()) {
            progress_.reset();
        } else if (!progress_) {
            progress_ = std::make_unique<ProgressWindow>(
                hwnd_, font_, build_->destination(), static_cast<int>(build_->partCount()),
                [this] { return build_->figures(); }, [this] { cancelBuild(); });
        }
        switch (build_->next()) {
        case BuildFlow::Next::Watch:
            setBusyPointer(true);
            waits_->watch(build_->waitables());
            return;
        case BuildFlow::Next::Ask: {
            setBusyPointer(false);
            const bool yes = askHoldingBuild(build_->question());
            build_->answer(yes);
            break;
        }
        case BuildFlow::Next::Report:
            buildEnded();
            return;
        }
    }
}

// A question's box runs a message loop of its own; the build's wake-ups wait for the answer.
bool frmPartwright::askHoldingBuild(const std::string& question)
{
    waits_->stop();
    questionOpen_ = true;
    const bool yes = AskYesNo(*services_.dialogs, hwnd_, question);
    questionOpen_ = false;
    return yes;
}

void frmPartwright::buildSignalled()
{
    // A wait may fire just before its build ended or while a question holds it.
    if (build_ && !questionOpen_)
        driveBuild([this] { build_->signalled(); });
}

void frmPartwright::cancelBuild()
{
    if (build_ && !questionOpen_)
        driveBuild([this] { build_->cancel(); });
}

// Closing the window during a build asks to cancel it; the window closes once the build has
// cleaned up. "No" keeps the program, also when the build has ended meanwhile.
bool frmPartwright::Form_QueryUnload()
{
    if (isBuilding() && !closeWhenBuilt_ && !questionOpen_) {
        if (!askHoldingBuild(messages::CancelOnCloseQuestion())) {
            driveBuild([] {}); // goes on from what it held meanwhile
            return false;
        }
        closeWhenBuilt_ = true;
        driveBuild([this] { build_->cancel(); });
    }
    return !isBuilding();
}

void frmPartwright::buildEnded()
{
    waits_->stop();
    progress_.reset();
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
