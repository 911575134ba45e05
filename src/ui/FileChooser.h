#pragma once

#include <QString>
#include <string>

class QWidget;

namespace partwright {

// How a file dialog is set up before it is shown.
struct FileDialogRequest {
    enum class Kind { Open, Save };

    Kind kind = Kind::Open;
    QString title;
    QString filterDescription; // shown in the filter list, e.g. "All files (*.*)"
    QString filterPattern;     // the names it matches, e.g. "*.*"
    bool allowMultiSelect = false;
    bool fileMustExist = false;
    bool promptToCreate = false; // ask before accepting a name that does not exist yet
};

// The file dialog of the window's operations. Its result is what the operations work on: empty
// when the dialog was cancelled, one full path, or (several files) their directory followed by a
// NUL character and a name for each file. Paths are in the system's narrow encoding.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::string choose(QWidget* parent, const FileDialogRequest& request) = 0;
};

} // namespace partwright
