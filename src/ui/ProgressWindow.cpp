#include "ui/ProgressWindow.h"

#include "join/BuildFlow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace partwright {

namespace {

constexpr int kRefreshMilliseconds = 250;
constexpr int kBarSteps = 1000;

} // namespace

ProgressWindow::ProgressWindow(const BuildFlow& flow, const QString& destination, int partCount,
                               QWidget* mainWindow)
    : QDialog(mainWindow), flow_(flow)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Building..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);

    const QString action =
        partCount == 1 ? tr("Joining 1 part into:") : tr("Joining %1 parts into:").arg(partCount);
    lblAction = new QLabel(action + QLatin1Char('\n') + destination, this);
    lblAction->setObjectName(QStringLiteral("lblAction"));
    lblAction->setTextFormat(Qt::PlainText);
    lblAction->setWordWrap(true);
    barProgress = new QProgressBar(this);
    barProgress->setObjectName(QStringLiteral("barProgress"));
    barProgress->setRange(0, kBarSteps);
    lblFigures = new QLabel(this);
    lblFigures->setObjectName(QStringLiteral("lblFigures"));
    cmdCancel = new QPushButton(tr("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblAction);
    layout->addWidget(barProgress);
    layout->addWidget(lblFigures);
    layout->addWidget(cmdCancel, 0, Qt::AlignRight);
    setFixedWidth(mainWindow ? mainWindow->width() - 40 : 400);

    connect(cmdCancel, &QPushButton::clicked, this, &ProgressWindow::reject);
    connect(&timer_, &QTimer::timeout, this, &ProgressWindow::refresh);
    clock_.start();
    refresh();
    timer_.start(kRefreshMilliseconds);
    if (mainWindow)
        move(mainWindow->geometry().center() - QPoint(width() / 2, sizeHint().height() / 2));
}

void ProgressWindow::reject()
{
    emit cancelRequested();
}

void ProgressWindow::refresh()
{
    const BuildFigures figures = flow_.figures();
    if (figures.phase == BuildFigures::Phase::Placing) {
        // Every byte is written; the flush to disk takes as long as it takes.
        barProgress->setRange(0, 0);
        lblFigures->setText(tr("Flushing the image to disk..."));
        return;
    }
    const std::uint64_t total = figures.total;
    const std::uint64_t done = figures.written;
    meter_.add(static_cast<double>(clock_.elapsed()) / 1000.0, done);
    barProgress->setValue(total == 0 ? kBarSteps : static_cast<int>(done * kBarSteps / total));
    lblFigures->setText(
        QString::fromStdString(ProgressFigures(done, total, meter_.bytesPerSecond())));
}

} // namespace partwright
