#include "ui/frmPartwright.h"

#include "join/SystemJoin.h"
#include "platform/NativePaths.h"
#include "text/DisplayText.h"
#include "ui/FontFit.h"
#include "ui/ListViewControl.h"
#include "ui/MessageBoxes.h"
#include "ui/ProgressWindow.h"
#include "ui/QtFileChooser.h"
#include "ui/Twips.h"
#include "ui/frmAbout.h"
#include "window/MainWindowLayout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QUrl>
#include <exception>
#include <filesystem>
#include <stdexcept>

// Resources live in a static library; naming them here keeps the linker from dropping them.
static void InitPartwrightResources()
{
    Q_INIT_RESOURCE(partwright);
}

namespace partwright {

namespace {

QRect RectOf(const layout::Place& place)
{
    return RectFromTwips(place.left, place.top, place.width, place.height);
}

// The local files of a drop, as the bytes of their paths (a name need not be valid text);
// folders and anything that is not a local file are left out.
std::vector<std::string> DroppedFiles(const QMimeData& data)
{
    std::vector<std::string> files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        const std::string path =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            files.push_back(path);
    }
    return files;
}

QPushButton* MakeButton(QWidget* parent, const layout::Control& control)
{
    auto* button = new QPushButton(QString::fromUtf8(control.caption), parent);
    button->setObjectName(QString::fromLatin1(control.name));
    button->setGeometry(RectOf(control.place));
    button->setToolTip(QString::fromUtf8(control.tooltip));
    button->setAutoDefault(false);
    return button;
}

// The caption of a picture button is not shown; a screen reader reads it out.
QPushButton* MakePictureButton(QWidget* parent, const layout::Control& control,
                               const QString& picture, const QSize& pictureSize)
{
    auto* button = MakeButton(parent, control);
    button->setText(QString());
    button->setAccessibleName(QString::fromUtf8(control.caption));
    button->setAccessibleDescription(button->toolTip());
    button->setIcon(QIcon(picture));
    button->setIconSize(pictureSize);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const layout::Control& control)
{
    auto* label = new QLabel(QString::fromUtf8(control.caption), parent);
    label->setObjectName(QString::fromLatin1(control.name));
    label->move(RectOf(control.place).topLeft());
    label->adjustSize(); // sized to its text
    return label;
}

// One stroke of the etched separator.
QFrame* MakeLine(QWidget* parent, const char* name, const layout::Place& place,
                 const QColor& colour)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(RectOf(place));
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

} // namespace

WindowServices SystemWindowServices()
{
    return WindowServices{SystemJoinSteps, std::make_shared<QtFileChooser>()};
}

