#include "support/WindowDriver.h"

#include <QTest>

namespace partwright::test {

std::vector<int> SelectedPositions(const InputList& list)
{
    std::vector<int> selected;
    for (int position = 1; position <= list.count(); ++position)
        if (list.isSelected(position))
            selected.push_back(position);
    return selected;
}

WindowDriver::WindowDriver(WindowServices services)
    : window_(std::make_unique<frmPartwright>(std::move(services)))
{
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        qWarning("the main window was not exposed");
    entries_ = std::make_unique<ListViewControl>(*list());
}

QPushButton* WindowDriver::button(const char* name) const
{
    return window_->findChild<QPushButton*>(QString::fromLatin1(name));
}

QTreeWidget* WindowDriver::list() const
{
    return window_->findChild<QTreeWidget*>(QStringLiteral("lvwFiles"));
}

QLineEdit* WindowDriver::destination() const
{
    return window_->findChild<QLineEdit*>(QStringLiteral("txtOuputIso"));
}

void WindowDriver::setEntries(const std::vector<std::string>& paths)
{
    entries_->clear();
    for (const auto& path : paths)
        entries_->append(path);
}

void WindowDriver::click(const char* buttonName)
{
    QTest::mouseClick(button(buttonName), Qt::LeftButton);
}

} // namespace partwright::test
