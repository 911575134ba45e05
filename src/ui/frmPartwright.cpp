#include "ui/frmPartwright.h"

#include "Version.h"
#include "help/HelpFile.h"
#include "join/BuildInput.h"
#include "join/Destination.h"
#include "join/PasteString.h"
#include "join/SystemJoin.h"
#include "list/FileNames.h"
#include "list/ListOperations.h"
#include "list/PickedParts.h"
#include "platform/HelpViewer.h"
#include "platform/NativePaths.h"
#include "text/DisplayText.h"
#include "text/Messages.h"
#include "ui/FontFit.h"
#include "ui/ListViewControl.h"
#include "ui/MessageBoxes.h"
#include "ui/ProgressWindow.h"
#include "ui/QtFileChooser.h"
#include "ui/Twips.h"
#include "ui/frmAbout.h"

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

constexpr int kDeleteKeyCode = Qt::Key_Delete;

std::string PathFromText(const QString& text)
{
    return QFile::encodeName(text).toStdString();
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

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& geometry, const QString& tooltip)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setToolTip(tooltip);
    button->setAutoDefault(false);
    return button;
}

QPushButton* MakePictureButton(QWidget* parent, const char* name, const QString& picture,
                               const QSize& pictureSize, const QRect& geometry,
                               const QString& tooltip)
{
    auto* button = MakeButton(parent, name, QString(), geometry, tooltip);
    button->setIcon(QIcon(picture));
    button->setIconSize(pictureSize);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, const QPoint& at)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(at);
    label->adjustSize(); // sized to its text
    return label;
}

