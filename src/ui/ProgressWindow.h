#pragma once

#include "join/Progress.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace partwright {

class BuildFlow;

// Shows how far a build has come, a few times a second: what it does (checking the checksums, the
// join, the flush to disk), the bytes done of all, the speed and the time left. Cancel, Esc and
// the close button all ask to cancel. It does not block the main window, whose "Read Help" stays
// usable.
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    ProgressWindow(const BuildFlow& flow, QString destination, int partCount, QWidget* mainWindow);

signals:
    void cancelRequested();

protected:
    void reject() override;

private:
    void refresh();

    const BuildFlow& flow_;
    QLabel* lblAction = nullptr;
    QProgressBar* barProgress = nullptr;
    QLabel* lblFigures = nullptr;
    QPushButton* cmdCancel = nullptr;
    QString destination_;
    QTimer timer_;
    QElapsedTimer clock_;
    ProgressReading reading_;
};

} // namespace partwright
