#include "ui/MessageBoxes.h"

#include "text/Messages.h"

#include <QMessageBox>
#include <QString>

namespace partwright {

namespace {

QString Shown(const std::string& text)
{
    // Paths in messages are in the system's own narrow encoding.
    QString shown = QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

int Ask(QWidget* parent, QMessageBox::Icon icon, const char* title, const std::string& text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preferred)
{
    QMessageBox box(icon, QString::fromUtf8(title), Shown(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(preferred);
    return box.exec();
}

void Show(QWidget* parent, QMessageBox::Icon icon, const char* title, const std::string& text)
{
    Ask(parent, icon, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace

void ShowError(QWidget* parent, const std::string& text)
{
    Show(parent, QMessageBox::Critical, messages::kErrorTitle, text);
}

void ShowSuccess(QWidget* parent, const std::string& text)
{
    Show(parent, QMessageBox::Warning, messages::kInfoTitle, text);
}

void ShowNote(QWidget* parent, const std::string& text)
{
    Show(parent, QMessageBox::Information, messages::kInfoTitle, text);
}

bool AskYesNo(QWidget* parent, const std::string& text, bool yesByDefault)
{
    return Ask(parent, QMessageBox::Question, messages::kQuestionTitle, text,
               QMessageBox::Yes | QMessageBox::No,
               yesByDefault ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

} // namespace partwright
