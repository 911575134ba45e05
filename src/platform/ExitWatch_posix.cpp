#include "platform/JoinProcess.h"

#include <QSocketNotifier>

namespace partwright {

namespace {

// A pidfd becomes readable when its process has ended.
class PidfdWatch final : public ExitWatch {
public:
    PidfdWatch(std::intptr_t pidfd, std::function<void()> onExit)
        : notifier_(static_cast<qintptr>(pidfd), QSocketNotifier::Read)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, std::move(onExit));
    }
    void stop() override { notifier_.setEnabled(false); }

private:
    QSocketNotifier notifier_;
};

} // namespace

std::unique_ptr<ExitWatch> WatchChildExit(std::intptr_t waitable, std::function<void()> onExit)
{
    return std::make_unique<PidfdWatch>(waitable, std::move(onExit));
}

} // namespace partwright
