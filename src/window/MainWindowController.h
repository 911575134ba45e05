#pragma once

#include "join/BuildFlow.h"
#include "window/MainWindowView.h"

#include <memory>
#include <string>
#include <vector>

namespace partwright {

// The main window's logic, the same on every system: what each control's event does, the build's
// whole life (its questions, its progress window, which box each ending shows) and the
// destination box's path. A window forwards its events here and does what the view asks.
class MainWindowController {
public:
    // `separator` is the system's: it joins the open dialog's folder and names.
    MainWindowController(MainWindowView& view, JoinCommandFactory joinCommand, char separator);
    ~MainWindowController();
    MainWindowController(const MainWindowController&) = delete;
    MainWindowController& operator=(const MainWindowController&) = delete;

    void Form_Load();
    void cmdFiles_Click();
    // The regular files of a drop, as the window decoded them; ignored during a build.
    void Form_DropFiles(std::vector<std::string> files);
    void cmdClear_Click();
    void cmdDelete_Click();
    // Shift, Ctrl and Alt make no difference.
    void lvwFiles_KeyDown(bool deleteKey);
    void cmdSort_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdDestination_Click();
    void cmdBuild_Click();
    void cmdHelp_Click();
    void cmdAbout_Click();

    // Closing the window during a build asks to cancel it; the window closes once the build has
    // cleaned up. "No" keeps the program, also when the build has ended meanwhile. True when the
    // window may close now.
    bool Form_QueryUnload();
    // The window is going: a build still running ends with it.
    void Form_Unload();

    // From the view's watch and the progress window's Cancel.
    void buildSignalled();
    void cancelBuild();

    bool isBuilding() const;

private:
    template <typename Step> void driveBuild(Step step);
    void followBuild();
    bool askHoldingBuild(const std::string& question);
    void buildEnded();
    void dropBuild();
    void addPickedParts(std::string directory, std::vector<std::string> paths);
    void showDestination(const std::string& path);
    std::string destinationPath() const;

    MainWindowView& view_;
    JoinCommandFactory joinCommand_;
    char separator_;
    // The destination box shows paths escaped. The path behind the text the program put there,
    // used byte for byte for as long as the box shows that text.
    std::string shownText_;
    std::string shownPath_;
    std::unique_ptr<BuildFlow> build_;
    bool progressShown_ = false;
    bool closeWhenBuilt_ = false;
    bool questionOpen_ = false; // the build holds until the open question is answered
};

} // namespace partwright
