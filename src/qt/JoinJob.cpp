#include "qt/JoinJob.h"

#include "join/ImageCheck.h"

namespace partwright {

JoinJob::JoinJob(JoinCommandFactory command, std::vector<ListedPart> parts, std::string destination,
                 QObject* parent)
    : QObject(parent), command_(std::move(command)), parts_(std::move(parts)),
      destination_(std::move(destination)), imageSize_(ImageSize(parts_))
{
    connect(&process_, &JoinProcess::finished, this, &JoinJob::childEnded);
}

JoinJob::~JoinJob()
{
    if (process_.isRunning())
        process_.cancel();
    stopPlacing_ = true;
    placingWatch_.reset();
    placing_.reset(); // waits for the step under way, such as a flush, to end
}

bool JoinJob::start()
{
    std::vector<std::string> paths;
    for (const auto& part : parts_)
        paths.push_back(part.path);
    temporary_ = std::make_unique<TemporaryImage>(destination_);
    if (process_.start(command_(paths, *temporary_)) != 0) {
        temporary_.reset();
        phase_ = Phase::Ended;
        return false;
    }
    return true;
}

void JoinJob::cancel()
{
    if (phase_ == Phase::Joining && process_.isRunning()) {
        childCancelled_ = true;
        process_.cancel();
    } else if (phase_ == Phase::Placing) {
        stopPlacing_ = true; // heeded unless the image is already replacing the destination
    }
}

bool JoinJob::childSucceeded() const
{
    const ChildOutcome& end = process_.outcome();
    return !childCancelled_ && end.startError == 0 && end.signal == 0 && end.exitCode == 0;
}

bool JoinJob::cancelled() const
{
    return phase_ == Phase::Ended &&
           (childCancelled_ || placement_.result == PlaceOutcome::Result::Stopped);
}

bool JoinJob::succeeded() const
{
    return phase_ == Phase::Ended && placement_.result == PlaceOutcome::Result::Placed;
}

std::uint64_t JoinJob::bytesWritten() const
{
    if (succeeded())
        return imageSize_;
    return temporary_ ? temporary_->size() : 0;
}

void JoinJob::childEnded()
{
    if (!childSucceeded()) {
        end();
        return;
    }
    phase_ = Phase::Placing;
    placing_ = std::make_unique<BackgroundTask>(
        [this] { placement_ = temporary_->place(imageSize_, stopPlacing_); });
    placingWatch_ = WatchWaitable(placing_->waitable(), [this] { placingEnded(); });
}

void JoinJob::placingEnded()
{
    placingWatch_->stop();
    placing_->wait();
    if (placement_.result == PlaceOutcome::Result::Placed)
        imageReport_ = ImageCheckLine(destination_, parts_);
    end();
}

void JoinJob::end()
{
    temporary_.reset(); // removes the temporary image unless it was placed
    phase_ = Phase::Ended;
    emit finished();
}

} // namespace partwright
