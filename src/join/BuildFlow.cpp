#include "join/BuildFlow.h"

#include "join/ImageCheck.h"
#include "join/JoinCommand.h"
#include "join/JoinReport.h"
#include "join/PartSet.h"
#include "join/SystemJoin.h"
#include "platform/FileSystem.h"
#include "platform/NativePaths.h"
#include "text/Messages.h"

#include <filesystem>
#include <system_error>

namespace partwright {

BuildFlow::BuildFlow(BuildFlowWindow& window, JoinCommandFactory joinCommand,
                     std::vector<std::string> parts, std::string destinationText)
    : window_(window), joinCommand_(std::move(joinCommand)), parts_(std::move(parts)),
      destinationText_(std::move(destinationText))
{}

BuildFlow::~BuildFlow()
{
    stopPlacing_ = true;
    work_.reset(); // waits for the step under way, such as a flush, to end
    if (child_.running())
        child_.kill();
}

bool BuildFlow::start()
{
    try {
        return checkAndStart();
    } catch (const std::exception&) {
        if (child_.running())
            child_.kill();
        temporary_.reset();
        return endHere(BuildEnding::Failed, messages::BuildFailedUnexpectedly());
    }
}

bool BuildFlow::checkAndStart()
{
    if (const auto missing = FirstMissingPart(parts_))
        return endHere(BuildEnding::Failed, messages::PartMissing(*missing));

    try {
        destination_ = ResolveDestination(destinationText_);
    } catch (const std::filesystem::filesystem_error& error) {
        return endHere(BuildEnding::Failed,
                       messages::CannotUseDestination(JoinDestination(destinationText_),
                                                      messages::DetailsOf(error)));
    }
    const std::filesystem::path destination = PathOf(destination_);
    if (std::filesystem::is_directory(destination))
        return endHere(BuildEnding::Failed, messages::DestinationIsAFolder(destination_));
    if (const auto part = PartThatIsDestination(parts_, destination_))
        return endHere(BuildEnding::Failed, messages::DestinationIsAPart(*part));
    if (const auto refusal = SystemJoinRefusal(parts_, destination_))
        return endHere(BuildEnding::Failed, *refusal);

    listed_ = MeasureParts(parts_);
    imageSize_ = ImageSize(listed_);
    const std::string folder = NameOf(destination.parent_path());
    VolumeInfo volume;
    try {
        volume = QueryVolume(folder);
    } catch (const std::system_error& error) {
        return endHere(BuildEnding::Failed,
                       messages::CannotWriteIn(folder, messages::DetailsOf(error)));
    }
    if (const auto problem = RoomProblem(imageSize_, volume, folder))
        return endHere(BuildEnding::Failed, *problem);

    if (const auto findings = PartSetFindings(listed_);
        !findings.empty() && !window_.askYesNo(messages::BuildAnywayQuestion(findings)))
        return endHere(BuildEnding::Declined);

    destinationExisted_ = std::filesystem::exists(destination);
    if (destinationExisted_ && !window_.askYesNo(messages::ReplaceQuestion(destination_)))
        return endHere(BuildEnding::Declined);

    try {
        temporary_ = std::make_unique<TemporaryImage>(destination_);
    } catch (const std::system_error& error) {
        return endHere(BuildEnding::Failed,
                       messages::CannotWriteIn(folder, messages::DetailsOf(error)));
    }
    if (child_.start(joinCommand_(parts_, *temporary_)) != 0) {
        temporary_.reset();
        return endHere(BuildEnding::Failed, messages::JoinFailed(ReportedEnding(child_.outcome())));
    }
    phase_ = Phase::Joining;
    window_.showProgress(destination_, static_cast<int>(parts_.size()));
    return true;
}

bool BuildFlow::endHere(BuildEnding ending, std::string message)
{
    phase_ = Phase::Ended;
    ending_ = ending;
    message_ = std::move(message);
    return false;
}

std::vector<std::intptr_t> BuildFlow::waitables() const
{
    switch (phase_) {
    case Phase::Joining:
        return {child_.exitWaitable()};
    case Phase::Stopping:
    case Phase::Placing:
        return {work_->waitable()};
    case Phase::Checking:
    case Phase::Ended:
        break;
    }
    return {};
}

bool BuildFlow::signalled()
{
    switch (phase_) {
    case Phase::Joining:
        if (child_.poll())
            childEnded();
        break;
    case Phase::Stopping:
        if (work_->done()) {
            work_.reset();
            end(BuildEnding::Cancelled,
                messages::BuildCancelled(destination_, destinationExisted_));
        }
        break;
    case Phase::Placing:
        if (work_->done())
            placingEnded();
        break;
    case Phase::Checking:
    case Phase::Ended:
        return false;
    }
    return phase_ == Phase::Ended;
}

void BuildFlow::cancel()
{
    if (phase_ == Phase::Joining) {
        // Ending the child waits for it and whatever it started; the window goes on meanwhile.
        childCancelled_ = true;
        phase_ = Phase::Stopping;
        work_ = std::make_unique<BackgroundTask>([this] { child_.kill(); });
    } else if (phase_ == Phase::Placing) {
        stopPlacing_ = true; // heeded unless the image is already replacing the destination
    }
}

BuildFigures BuildFlow::figures() const
{
    BuildFigures figures;
    figures.total = imageSize_;
    switch (phase_) {
    case Phase::Placing:
        figures.phase = BuildFigures::Phase::Placing;
        figures.written = imageSize_;
        break;
    case Phase::Ended:
        figures.phase = BuildFigures::Phase::Ended;
        figures.written = ending_ == BuildEnding::Built ? imageSize_ : 0;
        break;
    case Phase::Joining:
    case Phase::Stopping:
        figures.written = std::min(temporary_->size(), imageSize_);
        break;
    case Phase::Checking:
        break;
    }
    return figures;
}

void BuildFlow::childEnded()
{
    const ChildOutcome& outcome = child_.outcome();
    if (outcome.startError != 0 || outcome.signal != 0 || outcome.exitCode != 0) {
        end(BuildEnding::Failed, messages::JoinFailed(ReportedEnding(outcome)));
        return;
    }
    phase_ = Phase::Placing;
    work_ = std::make_unique<BackgroundTask>(
        [this] { placement_ = temporary_->place(imageSize_, stopPlacing_); });
}

void BuildFlow::placingEnded()
{
    work_.reset();
    switch (placement_.result) {
    case PlaceOutcome::Result::Placed: {
        std::string report = ImageCheckLine(destination_, listed_);
        if (placement_.error) {
            const std::string flush =
                messages::FolderNotFlushed(messages::DetailsOf(placement_.error));
            report = report.empty() ? flush : report + messages::kLineBreak + flush;
        }
        end(BuildEnding::Built, messages::BuiltSuccessfully(report));
        break;
    }
    case PlaceOutcome::Result::Stopped:
        end(BuildEnding::Cancelled, messages::BuildCancelled(destination_, destinationExisted_));
        break;
    case PlaceOutcome::Result::SizeDiffers:
        end(BuildEnding::Failed, messages::ImageSizeDiffers(placement_.writtenSize, imageSize_,
                                                            destination_, destinationExisted_));
        break;
    case PlaceOutcome::Result::Failed:
        end(BuildEnding::Failed,
            messages::ImageNotPlaced(placement_.failedStep, messages::DetailsOf(placement_.error),
                                     destination_, destinationExisted_));
        break;
    }
}

void BuildFlow::end(BuildEnding ending, std::string message)
{
    temporary_.reset(); // removes the temporary image unless it was placed
    window_.closeProgress();
    endHere(ending, std::move(message));
}

} // namespace partwright
