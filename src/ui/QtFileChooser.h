#pragma once

#include "ui/FileChooser.h"

#include <QStringList>

namespace partwright {

// The file dialog of this system's Qt, always Qt's own so it looks and behaves the same
// everywhere.
class QtFileChooser final : public FileChooser {
public:
    std::string choose(QWidget* parent, const FileDialogRequest& request) override;
};

// A Windows file pattern as Qt's dialog should apply it: "*.*" is every file, and letters match in
// either case ("*.ISO" lists game.iso too).
QString WildcardFromWindowsPattern(const QString& pattern);

// The dialog result for the chosen files: one full path, or the first file's folder followed by
// a NUL character and a name for each file; a file in another folder is named by its full path.
std::string DialogResultFromSelection(const QStringList& chosenFiles);

} // namespace partwright
