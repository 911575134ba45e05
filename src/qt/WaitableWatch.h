#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace partwright {

// Tells the Qt event loop's owner when something a build waits for has signalled: a child's
// end, the end of work on another thread.
class WaitableWatch : public QObject {
    Q_OBJECT

public:
    WaitableWatch();
    ~WaitableWatch() override;

    // Watches these from now on, in place of what it watched before.
    void watch(const std::vector<std::intptr_t>& waitables);

signals:
    // Once per watch(), from the event loop, outside the notifier's own call, so the receiver
    // may watch anew or drop the watch.
    void signalled();

private:
    void onActivated();

    std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
};

} // namespace partwright