// One stroke of the etched separator.
QFrame* MakeLine(QWidget* parent, const char* name, const QRect& geometry, const QColor& colour)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(geometry);
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
    : QWidget(parent), services_(std::move(services))
{
    InitPartwrightResources();
    setObjectName(QStringLiteral("frmPartwright"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(RectFromTwips(0, 0, 6645, 3825).size());
    QIcon icon(QStringLiteral(":/icons/partwright-32.png"));
    icon.addFile(QStringLiteral(":/icons/partwright-16.png"));
    setWindowIcon(icon);

    createControls();
    ShrinkFontUntilCaptionsFit(*this);
    connectEvents();
    Form_Load();
    setAcceptDrops(true);
}

frmPartwright::~frmPartwright() = default;

void frmPartwright::createControls()
{
    // Created in tab order, so the focus chain follows it.
    lblFiles =
        MakeLabel(this, "lblFiles", tr("Input files:"), RectFromTwips(1440, 120, 0, 0).topLeft());

    lvwFiles = new QTreeWidget(this);
    lvwFiles->setObjectName(QStringLiteral("lvwFiles"));
    lvwFiles->setGeometry(RectFromTwips(1440, 360, 3375, 2055));
    lvwFiles->setToolTip(tr("Input files that should be pasted together"));
    lvwFiles->setRootIsDecorated(false);
    lvwFiles->setItemsExpandable(false);
    lvwFiles->setUniformRowHeights(true);
    lvwFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwFiles->setColumnCount(0);
    list_ = std::make_unique<ListViewControl>(*lvwFiles);

    cmdFiles = MakeButton(this, "cmdFiles", tr("&Files..."), RectFromTwips(5280, 360, 1215, 375),
                          tr("Select the files that should be pasted together (multiselect is "
                             "available)..."));
    cmdClear = MakeButton(this, "cmdClear", tr("&Clear"), RectFromTwips(5280, 840, 1215, 375),
                          tr("Clear all input files"));
    cmdDelete = MakeButton(this, "cmdDelete", tr("&Delete"), RectFromTwips(5280, 1320, 1215, 375),
                           tr("Clear selected input files (multiselect is available)"));
    cmdSort = MakeButton(this, "cmdSort", tr("&Sort"), RectFromTwips(5280, 1800, 1215, 375),
                         tr("Sort all input files"));
    cmdUp = MakePictureButton(this, "cmdUp", QStringLiteral(":/pictures/up.png"), QSize(14, 15),
                              RectFromTwips(4920, 360, 255, 255),
                              tr("Move all selected input files up (multiselect is available)"));
    cmdDown =
        MakePictureButton(this, "cmdDown", QStringLiteral(":/pictures/down.png"), QSize(14, 15),
                          RectFromTwips(4920, 600, 255, 255),
                          tr("Move all selected input files down (multiselect is available)"));

    lblDestination = MakeLabel(this, "lblDestination", tr("Destination file:"),
                               RectFromTwips(1440, 2520, 0, 0).topLeft());
    txtOuputIso = new QLineEdit(this);
    txtOuputIso->setObjectName(QStringLiteral("txtOuputIso"));
    txtOuputIso->setGeometry(RectFromTwips(1440, 2760, 3375, 285));
    txtOuputIso->setToolTip(tr("Destination file"));
    txtOuputIso->setAcceptDrops(false); // dropped files are parts, not text to insert

    cmdDestination =
        MakeButton(this, "cmdDestination", tr("D&estination..."),
                   RectFromTwips(5280, 2730, 1215, 375), tr("Choose destination file"));
    cmdBuild = MakeButton(this, "cmdBuild", tr("&Build"), RectFromTwips(5280, 3360, 1215, 375),
                          tr("Build all input files to the destination file"));
    cmdHelp = MakeButton(this, "cmdHelp", tr("Read &Help"), RectFromTwips(120, 3360, 1215, 375),
                         tr("Open the help file in the text viewer"));
    cmdAbout = MakePictureButton(this, "cmdAbout", QStringLiteral(":/pictures/about.png"),
                                 QSize(16, 16), RectFromTwips(1440, 3360, 375, 375), tr("Help..."));

    imgQuillon = new QLabel(this);
    imgQuillon->setObjectName(QStringLiteral("imgQuillon"));
    imgQuillon->setGeometry(RectFromTwips(120, 360, 1050, 1050));
    imgQuillon->setPixmap(QPixmap(QStringLiteral(":/pictures/quillon.png")));
    imgQuillon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgQuillon->setToolTip(tr("Nice picture, huh?"));

    // Etched separator: a white stroke under a grey one, one pixel further right.
    MakeLine(this, "Line1_0", RectFromTwips(105, 3240, 6480 - 105, 30), Qt::white);
    MakeLine(this, "Line1_1", RectFromTwips(90, 3240, 6480 - 90, 15), QColor(128, 128, 128));

    // Names a screen reader reads out for the controls that show a picture instead of a caption.
    lvwFiles->setAccessibleName(tr("Input files"));
    txtOuputIso->setAccessibleName(tr("Destination file"));
    cmdUp->setAccessibleName(tr("Move up"));
    cmdUp->setAccessibleDescription(cmdUp->toolTip());
    cmdDown->setAccessibleName(tr("Move down"));
    cmdDown->setAccessibleDescription(cmdDown->toolTip());
    cmdAbout->setAccessibleName(tr("About Partwright"));
    cmdAbout->setAccessibleDescription(tr("Shows the version of Partwright"));
    imgQuillon->setAccessibleName(tr("Partwright picture"));
    imgQuillon->setAccessibleDescription(tr("Three part files joined into one disc"));

    const QWidget* tabOrder[] = {lvwFiles,       cmdFiles, cmdClear, cmdDelete,
                                 cmdSort,        cmdUp,    cmdDown,  txtOuputIso,
                                 cmdDestination, cmdBuild, cmdHelp,  cmdAbout};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(const_cast<QWidget*>(tabOrder[i - 1]), const_cast<QWidget*>(tabOrder[i]));
    lvwFiles->setFocus(Qt::OtherFocusReason);
}

void frmPartwright::connectEvents()
{
    connect(cmdFiles, &QPushButton::clicked, this, &frmPartwright::cmdFiles_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmPartwright::cmdClear_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmPartwright::cmdDelete_Click);
    connect(cmdSort, &QPushButton::clicked, this, &frmPartwright::cmdSort_Click);
    connect(cmdUp, &QPushButton::clicked, this, &frmPartwright::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &frmPartwright::cmdDown_Click);
    connect(cmdDestination, &QPushButton::clicked, this, &frmPartwright::cmdDestination_Click);
    connect(cmdBuild, &QPushButton::clicked, this, &frmPartwright::cmdBuild_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmPartwright::cmdHelp_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &frmPartwright::cmdAbout_Click);
    lvwFiles->installEventFilter(this); // key down, see eventFilter
    connect(&watch_, &WaitableWatch::signalled, this, &frmPartwright::buildSignalled);
}

void frmPartwright::Form_Load()
{
    showDestination(kDefaultImageName);

    const std::string version = std::string("[").append(VersionTriple()).append("]");
    const std::string title = PasteString(" ", {"Partwright", version, "by Quillon"});
    setWindowTitle(QString::fromStdString(title));

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
    if (watched == lvwFiles && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        lvwFiles_KeyDown(key->key(), key->modifiers());
    }
    return QWidget::eventFilter(watched, event); // the list handles every key as usual
}

void frmPartwright::closeEvent(QCloseEvent* event)
{
    // While a build runs the window stays; a cancelled build closes it once it has cleaned up.
    // "No" keeps the program, also when the build has ended meanwhile.
    if (isBuilding() && !closeWhenBuilt_ && !questionOpen_) {
        if (!askHoldingBuild(messages::CancelOnCloseQuestion())) {
            event->ignore();
            driveBuild([] {}); // goes on from what it held meanwhile
            return;
        }
        closeWhenBuilt_ = true;
        driveBuild([this] { build_->cancel(); });
    }
    if (isBuilding())
        event->ignore();
    else
        event->accept();
}

void frmPartwright::cmdFiles_Click()
{
    try {
        const FileDialogRequest request{FileDialogRequest::Kind::Open, tr("Open"),
                                        tr("All files (*.*)"),         QStringLiteral("*.*"),
                                        /*allowMultiSelect=*/true,
                                        /*fileMustExist=*/true,
                                        /*promptToCreate=*/false};
        const std::string result = services_.files->choose(this, request);
        if (result.empty())
            return;

        std::string directory;
        std::vector<std::string> paths;
        if (!SplitFileNames(result, NativeSeparator(), directory, paths)) {
            ShowError(this, messages::InvalidFiles());
            return;
        }
        addPickedParts(directory, std::move(paths));
    } catch (const std::exception& error) {
        ShowError(this, messages::FileCouldNotBeOpened(messages::DetailsOf(error)));
    }
}

void frmPartwright::addPickedParts(const std::string& directory, std::vector<std::string> paths)
{
    showDestination(AddPickedParts(*list_, directory, std::move(paths)));
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
    try {
        const std::string folder = DirectoryOfDrop(files, NativeSeparator());
        addPickedParts(folder, std::move(files));
    } catch (const std::exception& error) {
        ShowError(this, messages::FileCouldNotBeOpened(messages::DetailsOf(error)));
    }
}

void frmPartwright::cmdClear_Click()
{
    list_->clear();
}

void frmPartwright::cmdDelete_Click()
{
    DeleteSelected(*list_);
}

void frmPartwright::lvwFiles_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift)
{
    Q_UNUSED(Shift); // Shift, Ctrl and Alt make no difference
    if (KeyCode == kDeleteKeyCode)
        DeleteSelected(*list_);
}

void frmPartwright::cmdSort_Click()
{
    try {
        SortListview(*list_);
    } catch (const std::exception&) {
        // A failed sort ends silently; what it did stays done.
    }
}

void frmPartwright::cmdUp_Click()
{
    MoveListview(*list_, -1);
}

void frmPartwright::cmdDown_Click()
{
    MoveListview(*list_, 1);
}

void frmPartwright::cmdDestination_Click()
{
    try {
        const FileDialogRequest request{FileDialogRequest::Kind::Save, tr("Save"),
                                        tr("ISO files (*.ISO)"),       QStringLiteral("*.ISO"),
                                        /*allowMultiSelect=*/false,
                                        /*fileMustExist=*/false,
                                        /*promptToCreate=*/true};
        const std::string chosen = services_.files->choose(this, request);
        const bool named = !chosen.empty();
        const bool endsInIso = IsIsoName(chosen);
        if (named && endsInIso)
            showDestination(chosen);
    } catch (const std::exception& error) {
        ShowError(this, messages::FileCouldNotBeCreated(messages::DetailsOf(error)));
    }
}

void frmPartwright::cmdHelp_Click()
{
    std::string path;
    try {
        path = ProgramDirectory();
        path = HelpFilePath(path, NativeSeparator());
        if (!StartHelpViewer(path))
            throw std::runtime_error("the help viewer cannot be started");
    } catch (const std::exception&) {
        ShowError(this, messages::HelpCannotBeOpened(path));
    }
}

void frmPartwright::cmdAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

bool frmPartwright::isBuilding() const
{
    return build_ != nullptr;
}

void frmPartwright::EnableControls(bool Enabled)
{
    QWidget* const busySet[] = {cmdFiles, cmdClear, cmdDelete, cmdSort,  cmdDestination, cmdBuild,
                                cmdAbout, cmdUp,    cmdDown,   lvwFiles, txtOuputIso};
    for (QWidget* control : busySet)
        control->setEnabled(Enabled);
}

// Disabling the focused control moves the focus away; it comes back when the build ends, so the
// keyboard stays where the user left it.
void frmPartwright::enterBusyState()
{
    focusBeforeBuild_ = QApplication::focusWidget();
    EnableControls(false);
}

void frmPartwright::leaveBusyState()
{
    EnableControls(true);
    if (focusBeforeBuild_)
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

void frmPartwright::showDestination(const std::string& path)
{
    shownDestination_ = {QString::fromStdString(DisplayText(path)), path};
    txtOuputIso->setText(shownDestination_.text);
}

// Text the user typed is taken as it is.
std::string frmPartwright::destinationPath() const
{
    const QString text = txtOuputIso->text();
    return text == shownDestination_.text ? shownDestination_.path : PathFromText(text);
}

void frmPartwright::cmdBuild_Click()
{
    enterBusyState();
    const std::string destination = destinationPath();
    if (!IsBuildInputValid(static_cast<std::size_t>(list_->count()), destination)) {
        leaveBusyState();
        ShowError(this, messages::kInvalidInput);
        return;
    }
    driveBuild([&] {
        build_ =
            std::make_unique<BuildFlow>(services_.joinCommand, EntryTexts(*list_), destination);
        build_->start();
    });
}

// Every call into the build goes through here, and the window then does what the build needs
// next. A fault of the window's own ends the build like one of the build's.
template <typename Step> void frmPartwright::driveBuild(Step step)
{
    try {
        step();
        followBuild();
    } catch (const std::exception&) {
        watch_.watch({});
        progress_.reset();
        build_.reset();
        endBuildWithError(messages::BuildFailedUnexpectedly());
    }
}

void frmPartwright::followBuild()
{
    while (build_ && !questionOpen_) {
        if (!build_->showsProgress()) {
            progress_.reset();
        } else if (!progress_) {
            progress_ = std::make_unique<ProgressWindow>(
                *build_, QString::fromStdString(DisplayText(build_->destination())),
                static_cast<int>(build_->partCount()), this);
            connect(progress_.get(), &ProgressWindow::cancelRequested, this,
                    &frmPartwright::cancelBuild);
            progress_->show();
        }
        switch (build_->next()) {
        case BuildFlow::Next::Watch:
            setBusyPointer(true);
            watch_.watch(build_->waitables());
            return;
        case BuildFlow::Next::Ask: {
            setBusyPointer(false);
            const bool yes = askHoldingBuild(build_->question());
            build_->answer(yes);
            break;
        }
        case BuildFlow::Next::Report:
            buildEnded();
            return;
        }
    }
}

// A question's box runs an event loop of its own; the build's wake-ups wait for the answer.
bool frmPartwright::askHoldingBuild(const std::string& question)
{
    watch_.watch({});
    questionOpen_ = true;
    const bool yes = AskYesNo(this, question);
    questionOpen_ = false;
    return yes;
}

void frmPartwright::buildSignalled()
{
    if (build_ && !questionOpen_)
        driveBuild([this] { build_->signalled(); });
}

void frmPartwright::cancelBuild()
{
    if (build_ && !questionOpen_)
        driveBuild([this] { build_->cancel(); });
}

void frmPartwright::buildEnded()
{
    watch_.watch({});
    progress_.reset();
    const std::unique_ptr<BuildFlow> build = std::move(build_);
    setBusyPointer(false);
    leaveBusyState();
    switch (build->ending()) {
    case BuildEnding::Built:
        ShowInfo(this, build->message());
        break;
    case BuildEnding::Cancelled:
        if (!closeWhenBuilt_) // closing the window asked for the cancel; no report then
            ShowNote(this, build->message());
        break;
    case BuildEnding::Declined:
        break;
    case BuildEnding::Mismatched:
    case BuildEnding::Failed:
    case BuildEnding::Running:
        ShowError(this, build->message());
        break;
    }
    if (closeWhenBuilt_)
        close();
}

void frmPartwright::endBuildWithError(const std::string& message)
{
    setBusyPointer(false);
    leaveBusyState();
    ShowError(this, message);
}

} // namespace partwright
