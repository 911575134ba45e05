#pragma once

#include "qt/JoinJob.h"

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace partwright {

class ProgressWindow;

// One press of "Build" after its input was found valid: the checks that refuse a build before
// anything runs, the questions that may stop it, and the join itself with its progress window.
// It reports how it ended; the main window shows that.
class BuildOperation : public QObject {
    Q_OBJECT

public:
    enum class Ending { Running, Built, Failed, Cancelled, Declined };

    BuildOperation(QWidget* window, JoinCommandFactory joinCommand, std::vector<std::string> parts,
                   std::string destinationText);
    ~BuildOperation() override;

    // True when the join runs and ended() will follow; false when the build ended here.
    bool start();
    void cancel();

    Ending ending() const { return ending_; }
    // The report of a build that ended: built, failed or cancelled.
    const std::string& message() const { return message_; }

signals:
    void ended();

private:
    bool prepareAndStart();
    bool endHere(Ending ending, std::string message = {});
    void joinEnded();

    QWidget* window_;
    JoinCommandFactory joinCommand_;
    std::vector<std::string> parts_;
    std::string destinationText_;
    std::string destination_;
    bool destinationExisted_ = false;
    Ending ending_ = Ending::Running;
    std::string message_;
    std::unique_ptr<JoinJob> job_;
    std::unique_ptr<ProgressWindow> progress_;
};

} // namespace partwright
