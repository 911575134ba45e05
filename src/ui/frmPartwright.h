#pragma once

#include "join/BuildFlow.h"
#include "qt/WaitableWatch.h"
#include "window/MainWindowController.h"
#include "window/MainWindowView.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace partwright {

class FileChooser;
class ListViewControl;
class ProgressWindow;

// What the main window needs from outside; the application passes the system's own.
struct WindowServices {
    JoinCommandFactory joinCommand;
    std::shared_ptr<FileChooser> files;
};

WindowServices SystemWindowServices();

// The main window: the input list, the destination and the buttons that run the operations.
// Every handled event goes to one handler of the window's logic (MainWindowController), named
// after its control and event; the window is the logic's view in Qt.
class frmPartwright : public QWidget, private MainWindowView {
    Q_OBJECT

public:
    explicit frmPartwright(WindowServices services = SystemWindowServices(),
                           QWidget* parent = nullptr);
    ~frmPartwright() override;

    bool isBuilding() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Parts dragged from a file manager anywhere onto the window enter as picked ones would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void connectEvents();
    void Form_Load();

    // The view of the window's logic.
    InputList& list() override;
    std::string destinationText() const override;
    void setDestinationText(const std::string& text) override;
    std::string chooseFile(FileDialogKind kind) override;
    void report(ReportKind kind, const std::string& text) override;
    bool askYesNo(const std::string& question, DefaultAnswer preferred) override;
    void showAbout() override;
    void setBusy(bool busy) override;
    void setBusyPointer(bool busy) override;
    void watch(const std::vector<std::intptr_t>& waitables) override;
    void showProgress(BuildFlow& build) override;
    void closeProgress() override;
    void closeWindow() override;

    WindowServices services_;
    MainWindowController logic_;

    QLabel* lblFiles = nullptr;
    QTreeWidget* lvwFiles = nullptr;
    QPushButton* cmdFiles = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdSort = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QLabel* lblDestination = nullptr;
    QLineEdit* txtOuputIso = nullptr;
    QPushButton* cmdDestination = nullptr;
    QPushButton* cmdBuild = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdAbout = nullptr;
    QLabel* imgQuillon = nullptr;

    std::unique_ptr<ListViewControl> list_;
    std::unique_ptr<ProgressWindow> progress_;
    WaitableWatch watch_;
    QPointer<QWidget> focusBeforeBuild_;
    bool busyPointer_ = false;
};

} // namespace partwright
