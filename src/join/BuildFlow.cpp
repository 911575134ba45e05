#include "join/BuildFlow.h"

#include "join/ImageCheck.h"
#include "join/JoinReport.h"
#include "join/PartSet.h"
#include "join/SystemJoin.h"
#include "platform/FileSystem.h"
#include "platform/NativePaths.h"
#include "text/DisplayText.h"
#include "text/Messages.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <system_error>

namespace partwright {

BuildFlow::BuildFlow(JoinCommandFactory joinCommand, std::vector<std::string> parts,
                     std::string destinationText)
    : joinCommand_(std::move(joinCommand)), parts_(std::move(parts)),
      destinationText_(std::move(destinationText))
{}

BuildFlow::~BuildFlow()
{
    stopAll();
}

// Every step runs through here: whatever it throws, or a worker threw, ends the build as failed,
// with nothing left running and no temporary image left behind.
template <typename Step> void BuildFlow::guarded(Step step)
{
    try {
        step();
    } catch (const std::exception& fault) {
        fail(fault);
    }
}

void BuildFlow::fail(const std::exception& fault)
{
    const char* step = "preparing the build";
    switch (stage_) {
    case Stage::CheckingParts:
        step = "checking the parts against their checksums";
        break;
    case Stage::Joining:
        step = "joining the parts";
        break;
    case Stage::Finishing:
        step = "flushing the image to disk and checking it";
        break;
    case Stage::Placing:
        step = "putting the image in the destination's place";
        break;
    case Stage::Stopping:
        step = "cancelling the build";
        break;
    case Stage::Checking:
    case Stage::Asking:
    case Stage::Ended:
        break;
    }
    const bool placed = diskResult_ && diskResult_->result == PlaceOutcome::Result::Placed;
    end(BuildEnding::Failed, messages::BuildStepFailed(step, messages::DetailsOf(fault),
                                                       destination_, destinationExisted_, placed));
}

void BuildFlow::start()
{
    guarded([this] { check(); });
}

void BuildFlow::check()
{
    if (const auto missing = FirstMissingPart(parts_))
        return end(BuildEnding::Failed, messages::PartMissing(*missing));

    try {
        destination_ = ResolveDestination(destinationText_);
    } catch (const std::filesystem::filesystem_error& error) {
        return end(BuildEnding::Failed,
                   messages::CannotUseDestination(JoinDestination(destinationText_),
                                                  messages::DetailsOf(error)));
    }
    const std::filesystem::path destination = PathOf(destination_);
    if (std::filesystem::is_directory(destination))
        return end(BuildEnding::Failed, messages::DestinationIsAFolder(destination_));
    if (const auto part = PartThatIsDestination(parts_, destination_))
        return end(BuildEnding::Failed, messages::DestinationIsAPart(*part));
    if (const auto refusal = SystemJoinRefusal(parts_, destination_))
        return end(BuildEnding::Failed, *refusal);

    listed_ = MeasureParts(parts_);
    imageSize_ = ImageSize(listed_);
    const std::string folder = NameOf(destination.parent_path());
    VolumeInfo volume;
    try {
        volume = QueryVolume(folder);
    } catch (const std::system_error& error) {
        return end(BuildEnding::Failed,
                   messages::CannotWriteIn(folder, messages::DetailsOf(error)));
    }
    if (const auto problem = RoomProblem(imageSize_, volume, folder))
        return end(BuildEnding::Failed, *problem);

    destinationExisted_ = std::filesystem::exists(destination);
    findings_ = PartSetFindings(listed_);
    plan_ = PlanChecksums(parts_, destination_, imageSize_);
    findings_.insert(findings_.end(), plan_.findings.begin(), plan_.findings.end());
    partsInImage_ = !plan_.parts.empty() && TemporaryImage::CanBeReadWhileWritten();
    if (plan_.parts.empty() || partsInImage_)
        return askOrJoin();

    std::vector<HashedFile> files;
    checkTotal_ = 0;
    for (const PartChecksum& checksum : plan_.parts) {
        files.push_back({parts_[checksum.part], checksum.algorithm});
        checkTotal_ += listed_[checksum.part].size;
    }
    checksumFile_ = plan_.parts.front().checksumFile;
    stage_ = Stage::CheckingParts;
    hashing_->done = 0;
    hashTask_ = std::make_unique<Task<HashRun>>(
        [files = std::move(files), state = hashing_] { return HashEach(files, *state); });
}

// Each part against its checksum, checked before the join: those that differ are findings for
// the question before the join.
void BuildFlow::partChecksEnded(const HashRun& run)
{
    const auto differing = tallyParts(run, 0, messages::PartsCheckedWhere::BeforeTheJoin);
    findings_.insert(findings_.end(), differing.begin(), differing.end());
    askOrJoin();
}

// The parts' digests, from `first` on in the run, against their checksums: the report tells how
// many of each checksum file's parts matched; the parts that differ are returned.
std::vector<std::string> BuildFlow::tallyParts(const HashRun& run, std::size_t first,
                                               messages::PartsCheckedWhere where)
{
    struct Tally {
        const char* algorithm;
        std::size_t matched = 0, differing = 0;
    };
    std::vector<std::string> differing;
    std::map<std::string, Tally> tallies; // by checksum file
    std::set<std::string> notComputable;  // checksum files said so of
    for (std::size_t i = 0; i < plan_.parts.size(); ++i) {
        const PartChecksum& checksum = plan_.parts[i];
        const std::string part = FileNameOf(parts_[checksum.part]);
        Tally& tally =
            tallies.try_emplace(checksum.checksumFile, Tally{AlgorithmName(checksum.algorithm)})
                .first->second;
        const std::size_t digest = first + i;
        const bool missing = run.result == HashRun::Result::AlgorithmMissing &&
                             (digest == run.digests.size() ||
                              (digest < run.digests.size() && run.digests[digest].empty()));
        if (missing) {
            if (notComputable.insert(checksum.checksumFile).second)
                checked_.push_back(messages::PartsNotChecked(
                    checksum.checksumFile,
                    messages::AlgorithmNotAvailable(AlgorithmName(checksum.algorithm), run.error)));
        } else if (digest < run.digests.size()) {
            const std::string& found = run.digests[digest];
            if (found == checksum.hex) {
                ++tally.matched;
                continue;
            }
            ++tally.differing;
            differing.push_back(messages::PartDoesNotMatch(
                part, AlgorithmName(checksum.algorithm), checksum.checksumFile,
                ShownChecksum(checksum.algorithm, checksum.hex),
                ShownChecksum(checksum.algorithm, found)));
        } else if (digest == run.digests.size() && run.result == HashRun::Result::Failed) {
            differing.push_back(
                messages::PartNotReadForCheck(part, checksum.checksumFile, run.error));
        }
    }
    std::size_t matched = 0;
    for (const auto& [file, tally] : tallies) {
        if (tally.matched + tally.differing == 0)
            continue;
        checked_.push_back(
            messages::PartsChecked(tally.algorithm, file, tally.matched, tally.differing,
                                   tally.matched + tally.differing == parts_.size(), where));
        matched += tally.matched;
    }
    if (matched > 0 && !plan_.image && where == messages::PartsCheckedWhere::BeforeTheJoin)
        checked_.push_back(messages::OrderNotChecked());
    return differing;
}

// The questions before the join, one at a time, then the join.
void BuildFlow::askOrJoin()
{
    if (!findings_.empty())
        return ask(Question::BuildAnyway, messages::BuildAnywayQuestion(findings_));
    if (destinationExisted_ && !replaceAsked_)
        return ask(Question::Replace, messages::ReplaceQuestion(destination_));
    join();
}

void BuildFlow::ask(Question question, std::string text)
{
    stage_ = Stage::Asking;
    question_ = question;
    questionText_ = std::move(text);
}

BuildFlow::Next BuildFlow::next() const
{
    switch (stage_) {
    case Stage::Asking:
        return Next::Ask;
    case Stage::Ended:
        return Next::Report;
    default:
        return Next::Watch;
    }
}

const std::string& BuildFlow::question() const
{
    return questionText_;
}

void BuildFlow::answer(bool yes)
{
    if (stage_ != Stage::Asking)
        return; // a question the build no longer has, such as one it was cancelled during
    const Question question = question_;
    question_ = Question::None;
    guarded([this, question, yes] {
        switch (question) {
        case Question::BuildAnyway:
            if (!yes)
                return end(BuildEnding::Declined, {});
            findings_.clear();
            return askOrJoin();
        case Question::Replace:
            if (!yes)
                return end(BuildEnding::Declined, {});
            replaceAsked_ = true;
            return join();
        case Question::KeepMismatch:
            if (!yes)
                return end(
                    BuildEnding::Mismatched,
                    messages::MismatchReport(mismatchLines(),
                                             destinationExisted_
                                                 ? messages::MismatchOutcome::Removed
                                                 : messages::MismatchOutcome::RemovedNothingWritten,
                                             destination_));
            return place();
        case Question::None:
            return;
        }
    });
}

void BuildFlow::join()
{
    stage_ = Stage::Joining;
    try {
        temporary_ = std::make_unique<TemporaryImage>(destination_);
    } catch (const std::system_error& error) {
        return end(BuildEnding::Failed,
                   messages::CannotWriteIn(NameOf(PathOf(destination_).parent_path()),
                                           messages::DetailsOf(error)));
    }
    steps_ = joinCommand_(parts_, *temporary_);
    step_ = 0;
    joinedParts_ = 0;
    joinedSize_ = 0;
    if (std::vector<HashedPiece> pieces = piecesToHash(); !pieces.empty()) {
        checksumFile_ = plan_.image ? plan_.image->checksumFile : plan_.parts.front().checksumFile;
        hashing_->done = 0;
        hashing_->writerDone = false;
        // Where the image can be read while the children write it, its checksums are computed
        // from the start of the join on, from the pages they have just written; otherwise once
        // they have ended.
        std::shared_ptr<FileReader> reader;
        try {
            reader = temporary_->readerWhileWritten();
        } catch (const std::system_error&) {
            // read once the children have ended
        }
        imageReadWhileWritten_ = reader != nullptr;
        if (reader)
            hashTask_ = std::make_unique<Task<HashRun>>(
                [reader, path = temporary_->path(), pieces = std::move(pieces), state = hashing_] {
                    return HashPiecesWhileWritten(*reader, path, pieces, *state);
                });
    }
    startStep();
}

void BuildFlow::startStep()
{
    if (child_.start(steps_.at(step_).command) != 0)
        end(BuildEnding::Failed, messages::JoinFailed(ReportedEnding(child_.outcome())));
}

// A step is complete when its child ended well and the image has grown by exactly its parts:
// a child that wrote less and still ended well (a part that shrank) is caught here.
void BuildFlow::stepEnded()
{
    const ChildOutcome& outcome = child_.outcome();
    if (outcome.startError != 0 || outcome.signal != 0 || outcome.exitCode != 0)
        return end(BuildEnding::Failed, messages::JoinFailed(ReportedEnding(outcome)));
    for (const std::size_t end = joinedParts_ + steps_[step_].parts; joinedParts_ < end;)
        joinedSize_ += listed_.at(joinedParts_++).size;
    const std::uint64_t written = temporary_->size();
    if (written != joinedSize_)
        return end(
            BuildEnding::Failed,
            messages::ImageSizeDiffers(written, joinedSize_, destination_, destinationExisted_));
    if (++step_ < steps_.size())
        return startStep();
    finish();
}

// The flush runs while the image's checksum catches up with what the children wrote.
void BuildFlow::finish()
{
    stage_ = Stage::Finishing;
    if (std::vector<HashedPiece> pieces = piecesToHash(); !pieces.empty()) {
        hashing_->writerDone = true;
        if (!hashTask_ && !hashRun_)
            hashTask_ = std::make_unique<Task<HashRun>>(
                [path = temporary_->path(), pieces = std::move(pieces), state = hashing_] {
                    std::optional<FileReader> reader;
                    try {
                        reader.emplace(path);
                    } catch (const std::exception& error) {
                        return HashRun{
                            HashRun::Result::Failed, {}, 0, path, messages::DetailsOf(error)};
                    }
                    return HashPiecesWhileWritten(*reader, path, pieces, *state);
                });
    }
    diskTask_ = std::make_unique<Task<PlaceOutcome>>(
        [temporary = temporary_.get(), size = imageSize_, state = hashing_] {
            return temporary->flush(size, state->stop);
        });
}

void BuildFlow::imageFinished()
{
    const PlaceOutcome flushed = *diskResult_;
    diskResult_.reset();
    if (flushed.result != PlaceOutcome::Result::Ready)
        return placed(flushed); // not of the parts' size, or failed: the destination stays
    if (plan_.image)
        judgeImage(*hashRun_);
    if (partsInImage_)
        judgePartsInImage(*hashRun_);
    if (!partMismatches_.empty())
        return ask(Question::KeepMismatch, messages::KeepImageQuestion(mismatchLines()));
    if (mismatch_ && destinationExisted_)
        return ask(Question::KeepMismatch,
                   messages::MismatchReplaceQuestion(*mismatch_, destination_));
    place();
}

// The whole image first when it has a checksum, then each part with one in its place.
std::vector<HashedPiece> BuildFlow::piecesToHash() const
{
    std::vector<HashedPiece> pieces;
    if (plan_.image)
        pieces.push_back({0, imageSize_, plan_.image->algorithm});
    if (!partsInImage_)
        return pieces;
    std::vector<std::uint64_t> offsets{0};
    for (const ListedPart& part : listed_)
        offsets.push_back(offsets.back() + part.size);
    for (const PartChecksum& checksum : plan_.parts)
        pieces.push_back({offsets[checksum.part], listed_[checksum.part].size, checksum.algorithm});
    return pieces;
}

// The parts' checksums as computed in their places in the image, after its own.
void BuildFlow::judgePartsInImage(const HashRun& run)
{
    const std::size_t first = plan_.image ? 1 : 0;
    const std::string& file = plan_.parts.front().checksumFile;
    if (run.digests.empty()) { // stopped, or the image could not be read
        checked_.push_back(messages::PartsNotChecked(
            file, run.result == HashRun::Result::Stopped ? std::string(messages::kCheckCancelled)
                                                         : messages::ImageNotRead(run.error)));
        return;
    }
    const bool read = std::any_of(run.digests.begin() + static_cast<std::ptrdiff_t>(first),
                                  run.digests.end(), [](const auto& d) { return !d.empty(); });
    if (read && run.bytes != imageSize_) {
        checked_.push_back(messages::PartsNotChecked(file, messages::kImageChangedWhileRead));
        return;
    }
    partMismatches_ = tallyParts(run, first, messages::PartsCheckedWhere::InTheImage);
}

// What did not match: the image's checksum, then the parts'.
std::string BuildFlow::mismatchLines() const
{
    std::string lines = mismatch_ ? messages::ImageMismatchLines(*mismatch_) : "";
    for (const std::string& part : partMismatches_)
        lines += (lines.empty() ? "" : messages::kLineBreak) + DisplayText(part);
    return lines;
}

// What the image's checksum says: a line for the report, or a mismatch.
void BuildFlow::judgeImage(const HashRun& run)
{
    const ImageChecksum& checksum = *plan_.image;
    const char* const algorithm = AlgorithmName(checksum.algorithm);
    const auto notChecked = [&](const std::string& reason) {
        checked_.push_back(messages::ImageNotChecked(checksum.checksumFile, reason));
    };
    // The image's digest comes first; a part's algorithm missing leaves it whole.
    if (run.digests.empty() || run.digests.front().empty()) {
        switch (run.result) {
        case HashRun::Result::Stopped:
            notChecked(messages::kCheckCancelled);
            return;
        case HashRun::Result::AlgorithmMissing:
            notChecked(messages::AlgorithmNotAvailable(algorithm, run.error));
            return;
        case HashRun::Result::Failed:
        case HashRun::Result::Done:
            notChecked(messages::ImageNotRead(run.error));
            return;
        }
    }
    if (run.bytes != imageSize_) { // it had the parts' size when it was flushed
        notChecked(messages::kImageChangedWhileRead);
        return;
    }
    if (run.digests.front() == checksum.hex) {
        checked_.push_back(messages::ImageMatches(algorithm, checksum.size.has_value(),
                                                  checksum.checksumFile, imageReadWhileWritten_));
        return;
    }
    mismatch_ = messages::ImageMismatch{algorithm, checksum.checksumFile,
                                        ShownChecksum(checksum.algorithm, checksum.hex),
                                        ShownChecksum(checksum.algorithm, run.digests.front())};
}

void BuildFlow::place()
{
    stage_ = Stage::Placing;
    diskTask_ = std::make_unique<Task<PlaceOutcome>>(
        [temporary = temporary_.get(), state = hashing_] { return temporary->place(state->stop); });
}

void BuildFlow::placed(const PlaceOutcome& placement)
{
    switch (placement.result) {
    case PlaceOutcome::Result::Placed: {
        std::string report = reportLines(ImageCheckLine(destination_, listed_));
        if (placement.error) {
            const std::string flush =
                messages::FolderNotFlushed(messages::DetailsOf(placement.error));
            report = report.empty() ? flush : report + messages::kLineBreak + flush;
        }
        if (!mismatch_ && partMismatches_.empty())
            return end(BuildEnding::Built, messages::BuiltSuccessfully(destination_, report));
        const auto outcome = destinationExisted_ ? messages::MismatchOutcome::Replaced
                                                 : messages::MismatchOutcome::Kept;
        std::string text = messages::MismatchReport(mismatchLines(), outcome, destination_);
        return end(BuildEnding::Mismatched,
                   report.empty() ? text
                                  : text + messages::kLineBreak + messages::kLineBreak + report);
    }
    case PlaceOutcome::Result::Stopped:
        return end(BuildEnding::Cancelled,
                   messages::BuildCancelled(destination_, destinationExisted_));
    case PlaceOutcome::Result::SizeDiffers:
        return end(BuildEnding::Failed,
                   messages::ImageSizeDiffers(placement.writtenSize, imageSize_, destination_,
                                              destinationExisted_));
    case PlaceOutcome::Result::Ready: // flushed only: the place step has to come first
        throw std::logic_error("the image was not put in its place");
    case PlaceOutcome::Result::Failed:
        return end(BuildEnding::Failed,
                   messages::ImageNotPlaced(placement.failedStep,
                                            messages::DetailsOf(placement.error), destination_,
                                            destinationExisted_));
    }
}

std::vector<std::intptr_t> BuildFlow::waitables() const
{
    std::vector<std::intptr_t> waitables;
    if (stage_ == Stage::Asking || stage_ == Stage::Ended)
        return waitables; // nothing runs that the build would go on from
    if (child_.running())
        waitables.push_back(child_.exitWaitable());
    if (hashTask_)
        waitables.push_back(hashTask_->waitable());
    if (diskTask_)
        waitables.push_back(diskTask_->waitable());
    return waitables;
}

// Takes in what has ended (a task that has ended is dropped once its result is taken, so every
// waitable there is still runs), then goes on as far as that allows.
void BuildFlow::signalled()
{
    if (stage_ == Stage::Asking || stage_ == Stage::Ended)
        return; // held until the answer; or nothing is left to do
    guarded([this] {
        if (hashTask_ && hashTask_->done()) {
            hashRun_ = hashTask_->take();
            hashTask_.reset();
        }
        if (diskTask_ && diskTask_->done()) {
            diskResult_ = diskTask_->take();
            diskTask_.reset();
        }
        advance();
    });
}

void BuildFlow::advance()
{
    switch (stage_) {
    case Stage::CheckingParts:
        if (hashRun_) {
            const HashRun run = std::move(*hashRun_);
            hashRun_.reset();
            partChecksEnded(run);
        }
        break;
    case Stage::Joining:
        if (child_.poll())
            stepEnded();
        break;
    case Stage::Finishing:
        if (diskResult_ && !hashTask_)
            imageFinished();
        break;
    case Stage::Placing:
        if (diskResult_)
            placed(*diskResult_);
        break;
    case Stage::Stopping:
        if (child_.running() && !child_.poll())
            break;
        if (hashTask_ || diskTask_)
            break;
        // A cancel that came while the image was taking the destination's place came too late.
        if (diskResult_ && diskResult_->result == PlaceOutcome::Result::Placed)
            placed(*diskResult_);
        else
            end(BuildEnding::Cancelled,
                messages::BuildCancelled(destination_, destinationExisted_));
        break;
    case Stage::Checking:
    case Stage::Asking:
    case Stage::Ended:
        break;
    }
}

void BuildFlow::cancel()
{
    switch (stage_) {
    case Stage::Asking:
        end(BuildEnding::Cancelled, messages::BuildCancelled(destination_, destinationExisted_));
        break;
    case Stage::CheckingParts:
    case Stage::Joining:
    case Stage::Finishing:
    case Stage::Placing:
        // Everything is asked to stop at once; the end comes when all of it has.
        hashing_->stop = true;
        child_.terminate();
        stage_ = Stage::Stopping;
        break;
    case Stage::Checking:
    case Stage::Stopping:
    case Stage::Ended:
        break;
    }
}

bool BuildFlow::showsProgress() const
{
    switch (stage_) {
    case Stage::CheckingParts:
    case Stage::Joining:
    case Stage::Finishing:
    case Stage::Placing:
    case Stage::Stopping:
        return true;
    case Stage::Checking:
    case Stage::Asking:
    case Stage::Ended:
        return false;
    }
    return false;
}

BuildFigures BuildFlow::figures() const
{
    BuildFigures figures;
    figures.total = imageSize_;
    switch (stage_) {
    case Stage::CheckingParts:
        figures.phase = BuildFigures::Phase::CheckingParts;
        figures.checksumFile = checksumFile_;
        figures.total = checkTotal_;
        figures.done = hashing_->done;
        break;
    case Stage::Joining:
        figures.done = std::min(temporary_ ? temporary_->size() : 0, imageSize_);
        break;
    case Stage::Finishing:
        if (hashTask_) { // the flush goes on meanwhile
            figures.phase = BuildFigures::Phase::CheckingImage;
            figures.checksumFile = checksumFile_;
            figures.done = hashing_->done;
            break;
        }
        [[fallthrough]];
    case Stage::Placing:
        figures.phase = BuildFigures::Phase::Placing;
        figures.done = imageSize_;
        break;
    case Stage::Stopping:
        figures.phase = BuildFigures::Phase::Cancelling;
        figures.waitingForDisk = diskTask_ != nullptr;
        break;
    case Stage::Checking:
    case Stage::Asking:
    case Stage::Ended:
        figures.phase = BuildFigures::Phase::Ended;
        figures.done = ending_ == BuildEnding::Built ? imageSize_ : 0;
        break;
    }
    return figures;
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

// Asks everything that runs to stop and waits for it: the child, the tasks.
void BuildFlow::stopAll()
{
    hashing_->stop = true;
    if (child_.running())
        child_.kill();
    hashTask_.reset(); // their destructors wait for the work to end
    diskTask_.reset();
}

void BuildFlow::end(BuildEnding ending, std::string message)
{
    stopAll();
    temporary_.reset(); // removes the temporary image unless it was placed
    stage_ = Stage::Ended;
    ending_ = ending;
    message_ = std::move(message);
}

} // namespace partwright
