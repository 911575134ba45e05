#pragma once

#include "build/BuildInput.h"
#include "platform/ChildCommand.h"
#include "platform/JoinProcess.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace partwright {

// Composes the child command that joins the parts into the temporary file and then puts that in
// the destination's place.
using JoinCommandFactory =
    std::function<ChildCommand(const std::vector<std::string>& parts, const std::string& temporary,
                               const std::string& destination)>;

// One join, run by a child process while the event loop goes on. The image is written to a
// temporary file beside the destination; whatever way the join ends other than success, that
// file is removed and the destination stays as it was. A finished image is checked against what
// its ISO 9660 volume declares, reading only its descriptors.
class JoinJob : public QObject {
    Q_OBJECT

public:
    JoinJob(JoinCommandFactory command, std::vector<ListedPart> parts, std::string destination,
            QObject* parent = nullptr);
    ~JoinJob() override;

    // Creates the temporary file and starts the child. False when the child could not start
    // (outcome() says why); throws std::system_error when the temporary file cannot be created.
    // finished() follows a start that returned true.
    bool start();

    // Ends the child and whatever it started; finished() follows.
    void cancel();

    bool cancelled() const { return cancelled_; }
    bool succeeded() const;
    const ChildOutcome& outcome() const { return process_.outcome(); }

    std::uint64_t imageSize() const { return imageSize_; }
    // How much of the image has been written so far, read from the file system.
    std::uint64_t bytesWritten() const;

    // After success: a line about the image's ISO 9660 volume, empty for other images.
    const std::string& imageReport() const { return imageReport_; }

signals:
    void finished();

private:
    void childEnded();
    void removeTemporary();

    JoinCommandFactory command_;
    std::vector<ListedPart> parts_;
    std::string destination_;
    std::string temporary_;
    std::uint64_t imageSize_;
    std::string imageReport_;
    bool cancelled_ = false;
    JoinProcess process_;
};

} // namespace partwright
