#include "ui/ProgressWindow.h"

#include "join/BuildFlow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace partwright {

namespace {

constexpr int kRefreshMilliseconds = 250;
constexpr int kBarSteps = 1000; // the bar counts per mille

} // namespace

ProgressWindow::ProgressWindow(const BuildFlow& flow, QString destination, int partCount,
                               QWidget* mainWindow)
    : QDialog(mainWindow), flow_(flow), destination_(std::move(destination)), reading_(partCount)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Building..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);

    lblAction = new QLabel(this);
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
    const ProgressShown shown =
        reading_.read(flow_.figures(), static_cast<double>(clock_.elapsed()) / 1000.0);
    lblAction->setText(QString::fromStdString(shown.action) + QLatin1Char('\n') + destination_);
    if (shown.permille < 0) {
        barProgress->setRange(0, 0); // moving to and fro: no measure
    } else {
        barProgress->setRange(0, kBarSteps);
        barProgress->setValue(shown.permille);
    }
    lblFigures->setText(QString::fromStdString(shown.figures));
}

} // namespace partwright