frmPartwright::frmPartwright(WindowServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)),
      logic_(*this, services_.joinCommand, NativeSeparator())
{
    InitPartwrightResources();
    setObjectName(QStringLiteral("frmPartwright"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(RectOf(layout::kWindow).size());
    QIcon icon(QStringLiteral(":/icons/partwright-32.png"));
    icon.addFile(QStringLiteral(":/icons/partwright-16.png"));
    setWindowIcon(icon);

    createControls();
    ShrinkFontUntilCaptionsFit(*this);
    connectEvents();
    Form_Load();
    setAcceptDrops(true);
}

frmPartwright::~frmPartwright()
{
    logic_.Form_Unload();
}

void frmPartwright::createControls()
{
    // Created in tab order, so the focus chain follows it.
    lblFiles = MakeLabel(this, layout::kLblFiles);

    lvwFiles = new QTreeWidget(this);
    lvwFiles->setObjectName(QString::fromLatin1(layout::kLvwFiles.name));
    lvwFiles->setGeometry(RectOf(layout::kLvwFiles.place));
    lvwFiles->setToolTip(QString::fromUtf8(layout::kLvwFiles.tooltip));
    lvwFiles->setAccessibleName(QString::fromUtf8(layout::kLvwFiles.caption));
    lvwFiles->setRootIsDecorated(false);
    lvwFiles->setItemsExpandable(false);
    lvwFiles->setUniformRowHeights(true);
    lvwFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_ = std::make_unique<ListViewControl>(*lvwFiles);

    cmdFiles = MakeButton(this, layout::kCmdFiles);
    cmdClear = MakeButton(this, layout::kCmdClear);
    cmdDelete = MakeButton(this, layout::kCmdDelete);
    cmdSort = MakeButton(this, layout::kCmdSort);
    cmdUp =
        MakePictureButton(this, layout::kCmdUp, QStringLiteral(":/pictures/up.png"), QSize(14, 15));
    cmdDown = MakePictureButton(this, layout::kCmdDown, QStringLiteral(":/pictures/down.png"),
                                QSize(14, 15));

    lblDestination = MakeLabel(this, layout::kLblDestination);
    txtOuputIso = new QLineEdit(this);
    txtOuputIso->setObjectName(QString::fromLatin1(layout::kTxtOuputIso.name));
    txtOuputIso->setGeometry(RectOf(layout::kTxtOuputIso.place));
    txtOuputIso->setToolTip(QString::fromUtf8(layout::kTxtOuputIso.tooltip));
    txtOuputIso->setAccessibleName(QString::fromUtf8(layout::kTxtOuputIso.caption));
    txtOuputIso->setAcceptDrops(false); // dropped files are parts, not text to insert

    cmdDestination = MakeButton(this, layout::kCmdDestination);
    cmdBuild = MakeButton(this, layout::kCmdBuild);
    cmdHelp = MakeButton(this, layout::kCmdHelp);
    cmdAbout = MakePictureButton(this, layout::kCmdAbout, QStringLiteral(":/pictures/about.png"),
                                 QSize(16, 16));
    cmdAbout->setAccessibleDescription(tr("Shows the version of Partwright"));

    imgQuillon = new QLabel(this);
    imgQuillon->setObjectName(QString::fromLatin1(layout::kImgQuillon.name));
    imgQuillon->setGeometry(RectOf(layout::kImgQuillon.place));
    imgQuillon->setPixmap(QPixmap(QStringLiteral(":/pictures/quillon.png")));
    imgQuillon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgQuillon->setToolTip(QString::fromUtf8(layout::kImgQuillon.tooltip));
    imgQuillon->setAccessibleName(QString::fromUtf8(layout::kImgQuillon.caption));
    imgQuillon->setAccessibleDescription(tr("Three part files joined into one disc"));

    MakeLine(this, "Line1_0", layout::kSeparatorWhite, Qt::white);
    MakeLine(this, "Line1_1", layout::kSeparatorGrey, QColor(128, 128, 128));

    const QWidget* tabOrder[] = {lvwFiles,       cmdFiles, cmdClear, cmdDelete,
                                 cmdSort,        cmdUp,    cmdDown,  txtOuputIso,
                                 cmdDestination, cmdBuild, cmdHelp,  cmdAbout};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(const_cast<QWidget*>(tabOrder[i - 1]), const_cast<QWidget*>(tabOrder[i]));
    lvwFiles->setFocus(Qt::OtherFocusReason);
}

void frmPartwright::connectEvents()
{
    MainWindowController& logic = logic_;
    const std::pair<QPushButton*, void (MainWindowController::*)()> clicks[] = {
        {cmdFiles, &MainWindowController::cmdFiles_Click},
        {cmdClear, &MainWindowController::cmdClear_Click},
        {cmdDelete, &MainWindowController::cmdDelete_Click},
        {cmdSort, &MainWindowController::cmdSort_Click},
        {cmdUp, &MainWindowController::cmdUp_Click},
        {cmdDown, &MainWindowController::cmdDown_Click},
        {cmdDestination, &MainWindowController::cmdDestination_Click},
        {cmdBuild, &MainWindowController::cmdBuild_Click},
        {cmdHelp, &MainWindowController::cmdHelp_Click},
        {cmdAbout, &MainWindowController::cmdAbout_Click}};
    for (const auto& click : clicks) {
        const auto handler = click.second; // clang before 16 captures no structured binding
        connect(click.first, &QPushButton::clicked, this,
                [&logic, handler] { (logic.*handler)(); });
    }
    lvwFiles->installEventFilter(this); // key down, see eventFilter
    connect(&watch_, &WaitableWatch::signalled, this, [&logic] { logic.buildSignalled(); });
}

void frmPartwright::Form_Load()
{
    logic_.Form_Load();
    setWindowTitle(QString::fromStdString(layout::WindowTitle()));

    // One column of paths, without a header row, far wider than the list, so long paths
    // scroll sideways instead of being cut off.
    lvwFiles->setHeaderHidden(true);
    lvwFiles->setColumnCount(1);
    lvwFiles->setHeaderLabels({tr("Files")});
    lvwFiles->header()->setStretchLastSection(false);
    lvwFiles->setColumnWidth(0, lvwFiles->width() * 15);
    lvwFiles->setAlternatingRowColors(true);
    lvwFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool frmPartwright::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lvwFiles && event->type() == QEvent::KeyPress)
        logic_.lvwFiles_KeyDown(static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete);
    return QWidget::eventFilter(watched, event); // the list handles every key as usual
}

// While a build runs the window stays; a cancelled build closes it once it has cleaned up.
void frmPartwright::closeEvent(QCloseEvent* event)
{
    if (logic_.Form_QueryUnload())
        event->accept();
    else
        event->ignore();
}

void frmPartwright::dragEnterEvent(QDragEnterEvent* event)
{
    if (!isBuilding() && !DroppedFiles(*event->mimeData()).empty())
        event->acceptProposedAction();
}

void frmPartwright::dropEvent(QDropEvent* event)
{
    std::vector<std::string> files = DroppedFiles(*event->mimeData());
    if (isBuilding() || files.empty())
        return;
    event->acceptProposedAction();
    logic_.Form_DropFiles(std::move(files));
}

bool frmPartwright::isBuilding() const
{
    return logic_.isBuilding();
}

InputList& frmPartwright::list()
{
    return *list_;
}

// In the system's narrow encoding, as a path.
std::string frmPartwright::destinationText() const
{
    return QFile::encodeName(txtOuputIso->text()).toStdString();
}

void frmPartwright::setDestinationText(const std::string& text)
{
    txtOuputIso->setText(QString::fromStdString(text));
}

std::string frmPartwright::chooseFile(FileDialogKind kind)
{
    const FileDialogRequest open{FileDialogRequest::Kind::Open, tr("Open"),
                                 tr("All files (*.*)"),         QStringLiteral("*.*"),
                                 /*allowMultiSelect=*/true,
                                 /*fileMustExist=*/true,
                                 /*promptToCreate=*/false};
    const FileDialogRequest save{FileDialogRequest::Kind::Save, tr("Save"),
                                 tr("ISO files (*.ISO)"),       QStringLiteral("*.ISO"),
                                 /*allowMultiSelect=*/false,
                                 /*fileMustExist=*/false,
                                 /*promptToCreate=*/true};
    return services_.files->choose(this, kind == FileDialogKind::Open ? open : save);
}

void frmPartwright::report(ReportKind kind, const std::string& text)
{
    switch (kind) {
    case ReportKind::Error:
        return ShowError(this, text);
    case ReportKind::Success:
        return ShowSuccess(this, text);
    case ReportKind::Note:
        return ShowNote(this, text);
    }
}

bool frmPartwright::askYesNo(const std::string& question, DefaultAnswer preferred)
{
    return AskYesNo(this, question, preferred == DefaultAnswer::Yes);
}

void frmPartwright::showAbout()
{
    frmAbout about(this);
    about.exec();
}

// Disabling the focused control moves the focus away; it comes back when the build ends, so the
// keyboard stays where the user left it.
void frmPartwright::setBusy(bool busy)
{
    if (busy)
        focusBeforeBuild_ = QApplication::focusWidget();
    QWidget* const busySet[] = {cmdFiles, cmdClear, cmdDelete, cmdSort,  cmdDestination, cmdBuild,
                                cmdAbout, cmdUp,    cmdDown,   lvwFiles, txtOuputIso};
    for (QWidget* control : busySet)
        control->setEnabled(!busy);
    if (!busy && focusBeforeBuild_)
        focusBeforeBuild_->setFocus(Qt::OtherFocusReason);
}

void frmPartwright::setBusyPointer(bool busy)
{
    if (busy == busyPointer_)
        return;
    busyPointer_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmPartwright::watch(const std::vector<std::intptr_t>& waitables)
{
    watch_.watch(waitables);
}

void frmPartwright::showProgress(BuildFlow& build)
{
    progress_ = std::make_unique<ProgressWindow>(
        build, QString::fromStdString(DisplayText(build.destination())),
        static_cast<int>(build.partCount()), this);
    MainWindowController& logic = logic_;
    connect(progress_.get(), &ProgressWindow::cancelRequested, this,
            [&logic] { logic.cancelBuild(); });
    progress_->show();
}

void frmPartwright::closeProgress()
{
    progress_.reset();
}

void frmPartwright::closeWindow()
{
    QWidget::close();
}

} // namespace partwright
