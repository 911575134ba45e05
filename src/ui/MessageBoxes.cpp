#include "ui/MessageBoxes.h"

#include "text/Messages.h"

#include <QMessageBox>
#include <QString>

namespace partwright {

namespace {

void Show(QWidget* parent, QMessageBox::Icon icon, const char* title, const std::string& text)
{
    // Paths in messages are in the system's own narrow encoding.
    QString shown = QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, QString::fromUtf8(title), shown, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void ShowError(QWidget* parent, const std::string& text)
{
    Show(parent, QMessageBox::Critical, messages::kErrorTitle, text);
}

void ShowInfo(QWidget* parent, const std::string& text)
{
    Show(parent, QMessageBox::Warning, messages::kInfoTitle, text);
}

} // namespace partwright
