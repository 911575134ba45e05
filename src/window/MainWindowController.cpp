#include "window/MainWindowController.h"

#include "help/HelpFile.h"
#include "join/BuildInput.h"
#include "join/Destination.h"
#include "list/FileNames.h"
#include "list/InputList.h"
#include "list/ListOperations.h"
#include "list/PickedParts.h"
#include "list/RestOfSet.h"
#include "platform/HelpViewer.h"
#include "platform/NativePaths.h"
#include "text/DisplayText.h"
#include "text/Messages.h"

#include <exception>
#include <stdexcept>

namespace partwright {

MainWindowController::MainWindowController(MainWindowView& view, JoinCommandFactory joinCommand,
                                           char separator)
    : view_(view), joinCommand_(std::move(joinCommand)), separator_(separator)
{}

MainWindowController::~MainWindowController() = default;

void MainWindowController::Form_Load()
{
    showDestination(kDefaultImageName);
}

void MainWindowController::cmdFiles_Click()
{
    try {
        const std::string result = view_.chooseFile(FileDialogKind::Open);
        if (result.empty())
            return;
        std::string directory;
        std::vector<std::string> paths;
        if (!SplitFileNames(result, separator_, directory, paths)) {
            view_.report(ReportKind::Error, messages::InvalidFiles());
            return;
        }
        addPickedParts(directory, std::move(paths));
    } catch (const std::exception& error) {
        view_.report(ReportKind::Error, messages::FileCouldNotBeOpened(messages::DetailsOf(error)));
    }
}

void MainWindowController::Form_DropFiles(std::vector<std::string> files)
{
    if (isBuilding() || files.empty())
        return;
    try {
        const std::string directory = DirectoryOfDrop(files, separator_);
        addPickedParts(directory, std::move(files));
    } catch (const std::exception& error) {
        view_.report(ReportKind::Error, messages::FileCouldNotBeOpened(messages::DetailsOf(error)));
    }
}

// Picked parts of a set whose other parts lie beside them bring those along when the user wants
// them, and the destination goes to their folder.
void MainWindowController::addPickedParts(std::string directory, std::vector<std::string> paths)
{
    if (const auto rest = FindRestOfSet(paths, EntryTexts(view_.list()), separator_);
        rest && view_.askYesNo(rest->question, DefaultAnswer::Yes)) {
        directory = rest->folder;
        paths = rest->parts;
    }
    showDestination(AddPickedParts(view_.list(), directory, std::move(paths)));
}

void MainWindowController::cmdClear_Click()
{
    view_.list().clear();
}

void MainWindowController::cmdDelete_Click()
{
    DeleteSelected(view_.list());
}

void MainWindowController::lvwFiles_KeyDown(bool deleteKey)
{
    if (deleteKey)
        DeleteSelected(view_.list());
}

void MainWindowController::cmdSort_Click()
{
    try {
        SortListview(view_.list());
    } catch (const std::exception&) {
        // A failed sort ends silently; what it did stays done.
    }
}

void MainWindowController::cmdUp_Click()
{
    MoveListview(view_.list(), -1);
}

void MainWindowController::cmdDown_Click()
{
    MoveListview(view_.list(), 1);
}

void MainWindowController::cmdDestination_Click()
{
    try {
        const std::string chosen = view_.chooseFile(FileDialogKind::Save);
        if (!chosen.empty() && IsIsoName(chosen))
            showDestination(chosen);
    } catch (const std::exception& error) {
        view_.report(ReportKind::Error,
                     messages::FileCouldNotBeCreated(messages::DetailsOf(error)));
    }
}

void MainWindowController::cmdHelp_Click()
{
    std::string path;
    try {
        path = ProgramDirectory();
        path = HelpFilePath(path, separator_);
        if (!StartHelpViewer(path))
            throw std::runtime_error("the help viewer cannot be started");
    } catch (const std::exception&) {
        view_.report(ReportKind::Error, messages::HelpCannotBeOpened(path));
    }
}

void MainWindowController::cmdAbout_Click()
{
    view_.showAbout();
}

void MainWindowController::showDestination(const std::string& path)
{
    shownText_ = DisplayText(path);
    shownPath_ = path;
    view_.setDestinationText(shownText_);
}

// Text the user typed is taken as it is.
std::string MainWindowController::destinationPath() const
{
    const std::string text = view_.destinationText();
    return text == shownText_ ? shownPath_ : text;
}

bool MainWindowController::isBuilding() const
{
    return build_ != nullptr;
}

void MainWindowController::cmdBuild_Click()
{
    view_.setBusy(true);
    const std::string destination = destinationPath();
    if (!IsBuildInputValid(static_cast<std::size_t>(view_.list().count()), destination)) {
        view_.setBusy(false);
        view_.report(ReportKind::Error, messages::kInvalidInput);
        return;
    }
    driveBuild([&] {
        build_ = std::make_unique<BuildFlow>(joinCommand_, EntryTexts(view_.list()), destination);
        build_->start();
    });
}

// Every call into the build goes through here, and the window then does what the build needs
// next. The watch stops first: the build may close what it watches. A fault of the window's own
// ends the build like one of the build's.
template <typename Step> void MainWindowController::driveBuild(Step step)
{
    try {
        view_.watch({});
        step();
        followBuild();
    } catch (const std::exception&) {
        dropBuild();
        view_.report(ReportKind::Error, messages::BuildFailedUnexpectedly());
    }
}

void MainWindowController::followBuild()
{
    while (build_ && !questionOpen_) {
        if (build_->showsProgress() && !progressShown_) {
            view_.showProgress(*build_);
            progressShown_ = true;
        } else if (!build_->showsProgress() && progressShown_) {
            progressShown_ = false;
            view_.closeProgress();
        }
        switch (build_->next()) {
        case BuildFlow::Next::Watch:
            view_.setBusyPointer(true);
            view_.watch(build_->waitables());
            return;
        case BuildFlow::Next::Ask: {
            view_.setBusyPointer(false);
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

// A question's box runs an event loop of its own; the build's wake-ups wait for the answer.
bool MainWindowController::askHoldingBuild(const std::string& question)
{
    view_.watch({});
    questionOpen_ = true;
    const bool yes = view_.askYesNo(question, DefaultAnswer::No);
    questionOpen_ = false;
    return yes;
}

void MainWindowController::buildSignalled()
{
    // A wake-up may come just after its build ended or while a question holds it.
    if (build_ && !questionOpen_)
        driveBuild([this] { build_->signalled(); });
}

void MainWindowController::cancelBuild()
{
    if (build_ && !questionOpen_)
        driveBuild([this] { build_->cancel(); });
}

bool MainWindowController::Form_QueryUnload()
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

// A build still running ends with the window: nothing watches it, no progress window stays.
void MainWindowController::Form_Unload()
{
    view_.watch({});
    if (progressShown_)
        view_.closeProgress();
    progressShown_ = false;
    build_.reset();
}

// The build is gone, and the window as it was before it.
void MainWindowController::dropBuild()
{
    Form_Unload();
    view_.setBusyPointer(false);
    view_.setBusy(false);
}

void MainWindowController::buildEnded()
{
    const std::unique_ptr<BuildFlow> build = std::move(build_);
    dropBuild();
    switch (build->ending()) {
    case BuildEnding::Built:
        view_.report(ReportKind::Success, build->message());
        break;
    case BuildEnding::Cancelled:
        if (!closeWhenBuilt_) // closing the window asked for the cancel; no report then
            view_.report(ReportKind::Note, build->message());
        break;
    case BuildEnding::Declined:
        break;
    case BuildEnding::Mismatched:
    case BuildEnding::Failed:
        view_.report(ReportKind::Error, build->message());
        break;
    }
    if (closeWhenBuilt_)
        view_.closeWindow();
}

} // namespace partwright
