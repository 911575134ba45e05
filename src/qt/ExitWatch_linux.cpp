#include "qt/JoinProcess.h"

#include <QSocketNotifier>

namespace partwright {

namespace {

// A pidfd becomes readable when its process has ended, an eventfd when it has been written to.
class DescriptorWatch final : public ExitWatch {
public:
    DescriptorWatch(std::intptr_t descriptor, std::function<void()> onSignal)
        : notifier_(static_cast<qintptr>(descriptor), QSocketNotifier::Read)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, std::move(onSignal));
    }
    void stop() override { notifier_.setEnabled(false); }

private:
    QSocketNotifier notifier_;
};

} // namespace

std::unique_ptr<ExitWatch> WatchWaitable(std::intptr_t waitable, std::function<void()> onSignal)
{
    return std::make_unique<DescriptorWatch>(waitable, std::move(onSignal));
}

} // namespace partwright
