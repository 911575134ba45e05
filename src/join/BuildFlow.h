#pragma once

#include "join/BuildInput.h"
#include "platform/BackgroundTask.h"
#include "platform/ChildCommand.h"
#include "platform/ChildProcess.h"
#include "platform/TemporaryImage.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
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
    // The join runs: show how far it has come, reading the flow's figures on a timer of the
    // window's own, with a way to cancel. The destination is the path the image is written to.
    virtual void showProgress(const std::string& destination, int partCount) = 0;
    virtual void closeProgress() = 0;
};

enum class BuildEnding { Running, Built, Failed, Cancelled, Declined };

// How far a running build has come.
struct BuildFigures {
    enum class Phase { Joining, Placing, Ended };
    Phase phase = Phase::Joining;
    std::uint64_t written = 0; // bytes of the image written so far
    std::uint64_t total = 0;   // the size the image will have
};

// One press of "Build" after its input was found valid: the checks that refuse a build before
// anything runs, the questions that may stop it, the join by a child process into a temporary
// image beside the destination, and, off the window's thread, the flush of that image, the
// comparison of its size with what the parts measured, and its move into the destination's
// place. Any other ending removes the temporary image and leaves the destination as it was. A
// placed image is checked against what its ISO 9660 volume declares.
//
// The window's event loop drives it: while the build runs, the loop watches waitables() (a
// process handle or descriptor, an event) and calls signalled() when one of them fires.
class BuildFlow {
public:
    BuildFlow(BuildFlowWindow& window, JoinCommandFactory joinCommand,
              std::vector<std::string> parts, std::string destinationText);
    ~BuildFlow(); // ends a join that still runs, and removes its temporary image
    BuildFlow(const BuildFlow&) = delete;
    BuildFlow& operator=(const BuildFlow&) = delete;

    // True when the join runs; false when the build ended here (ending() says how).
    bool start();

    // What the event loop watches while the build runs; they change as it goes, so the loop
    // asks again after every call into the flow.
    std::vector<std::intptr_t> waitables() const;

    // Looks at what the build waits for and goes on as far as it can without blocking. True
    // when the build has ended with this call; the progress window is closed by then.
    bool signalled();

    // Ends the join unless the image is already taking the destination's place. The end comes
    // through the waitables, like every other.
    void cancel();

    bool running() const { return ending_ == BuildEnding::Running; }
    BuildEnding ending() const { return ending_; }
    // The report of a build that ended: built, failed or cancelled.
    const std::string& message() const { return message_; }
    BuildFigures figures() const;

private:
    enum class Phase { Checking, Joining, Stopping, Placing, Ended };

    bool checkAndStart();
    bool endHere(BuildEnding ending, std::string message = {});
    void childEnded();
    void placingEnded();
    void end(BuildEnding ending, std::string message);
    std::string failureReport() const;

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
    bool childCancelled_ = false;
    std::atomic<bool> stopPlacing_{false};
    PlaceOutcome placement_;

    std::unique_ptr<TemporaryImage> temporary_;
    ChildProcess child_;
    std::unique_ptr<BackgroundTask> work_; // ending the child, or placing the image
};

} // namespace partwright
