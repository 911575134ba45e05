#include "qt/JoinProcess.h"

#include <QMetaObject>

namespace partwright {

JoinProcess::JoinProcess(QObject* parent) : QObject(parent) {}

JoinProcess::~JoinProcess() = default;

int JoinProcess::start(const ChildCommand& command)
{
    if (const int error = child_.start(command))
        return error;
    exitWatch_ = WatchWaitable(child_.exitWaitable(), [this] { collect(); });
    return 0;
}

void JoinProcess::cancel()
{
    if (!child_.running())
        return;
    exitWatch_->stop();
    child_.kill();
    // Reported from the event loop, like every other end of the child.
    QMetaObject::invokeMethod(this, &JoinProcess::finished, Qt::QueuedConnection);
}

bool JoinProcess::isRunning() const
{
    return child_.running();
}

const ChildOutcome& JoinProcess::outcome() const
{
    return child_.outcome();
}

void JoinProcess::collect()
{
    // The watch stops before the child's waitable is released; the child has ended, so the wait
    // returns at once.
    exitWatch_->stop();
    child_.wait();
    emit finished();
}

} // namespace partwright
