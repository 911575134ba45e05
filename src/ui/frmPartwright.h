#pragma once

#include "join/BuildFlow.h"
#include "qt/WaitableWatch.h"

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
// Every handled event goes to one handler, named after its control and event.
class frmPartwright : public QWidget {
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

    void cmdFiles_Click();
    void addPickedParts(const std::string& directory, std::vector<std::string> paths);
    void cmdClear_Click();
    void cmdDelete_Click();
    void lvwFiles_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift);
    void cmdSort_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdDestination_Click();
    void cmdBuild_Click();
    void cmdHelp_Click();
    void cmdAbout_Click();

    void EnableControls(bool Enabled);
    void enterBusyState();
    void leaveBusyState();
    template <typename Step> void driveBuild(Step step);
    void followBuild();
    bool askHoldingBuild(const std::string& question);
    void buildSignalled();
    void cancelBuild();
    void buildEnded();
    void endBuildWithError(const std::string& message);
    void setBusyPointer(bool busy);
    void showDestination(const std::string& path);
    std::string destinationPath() const;

    WindowServices services_;

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
    // The destination box shows paths escaped. The path behind the text the program put there,
    // used byte for byte for as long as the box shows that text.
    struct ShownPath {
        QString text;
        std::string path;
    };
    ShownPath shownDestination_;
    std::unique_ptr<BuildFlow> build_;
    std::unique_ptr<ProgressWindow> progress_;
    WaitableWatch watch_;
    QPointer<QWidget> focusBeforeBuild_;
    bool busyPointer_ = false;
    bool closeWhenBuilt_ = false;
    bool questionOpen_ = false; // the build holds until the open question is answered
};

} // namespace partwright
