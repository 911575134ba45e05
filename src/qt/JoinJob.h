#pragma once

#include "join/BuildInput.h"
#include "platform/BackgroundTask.h"
#include "platform/ChildCommand.h"
#include "platform/TemporaryImage.h"
#include "qt/JoinProcess.h"

#include <QObject>
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

// One join while the event loop goes on. A child process concatenates the parts into a temporary
// image beside the destination; then, off the window's thread, the image is flushed to disk, its
// size compared with what the parts measured, and only a complete image takes the destination's
// place. Whatever way the join ends other than that, the temporary image is removed and the
// destination stays as it was. A placed image is checked against what its ISO 9660 volume
// declares, reading only its descriptors.
class JoinJob : public QObject {
    Q_OBJECT

public:
    enum class Phase { Joining, Placing, Ended };

    JoinJob(JoinCommandFactory command, std::vector<ListedPart> parts, std::string destination,
            QObject* parent = nullptr);
    ~JoinJob() override;

    // Creates the temporary image and starts the child. False when the child could not start
    // (outcome() says why); throws std::system_error when the temporary image cannot be created.
    // finished() follows a start that returned true.
    bool start();

    // Ends the join unless the image is already taking the destination's place; finished()
    // follows either way.
    void cancel();

    Phase phase() const { return phase_; }
    // Ended with the destination as it was, because of a cancel.
    bool cancelled() const;
    // Ended with the image in the destination's place.
    bool succeeded() const;
    const ChildOutcome& outcome() const { return process_.outcome(); }
    const PlaceOutcome& placement() const { return placement_; }

    std::uint64_t imageSize() const { return imageSize_; }
    // How much of the image has been written so far.
    std::uint64_t bytesWritten() const;

    // After success: a line about the image's ISO 9660 volume, empty for other images.
    const std::string& imageReport() const { return imageReport_; }

signals:
    void finished();

private:
    void childEnded();
    void placingEnded();
    void end();
    bool childSucceeded() const;

    JoinCommandFactory command_;
    std::vector<ListedPart> parts_;
    std::string destination_;
    std::uint64_t imageSize_;
    Phase phase_ = Phase::Joining;
    bool childCancelled_ = false;
    std::atomic<bool> stopPlacing_{false};
    PlaceOutcome placement_;
    std::string imageReport_;
    std::unique_ptr<TemporaryImage> temporary_;
    JoinProcess process_;
    std::unique_ptr<BackgroundTask> placing_;
    std::unique_ptr<ExitWatch> placingWatch_; // declared after placing_: stops before it goes
};

} // namespace partwright
