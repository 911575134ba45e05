#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace partwright {

class BuildFlow;
class InputList;

enum class FileDialogKind {
    Open, // "Open": existing files, several at once
    Save, // "Save": one ISO name, asking before a name that does not exist yet
};

// The boxes that end an operation, each with its title and icon.
enum class ReportKind {
    Error,   // "Error...", the error icon
    Success, // "Info...", with the warning icon as the program has always shown it
    Note,    // "Info...", the information icon: neither success nor failure
};

// What the main window's logic needs of a window, whatever its toolkit: its controls, its dialogs
// and boxes, and its event loop's watch of what a build waits for.
enum class DefaultAnswer { No, Yes };

class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual InputList& list() = 0;

    // The destination box's text, as a path (the bytes of a path on Linux, UTF-8 on Windows).
    virtual std::string destinationText() const = 0;
    virtual void setDestinationText(const std::string& text) = 0;

    // Empty when cancelled. Open gives one full path, or the folder followed by a NUL and a name
    // for each file, the names NUL-separated; Save gives one full path. Throws when it fails.
    virtual std::string chooseFile(FileDialogKind kind) = 0;

    // Modal boxes: a report with an OK button, a question with "Yes" and "No", one of them the
    // default button.
    virtual void report(ReportKind kind, const std::string& text) = 0;
    virtual bool askYesNo(const std::string& question, DefaultAnswer preferred) = 0;
    virtual void showAbout() = 0;

    // While a build runs every control but Read Help is disabled; the keyboard focus comes back
    // where it was afterwards.
    virtual void setBusy(bool busy) = 0;
    virtual void setBusyPointer(bool busy) = 0;

    // From now on, tell the controller's buildSignalled() once, from the event loop, when one of
    // these has signalled; nothing for an empty list. A call for an earlier watch may still come.
    virtual void watch(const std::vector<std::intptr_t>& waitables) = 0;

    // A progress window of the build, whose Cancel calls the controller's cancelBuild().
    virtual void showProgress(BuildFlow& build) = 0;
    virtual void closeProgress() = 0;

    // Closes the window, once a build that closing it cancelled has ended.
    virtual void closeWindow() = 0;
};

} // namespace partwright
