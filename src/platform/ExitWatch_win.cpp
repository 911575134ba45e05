#include "platform/JoinProcess.h"

#include <QWinEventNotifier>

namespace partwright {

namespace {

// A process handle is signalled when its process has ended.
class ProcessHandleWatch final : public ExitWatch {
public:
    ProcessHandleWatch(std::intptr_t handle, std::function<void()> onExit)
        : notifier_(reinterpret_cast<HANDLE>(handle))
    {
        QObject::connect(&notifier_, &QWinEventNotifier::activated, &notifier_, std::move(onExit));
    }
    void stop() override { notifier_.setEnabled(false); }

private:
    QWinEventNotifier notifier_;
};

} // namespace

std::unique_ptr<ExitWatch> WatchWaitable(std::intptr_t waitable, std::function<void()> onExit)
{
    return std::make_unique<ProcessHandleWatch>(waitable, std::move(onExit));
}

} // namespace partwright
