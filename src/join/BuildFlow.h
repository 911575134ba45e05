#pragma once

#include "checksum/ChecksumPlan.h"
#include "checksum/Hashing.h"
#include "join/BuildInput.h"
#include "join/JoinCommand.h"
#include "join/Progress.h"
#include "platform/ChildProcess.h"
#include "platform/Task.h"
#include "platform/TemporaryImage.h"
#include "text/ChecksumMessages.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace partwright {

// Composes the child commands that join the parts into the temporary image, in steps when one
// command cannot take them all.
using JoinCommandFactory = std::function<std::vector<JoinStep>(
    const std::vector<std::string>& parts, const TemporaryImage& temporary)>;

// How a build ended.
enum class BuildEnding {
    Built,
    Mismatched, // the image does not match its checksum; the report says whether it was kept
    Failed,
    Cancelled,
    Declined,
};

// One press of "Build" after its input was found valid: the checks that refuse a build before
// anything runs, the parts' checksums checked against their checksum files, the questions that
// may stop it, the join by child processes into a temporary image beside the destination, and,
// off the window's thread, the image's checksum (on Linux computed while the children write it),
// the flush of the image, the comparison of its size with what the parts measured, and its move
// into the destination's place. Any other ending removes the temporary image and leaves the
// destination as it was. A placed image is checked against what its ISO 9660 volume declares.
//
// The flow never calls the window. After each call into it, the window looks at next(): it
// watches waitables() (a process handle or descriptor, an event) and calls signalled() when one
// fires; or it asks question() and gives the answer; or the build has ended and the window shows
// message(). A question is a state of the flow, so a window whose loop calls signalled() or
// cancel() again while the question is open cannot run a step twice: a wake-up then is held
// until the answer, and a cancel ends the build.
class BuildFlow {
public:
    enum class Next { Watch, Ask, Report };

    BuildFlow(JoinCommandFactory joinCommand, std::vector<std::string> parts,
              std::string destinationText);
    ~BuildFlow(); // ends the work that still runs, and removes the temporary image
    BuildFlow(const BuildFlow&) = delete;
    BuildFlow& operator=(const BuildFlow&) = delete;

    // The checks, then the first question or the first step that runs.
    void start();

    Next next() const;
    // Ask: a question with "Yes" and "No"; "No" is the default and the answer to Esc.
    const std::string& question() const;
    void answer(bool yes);

    // Watch: what the event loop watches; they change as the build goes on, so the loop asks
    // again after every call into the flow.
    std::vector<std::intptr_t> waitables() const;
    // Looks at what the build waits for and goes on as far as it can without blocking.
    void signalled();

    // Until the image takes the destination's place: ends the build, removing the new image and
    // leaving the destination as it was. The end comes through the waitables, like every other.
    void cancel();

    // A progress window is shown while checksums are computed and the image is made; it names the
    // destination and how many parts are joined, and reads figures() a few times a second.
    bool showsProgress() const;
    const std::string& destination() const { return destination_; }
    std::size_t partCount() const { return parts_.size(); }
    BuildFigures figures() const;

    // Once next() is Report.
    BuildEnding ending() const { return ending_; }
    // The report of a build that ended: built, failed or cancelled.
    const std::string& message() const { return message_; }

private:
    enum class Stage {
        Checking,
        CheckingParts,
        Asking,
        Joining,
        Finishing,
        Placing,
        Stopping,
        Ended
    };
    enum class Question { None, BuildAnyway, Replace, KeepMismatch };

    template <typename Step> void guarded(Step step);
    void fail(const std::exception& fault);
    void check();
    void partChecksEnded(const HashRun& run);
    std::vector<std::string> tallyParts(const HashRun& run, std::size_t first,
                                        messages::PartsCheckedWhere where);
    void askOrJoin();
    void ask(Question question, std::string text);
    void join();
    void startStep();
    void stepEnded();
    void finish();
    void imageFinished();
    std::vector<HashedPiece> piecesToHash() const;
    void judgeImage(const HashRun& run);
    void judgePartsInImage(const HashRun& run);
    std::string mismatchLines() const;
    void place();
    void placed(const PlaceOutcome& placement);
    void advance();
    void stopAll();
    void end(BuildEnding ending, std::string message);
    std::string reportLines(const std::string& first) const;

    JoinCommandFactory joinCommand_;
    std::vector<std::string> parts_;
    std::string destinationText_;
    std::string destination_;
    bool destinationExisted_ = false;
    std::vector<ListedPart> listed_;
    std::uint64_t imageSize_ = 0;

    Stage stage_ = Stage::Checking;
    BuildEnding ending_ = BuildEnding::Failed; // how it ended, once stage_ is Ended
    std::string message_;
    Question question_ = Question::None;
    std::string questionText_;
    bool replaceAsked_ = false;

    // The checksum files' checks: during the join the image's and, where the image can be read
    // while it is written, the parts' in their places in it; otherwise the parts' before the join.
    ChecksumPlan plan_;
    bool partsInImage_ = false;
    std::vector<std::string> findings_; // for the question before the join
    std::vector<std::string> checked_;  // for the report: what the checks found
    std::uint64_t checkTotal_ = 0;      // bytes the running check reads
    std::string checksumFile_;          // the file the running check's checksums come from
    std::optional<messages::ImageMismatch> mismatch_;
    std::vector<std::string> partMismatches_; // of parts checked in their places in the image

    // Shared with the workers, which hold it as long as they run: what they have done, and the
    // one request to stop everything. They write there, never into the flow's own members.
    const std::shared_ptr<HashingState> hashing_ = std::make_shared<HashingState>();

    std::unique_ptr<TemporaryImage> temporary_;
    std::vector<JoinStep> steps_;
    std::size_t step_ = 0;
    std::size_t joinedParts_ = 0;  // the parts the steps so far have joined
    std::uint64_t joinedSize_ = 0; // and the bytes they must have written
    ChildProcess child_;
    std::unique_ptr<Task<HashRun>> hashTask_;
    bool imageReadWhileWritten_ = false; // or once the children had ended
    std::optional<HashRun> hashRun_;
    std::unique_ptr<Task<PlaceOutcome>> diskTask_; // the flush, or putting the image in place
    std::optional<PlaceOutcome> diskResult_;
};

} // namespace partwright
