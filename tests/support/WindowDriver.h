#pragma once

#include "ui/ListViewControl.h"
#include "ui/frmPartwright.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

namespace partwright::test {

// A real main window, shown offscreen, with its controls found by their names.
class WindowDriver {
public:
    explicit WindowDriver(WindowServices services = SystemWindowServices());

    frmPartwright& window() { return *window_; }
    QPushButton* button(const char* name) const { return window_->findChild<QPushButton*>(name); }
    QTreeWidget* list() const { return window_->findChild<QTreeWidget*>("lvwFiles"); }
    QLineEdit* destination() const { return window_->findChild<QLineEdit*>("txtOuputIso"); }
    InputList& entries() { return *entries_; }

    void setEntries(const std::vector<std::string>& paths);
    std::vector<std::string> entryTexts() const { return EntryTexts(*entries_); }
    void click(const char* buttonName);

private:
    std::unique_ptr<frmPartwright> window_;
    std::unique_ptr<ListViewControl> entries_;
};

} // namespace partwright::test
