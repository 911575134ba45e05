#include "qt/WaitableWatch.h"

#include <QSocketNotifier>

namespace partwright {

WaitableWatch::WaitableWatch() = default;

WaitableWatch::~WaitableWatch() = default;

// A pidfd becomes readable when its process has ended, an eventfd when it has been written to.
void WaitableWatch::watch(const std::vector<std::intptr_t>& waitables)
{
    notifiers_.clear();
    for (const std::intptr_t waitable : waitables) {
        auto notifier = std::make_unique<QSocketNotifier>(static_cast<qintptr>(waitable),
                                                          QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this, &WaitableWatch::onActivated);
        notifiers_.push_back(std::move(notifier));
    }
}

void WaitableWatch::onActivated()
{
    for (const auto& notifier : notifiers_)
        notifier->setEnabled(false); // the descriptor stays readable until it is dealt with
    QMetaObject::invokeMethod(this, &WaitableWatch::signalled, Qt::QueuedConnection);
}

} // namespace partwright
