#include "support/WindowDriver.h"

#include <QTest>

namespace partwright::test {

WindowDriver::WindowDriver(WindowServices services)
    : window_(std::make_unique<frmPartwright>(std::move(services)))
{
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        qWarning("the main window was not exposed");
    entries_ = std::make_unique<ListViewControl>(*list());
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
