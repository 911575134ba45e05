#pragma once

#include "checksum/ChecksumPlan.h"
#include "checksum/Hashing.h"
#include "join/BuildInput.h"
#include "join/Progress.h"
#include "platform/BackgroundTask.h"
#include "platform/ChildCommand.h"
#include "platform/ChildProcess.h"
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

// Composes the child command that joins the parts into the temporary image.
using JoinCommandFactory = std::function<ChildCommand(const std::vector<std::string>& parts,
                                                      const TemporaryImage& temporary)>;

// What a build needs of the window it runs in.
class BuildFlowWindow {
public:
    virtual ~BuildFlowWindow() = default;
    // A modal question with "Yes" and "No"; "No" is the default and the answer to Esc.
    virtual bool askYesNo(const std::string& question) = 0;
    // Checksums are checked or the join runs: show how far it has come, reading the flow's
    // figures on a timer of the window's own, with a way to cancel. The destination is the path
    // the image is written to.
    virtual void showProgress(const std::string& destination, int partCount) = 0;
    virtual void closeProgress() = 0;
};

enum class BuildEnding {
    Running,
    Built,
    Mismatched, // the image does not match its checksum; the report says whether it was kept
    Failed,
    Cancelled,
    Declined,
};

// One press of "Build" after its input was found valid: the checks that refuse a build before
// anything runs, the parts' checksums checked against their checksum files, the questions that
// may stop it, the join by a child process into a temporary image beside the destination, and,
// off the window's thread, the image's checksum (on Linux computed while the child writes it),
// the flush of the image, the comparison of its size with what the parts measured, and its move
// into the destination's place. Any other ending removes the temporary image and leaves the
// destination as it was. A placed image is checked against what its ISO 9660 volume declares.
//
// The window's event loop drives it: while the build runs, the loop watches waitables() (a
// process handle or descriptor, an event) and calls signalled() when one of them fires.
class BuildFlow {
public:
    BuildFlow(BuildFlowWindow& window, JoinCommandFactory joinCommand,
              std::vector<std::string> parts, std::string destinationText);
    ~BuildFlow(); // ends the work that still runs, and removes the temporary image
    BuildFlow(const BuildFlow&) = delete;
    BuildFlow& operator=(const BuildFlow&) = delete;

    // True when the build runs on; false when it ended here (ending() says how).
    bool start();

    // What the event loop watches while the build runs; they change as it goes, so the loop
    // asks again after every call into the flow.
    std::vector<std::intptr_t> waitables() const;

    // Looks at what the build waits for and goes on as far as it can without blocking. True
    // when the build has ended with this call; the progress window is closed by then.
    bool signalled();

    // Before the join and during it: ends the build, leaving the destination as it was. While
    // only the image's checksum is still computed: ends that check, and the image is placed
    // unchecked. The end comes through the waitables, like every other.
    void cancel();

    bool running() const { return ending_ == BuildEnding::Running; }
    BuildEnding ending() const { return ending_; }
    // The report of a build that ended: built, failed or cancelled.
    const std::string& message() const { return message_; }
    BuildFigures figures() const;

private:
    enum class Phase { Checking, CheckingParts, Joining, Stopping, CheckingImage, Placing, Ended };

    bool checkAndStart();
    bool askAndJoin();
    void startPartChecks();
    void partChecksEnded();
    void startImageCheck();
    void startImageHasher();
    void childEnded();
    void imageChecked();
    void judgeImage(const HashRun& run);
    void place();
    void placingEnded();
    bool endHere(BuildEnding ending, std::string message = {});
    void end(BuildEnding ending, std::string message);
    void stopHashing(bool wait = true);
    bool hashing() const;
    bool checkingOnly() const;
    std::string reportLines(const std::string& first) const;

    BuildFlowWindow& window_;
    JoinCommandFactory joinCommand_;
    std::vector<std::string> parts_;
    std::string destinationText_;
    std::string destination_;
    bool destinationExisted_ = false;
    std::vector<ListedPart> listed_;
    std::uint64_t imageSize_ = 0;

    Phase phase_ = Phase::Checking;
    BuildEnding ending_ = BuildEnding::Running;
    std::string message_;
    std::atomic<bool> stopPlacing_{false};
    PlaceOutcome placement_;

    // The checksum files' checks: before the join those of the parts, during it the image's.
    ChecksumPlan plan_;
    std::vector<std::string> findings_; // for the question before the join
    std::vector<std::string> checked_;  // for the report: what the checks found
    std::uint64_t checkTotal_ = 0;      // bytes the running check reads
    std::string checksumFile_;          // the file the running check's checksums come from
    std::optional<messages::ImageMismatch> mismatch_;
    std::unique_ptr<HashingState> hashing_;
    HashRun hashRun_;

    std::unique_ptr<TemporaryImage> temporary_;
    std::unique_ptr<FileReader> imageReader_; // the temporary image, read while it is written
    ChildProcess child_;
    std::unique_ptr<BackgroundTask> hasher_;
    std::unique_ptr<BackgroundTask> work_; // ending the child, or flushing and placing the image
};

} // namespace partwright
