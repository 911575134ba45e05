#pragma once

#include "ui/FileChooser.h"

namespace partwright {

// The file dialog of this system's Qt, always Qt's own so it looks and behaves the same
// everywhere.
class QtFileChooser final : public FileChooser {
public:
    std::string choose(QWidget* parent, const FileDialogRequest& request) override;
};

} // namespace partwright
