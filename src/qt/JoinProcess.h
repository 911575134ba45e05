#pragma once

#include "platform/ChildCommand.h"
#include "platform/ChildProcess.h"

#include <QObject>
#include <functional>
#include <memory>

namespace partwright {

// Calls back from the event loop when a waitable signals: a child's end, or the end of work on
// another thread.
class ExitWatch {
public:
    virtual ~ExitWatch() = default;
    // No further calls back after this.
    virtual void stop() = 0;
};

std::unique_ptr<ExitWatch> WatchWaitable(std::intptr_t waitable, std::function<void()> onSignal);

// A child process watched by the event loop: the window keeps painting and handling events while
// the child runs, and finished() arrives once, when it has ended.
class JoinProcess : public QObject {
    Q_OBJECT

public:
    explicit JoinProcess(QObject* parent = nullptr);
    ~JoinProcess() override;

    // 0 when the child runs, otherwise the system's error code; finished() follows only a start
    // that returned 0.
    int start(const ChildCommand& command);

    // Ends the child and whatever it started; finished() follows.
    void cancel();

    bool isRunning() const;
    const ChildOutcome& outcome() const;

signals:
    void finished();

private:
    void collect();

    ChildProcess child_;
    std::unique_ptr<ExitWatch> exitWatch_; // declared after child_: stops before the child goes
};

} // namespace partwright
