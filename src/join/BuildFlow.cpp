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
#include <map>
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
    stopHashing();
    work_.reset(); // waits for the step under way, such as a flush, to end
    if (child_.running())
        child_.kill();
}

bool BuildFlow::start()
{
    try {
        return checkAndStart();
    } catch (const std::exception&) {
        stopHashing();
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

    destinationExisted_ = std::filesystem::exists(destination);
    findings_ = PartSetFindings(listed_);
    plan_ = PlanChecksums(parts_, destination_, imageSize_);
    findings_.insert(findings_.end(), plan_.findings.begin(), plan_.findings.end());
    if (!plan_.parts.empty()) {
        startPartChecks();
        return true;
    }
    return askAndJoin();
}

// The questions, then the join. True when the join runs.
bool BuildFlow::askAndJoin()
{
    if (!findings_.empty() && !window_.askYesNo(messages::BuildAnywayQuestion(findings_)))
        return endHere(BuildEnding::Declined);
    if (destinationExisted_ && !window_.askYesNo(messages::ReplaceQuestion(destination_)))
        return endHere(BuildEnding::Declined);

    try {
        temporary_ = std::make_unique<TemporaryImage>(destination_);
    } catch (const std::system_error& error) {
        return endHere(BuildEnding::Failed,
                       messages::CannotWriteIn(NameOf(PathOf(destination_).parent_path()),
                                               messages::DetailsOf(error)));
    }
    if (plan_.image)
        startImageCheck();
    if (child_.start(joinCommand_(parts_, *temporary_)) != 0) {
        stopHashing();
        temporary_.reset();
        return endHere(BuildEnding::Failed, messages::JoinFailed(ReportedEnding(child_.outcome())));
    }
    phase_ = Phase::Joining;
    window_.showProgress(destination_, static_cast<int>(parts_.size()));
    return true;
}

void BuildFlow::startPartChecks()
{
    std::vector<HashedFile> files;
    checkTotal_ = 0;
    for (const PartChecksum& checksum : plan_.parts) {
        files.push_back({parts_[checksum.part], checksum.algorithm});
        checkTotal_ += listed_[checksum.part].size;
    }
    checksumFile_ = plan_.parts.front().checksumFile;
    hashing_ = std::make_unique<HashingState>();
    hasher_ = std::make_unique<BackgroundTask>(
        [this, files = std::move(files)] { hashRun_ = HashEach(files, *hashing_); });
    phase_ = Phase::CheckingParts;
    window_.showProgress(destination_, static_cast<int>(parts_.size()));
}

// Each part against its checksum: those that differ are findings for the question before the
// join, and the report tells how many of each checksum file's parts matched.
void BuildFlow::partChecksEnded()
{
    hasher_.reset();
    window_.closeProgress();
    struct Tally {
        const char* algorithm;
        std::size_t matched = 0, differing = 0;
    };
    std::map<std::string, Tally> tallies; // by checksum file
    for (std::size_t i = 0; i < plan_.parts.size(); ++i) {
        const PartChecksum& checksum = plan_.parts[i];
        const std::string part = FileNameOf(parts_[checksum.part]);
        Tally& tally =
            tallies.try_emplace(checksum.checksumFile, Tally{AlgorithmName(checksum.algorithm)})
                .first->second;
        if (i < hashRun_.digests.size()) {
            const std::string& found = hashRun_.digests[i];
            if (found == checksum.hex) {
                ++tally.matched;
                continue;
            }
            ++tally.differing;
            findings_.push_back(messages::PartDoesNotMatch(
                part, AlgorithmName(checksum.algorithm), checksum.checksumFile,
                ShownChecksum(checksum.algorithm, checksum.hex),
                ShownChecksum(checksum.algorithm, found)));
        } else if (i == hashRun_.digests.size() && hashRun_.result == HashRun::Result::Failed) {
            if (hashRun_.failedFile.empty())
                checked_.push_back(messages::ImageNotChecked(
                    checksum.checksumFile, messages::AlgorithmNotAvailable(
                                               AlgorithmName(checksum.algorithm), hashRun_.error)));
            else
                findings_.push_back(
                    messages::PartNotReadForCheck(part, checksum.checksumFile, hashRun_.error));
        }
    }
    for (const auto& [file, tally] : tallies)
        checked_.push_back(
            messages::PartsChecked(tally.algorithm, file, tally.matched, tally.differing,
                                   tally.matched + tally.differing == parts_.size()));
    askAndJoin();
}

// The image's checksum is computed from the temporary image: where it can be read while the
// child writes it, from the start of the join on; otherwise once the child has ended.
void BuildFlow::startImageCheck()
{
    checksumFile_ = plan_.image->checksumFile;
    checkTotal_ = imageSize_;
    hashing_ = std::make_unique<HashingState>();
    hashing_->writerDone = false;
    try {
        imageReader_ = temporary_->readerWhileWritten();
    } catch (const std::system_error&) {
        imageReader_.reset();
    }
    if (imageReader_)
        startImageHasher();
}

void BuildFlow::startImageHasher()
{
    hasher_ = std::make_unique<BackgroundTask>([this, algorithm = plan_.image->algorithm] {
        try {
            if (!imageReader_)
                imageReader_ = std::make_unique<FileReader>(temporary_->path());
        } catch (const std::exception& error) {
            hashRun_.result = HashRun::Result::Failed;
            hashRun_.failedFile = temporary_->path();
            hashRun_.error = messages::DetailsOf(error);
            return;
        }
        hashRun_ = HashWhileWritten(*imageReader_, temporary_->path(), algorithm, *hashing_);
    });
}

bool BuildFlow::endHere(BuildEnding ending, std::string message)
{
    phase_ = Phase::Ended;
    ending_ = ending;
    message_ = std::move(message);
    return false;
}

// A task that has ended is dropped when the flow sees it (its waitable stays signalled), so
// every task there is still runs or has ended since.
std::vector<std::intptr_t> BuildFlow::waitables() const
{
    std::vector<std::intptr_t> waitables;
    const auto add = [&waitables](const std::unique_ptr<BackgroundTask>& task) {
        if (task)
            waitables.push_back(task->waitable());
    };
    switch (phase_) {
    case Phase::Joining:
        waitables.push_back(child_.exitWaitable());
        break;
    case Phase::CheckingParts:
    case Phase::Stopping:
    case Phase::CheckingImage:
    case Phase::Placing:
        add(hasher_);
        add(work_);
        break;
    case Phase::Checking:
    case Phase::Ended:
        break;
    }
    return waitables;
}

bool BuildFlow::signalled()
{
    const auto finished = [](std::unique_ptr<BackgroundTask>& task) {
        if (task && task->done())
            task.reset();
        return !task;
    };
    switch (phase_) {
    case Phase::CheckingParts:
        if (finished(hasher_))
            partChecksEnded();
        break;
    case Phase::Joining:
        if (child_.poll())
            childEnded();
        break;
    case Phase::Stopping:
        if (const bool hashed = finished(hasher_); finished(work_) && hashed)
            end(BuildEnding::Cancelled,
                messages::BuildCancelled(destination_, destinationExisted_));
        break;
    case Phase::CheckingImage:
        if (const bool hashed = finished(hasher_); finished(work_) && hashed)
            imageChecked();
        break;
    case Phase::Placing:
        if (finished(work_))
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
    switch (phase_) {
    case Phase::CheckingParts:
        stopHashing(false);
        phase_ = Phase::Stopping;
        break;
    case Phase::Joining:
        // Ending the child waits for it and whatever it started; the window goes on meanwhile.
        stopHashing(false);
        phase_ = Phase::Stopping;
        work_ = std::make_unique<BackgroundTask>([this] { child_.kill(); });
        break;
    case Phase::CheckingImage:
        if (hashing())
            hashing_->stop = true; // the check ends; the image is placed unchecked
        else
            stopPlacing_ = true;
        break;
    case Phase::Placing:
        stopPlacing_ = true; // heeded unless the image is already replacing the destination
        break;
    case Phase::Checking:
    case Phase::Stopping:
    case Phase::Ended:
        break;
    }
}

bool BuildFlow::hashing() const
{
    return hasher_ && !hasher_->done();
}

void BuildFlow::stopHashing(bool wait)
{
    if (hashing_)
        hashing_->stop = true;
    if (wait)
        hasher_.reset();
}

// Checksums are computed and nothing else is waited for: before the join, or after it while
// the image's checksum catches up.
bool BuildFlow::checkingOnly() const
{
    return phase_ == Phase::CheckingParts || (phase_ == Phase::CheckingImage && hashing()) ||
           (phase_ == Phase::Stopping && !temporary_);
}

BuildFigures BuildFlow::figures() const
{
    BuildFigures figures;
    figures.total = imageSize_;
    if (checkingOnly()) {
        figures.phase = BuildFigures::Phase::Checking;
        figures.checksumFile = checksumFile_;
        figures.total = checkTotal_;
        figures.done = hashing_->done;
        return figures;
    }
    switch (phase_) {
    case Phase::Joining:
    case Phase::Stopping:
        figures.done = std::min(temporary_->size(), imageSize_);
        break;
    case Phase::CheckingImage:
    case Phase::Placing:
        figures.phase = BuildFigures::Phase::Placing;
        figures.done = imageSize_;
        break;
    case Phase::Ended:
        figures.phase = BuildFigures::Phase::Ended;
        figures.done = ending_ == BuildEnding::Built ? imageSize_ : 0;
        break;
    case Phase::Checking:
    case Phase::CheckingParts:
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
    if (!plan_.image) {
        phase_ = Phase::Placing;
        work_ = std::make_unique<BackgroundTask>(
            [this] { placement_ = temporary_->flushAndPlace(imageSize_, stopPlacing_); });
        return;
    }
    // The flush goes on while the checksum catches up with the image.
    hashing_->writerDone = true;
    if (!hasher_)
        startImageHasher();
    phase_ = Phase::CheckingImage;
    work_ = std::make_unique<BackgroundTask>(
        [this] { placement_ = temporary_->flush(imageSize_, stopPlacing_); });
}

void BuildFlow::imageChecked()
{
    imageReader_.reset();
    if (placement_.result != PlaceOutcome::Result::Ready) {
        placingEnded(); // stopped, or not of the parts' size: the destination stays as it was
        return;
    }
    judgeImage(hashRun_);
    if (mismatch_ && destinationExisted_) {
        window_.closeProgress();
        if (!window_.askYesNo(messages::MismatchReplaceQuestion(*mismatch_, destination_))) {
            end(BuildEnding::Mismatched,
                messages::ImageDoesNotMatch(*mismatch_, messages::MismatchOutcome::Removed,
                                            destination_));
            return;
        }
    }
    place();
}

// What the image's checksum says: a line for the report, or a mismatch.
void BuildFlow::judgeImage(const HashRun& run)
{
    const ImageChecksum& checksum = *plan_.image;
    const char* const algorithm = AlgorithmName(checksum.algorithm);
    const auto notChecked = [&](const std::string& reason) {
        checked_.push_back(messages::ImageNotChecked(checksum.checksumFile, reason));
    };
    switch (run.result) {
    case HashRun::Result::Stopped:
        notChecked(messages::kCheckCancelled);
        return;
    case HashRun::Result::Failed:
        notChecked(run.failedFile.empty() ? messages::AlgorithmNotAvailable(algorithm, run.error)
                                          : messages::ImageNotRead(run.error));
        return;
    case HashRun::Result::Done:
        break;
    }
    if (run.bytes != imageSize_) { // it had the parts' size when it was flushed
        notChecked(messages::kImageChangedWhileRead);
        return;
    }
    if (run.digests.front() == checksum.hex) {
        checked_.push_back(
            messages::ImageMatches(algorithm, checksum.size.has_value(), checksum.checksumFile));
        return;
    }
    mismatch_ = messages::ImageMismatch{algorithm, checksum.checksumFile,
                                        ShownChecksum(checksum.algorithm, checksum.hex),
                                        ShownChecksum(checksum.algorithm, run.digests.front())};
}

void BuildFlow::place()
{
    phase_ = Phase::Placing;
    work_ =
        std::make_unique<BackgroundTask>([this] { placement_ = temporary_->place(stopPlacing_); });
}

void BuildFlow::placingEnded()
{
    work_.reset();
    switch (placement_.result) {
    case PlaceOutcome::Result::Placed: {
        std::string report = reportLines(ImageCheckLine(destination_, listed_));
        if (placement_.error) {
            const std::string flush =
                messages::FolderNotFlushed(messages::DetailsOf(placement_.error));
            report = report.empty() ? flush : report + messages::kLineBreak + flush;
        }
        if (mismatch_) {
            const auto outcome = destinationExisted_ ? messages::MismatchOutcome::Replaced
                                                     : messages::MismatchOutcome::Kept;
            std::string text = messages::ImageDoesNotMatch(*mismatch_, outcome, destination_);
            end(BuildEnding::Mismatched,
                report.empty() ? text
                               : text + messages::kLineBreak + messages::kLineBreak + report);
        } else {
            end(BuildEnding::Built, messages::BuiltSuccessfully(report));
        }
        break;
    }
    case PlaceOutcome::Result::Stopped:
        end(BuildEnding::Cancelled, messages::BuildCancelled(destination_, destinationExisted_));
        break;
    case PlaceOutcome::Result::SizeDiffers:
        end(BuildEnding::Failed, messages::ImageSizeDiffers(placement_.writtenSize, imageSize_,
                                                            destination_, destinationExisted_));
        break;
    case PlaceOutcome::Result::Ready: // not placed: a step that was never taken failed
    case PlaceOutcome::Result::Failed:
        end(BuildEnding::Failed,
            messages::ImageNotPlaced(placement_.failedStep, messages::DetailsOf(placement_.error),
                                     destination_, destinationExisted_));
        break;
    }
}

// The report's lines after the headline: the first given, then what the checks found and the
// checksum files that could not be used.
std::string BuildFlow::reportLines(const std::string& first) const
{
    std::string lines = first;
    const auto add = [&lines](const std::string& line) {
        lines += (lines.empty() ? "" : messages::kLineBreak) + line;
    };
    for (const std::string& line : checked_)
        add(line);
    for (const std::string& note : plan_.notes)
        add(note);
    return lines;
}

void BuildFlow::end(BuildEnding ending, std::string message)
{
    stopHashing();
    imageReader_.reset();
    temporary_.reset(); // removes the temporary image unless it was placed
    window_.closeProgress();
    endHere(ending, std::move(message));
}

} // namespace partwright
