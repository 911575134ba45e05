#include "build/JoinJob.h"

#include "build/ImageCheck.h"
#include "platform/FileSystem.h"

#include <filesystem>

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
    if (process_.isRunning()) {
        cancelled_ = true;
        process_.cancel();
    }
    if (!succeeded())
        removeTemporary();
}

bool JoinJob::start()
{
    std::vector<std::string> paths;
    for (const auto& part : parts_)
        paths.push_back(part.path);
    temporary_ = CreateTemporaryBeside(destination_);
    if (process_.start(command_(paths, temporary_, destination_)) != 0) {
        removeTemporary();
        return false;
    }
    return true;
}

void JoinJob::cancel()
{
    if (!process_.isRunning())
        return;
    cancelled_ = true;
    process_.cancel();
}

bool JoinJob::succeeded() const
{
    const ChildOutcome& end = process_.outcome();
    return !cancelled_ && !process_.isRunning() && !temporary_.empty() && end.startError == 0 &&
           end.signal == 0 && end.exitCode == 0;
}

std::uint64_t JoinJob::bytesWritten() const
{
    std::error_code error;
    const auto size = std::filesystem::file_size(temporary_, error);
    if (!error)
        return size;
    // The temporary file is gone once it has taken the destination's place.
    return succeeded() || process_.isRunning() ? imageSize_ : 0;
}

void JoinJob::childEnded()
{
    if (succeeded())
        imageReport_ = ImageCheckLine(destination_, parts_);
    else
        removeTemporary();
    emit finished();
}

void JoinJob::removeTemporary()
{
    if (temporary_.empty())
        return;
    std::error_code ignored; // already gone after a rename, or never written
    std::filesystem::remove(temporary_, ignored);
}

} // namespace partwright
