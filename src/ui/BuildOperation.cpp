#include "ui/BuildOperation.h"

#include "join/BuildInput.h"
#include "join/JoinCommand.h"
#include "join/JoinReport.h"
#include "join/PartSet.h"
#include "join/SystemJoin.h"
#include "platform/FileSystem.h"
#include "text/DisplayText.h"
#include "text/Messages.h"
#include "ui/MessageBoxes.h"
#include "ui/ProgressWindow.h"

#include <filesystem>
#include <system_error>

namespace partwright {

BuildOperation::BuildOperation(QWidget* window, JoinCommandFactory joinCommand,
                               std::vector<std::string> parts, std::string destinationText)
    : window_(window), joinCommand_(std::move(joinCommand)), parts_(std::move(parts)),
      destinationText_(std::move(destinationText))
{}

BuildOperation::~BuildOperation() = default;

bool BuildOperation::start()
{
    try {
        return prepareAndStart();
    } catch (const std::exception&) {
        job_.reset();
        return endHere(Ending::Failed, messages::BuildFailedUnexpectedly());
    }
}

bool BuildOperation::prepareAndStart()
{
    if (const auto missing = FirstMissingPart(parts_))
        return endHere(Ending::Failed, messages::PartMissing(*missing));

    try {
        destination_ = ResolveDestination(destinationText_);
    } catch (const std::filesystem::filesystem_error& error) {
        return endHere(Ending::Failed,
                       messages::CannotUseDestination(JoinDestination(destinationText_),
                                                      messages::DetailsOf(error)));
    }
    if (std::filesystem::is_directory(destination_))
        return endHere(Ending::Failed, messages::DestinationIsAFolder(destination_));
    if (const auto part = PartThatIsDestination(parts_, destination_))
        return endHere(Ending::Failed, messages::DestinationIsAPart(*part));
    if (const auto refusal = SystemJoinRefusal(parts_, destination_))
        return endHere(Ending::Failed, *refusal);

    const std::vector<ListedPart> listed = MeasureParts(parts_);
    const std::uint64_t imageSize = ImageSize(listed);
    const std::string folder = std::filesystem::path(destination_).parent_path().string();
    VolumeInfo volume;
    try {
        volume = QueryVolume(folder);
    } catch (const std::system_error& error) {
        return endHere(Ending::Failed, messages::CannotWriteIn(folder, messages::DetailsOf(error)));
    }
    if (const auto problem = RoomProblem(imageSize, volume, folder))
        return endHere(Ending::Failed, *problem);

    if (const auto findings = PartSetFindings(listed);
        !findings.empty() && !AskYesNo(window_, messages::BuildAnywayQuestion(findings)))
        return endHere(Ending::Declined);

    destinationExisted_ = std::filesystem::exists(destination_);
    if (destinationExisted_ && !AskYesNo(window_, messages::ReplaceQuestion(destination_)))
        return endHere(Ending::Declined);

    job_ = std::make_unique<JoinJob>(joinCommand_, listed, destination_);
    try {
        if (!job_->start())
            return endHere(Ending::Failed, messages::JoinFailed(ReportedEnding(job_->outcome())));
    } catch (const std::system_error& error) {
        return endHere(Ending::Failed, messages::CannotWriteIn(folder, messages::DetailsOf(error)));
    }
    connect(job_.get(), &JoinJob::finished, this, &BuildOperation::joinEnded);

    progress_ =
        std::make_unique<ProgressWindow>(*job_, QString::fromStdString(DisplayText(destination_)),
                                         static_cast<int>(parts_.size()), window_);
    connect(progress_.get(), &ProgressWindow::cancelRequested, this, &BuildOperation::cancel);
    progress_->show();
    return true;
}

void BuildOperation::cancel()
{
    if (job_)
        job_->cancel();
}

bool BuildOperation::endHere(Ending ending, std::string message)
{
    ending_ = ending;
    message_ = std::move(message);
    return false;
}

void BuildOperation::joinEnded()
{
    progress_.reset();
    const PlaceOutcome& placement = job_->placement();
    if (job_->cancelled()) {
        ending_ = Ending::Cancelled;
        message_ = messages::BuildCancelled(destination_, destinationExisted_);
    } else if (job_->succeeded()) {
        ending_ = Ending::Built;
        std::string report = job_->imageReport();
        if (placement.error) {
            const std::string flush =
                messages::FolderNotFlushed(messages::DetailsOf(placement.error));
            report = report.empty() ? flush : report + messages::kLineBreak + flush;
        }
        message_ = messages::BuiltSuccessfully(report);
    } else if (placement.result == PlaceOutcome::Result::SizeDiffers) {
        ending_ = Ending::Failed;
        message_ = messages::ImageSizeDiffers(placement.writtenSize, job_->imageSize(),
                                              destination_, destinationExisted_);
    } else if (!placement.failedStep.empty()) {
        ending_ = Ending::Failed;
        message_ =
            messages::ImageNotPlaced(placement.failedStep, messages::DetailsOf(placement.error),
                                     destination_, destinationExisted_);
    } else {
        ending_ = Ending::Failed;
        message_ = messages::JoinFailed(ReportedEnding(job_->outcome()));
    }
    emit ended();
}

} // namespace partwright
