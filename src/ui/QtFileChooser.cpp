#include "ui/QtFileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>

namespace partwright {

namespace {

std::string NarrowPath(const QString& path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString();
}

// Asks before accepting a name that does not exist yet, and stays open when the answer is no.
class CreatePromptingDialog final : public QFileDialog {
public:
    CreatePromptingDialog(QWidget* parent, const QString& title, bool promptToCreate)
        : QFileDialog(parent, title, QDir::currentPath()), promptToCreate_(promptToCreate)
    {}

protected:
    void accept() override
    {
        const QStringList files = selectedFiles();
        if (promptToCreate_ && files.size() == 1 && !QFileInfo::exists(files.front())) {
            const QString question = tr("%1\nThis file does not exist.\nDo you want to create it?")
                                         .arg(QFileInfo(files.front()).fileName());
            if (QMessageBox::question(this, windowTitle(), question) != QMessageBox::Yes)
                return;
        }
        QFileDialog::accept();
    }

private:
    bool promptToCreate_;
};

// A Windows file pattern as Qt's dialog should apply it: "*.*" is every file, and letters match in
// either case ("*.ISO" lists game.iso too).
QString WildcardFromWindowsPattern(const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    QString wildcard;
    for (const QChar c : pattern) {
        if (c.toLower() != c.toUpper())
            wildcard += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            wildcard += c;
    }
    return wildcard;
}

// The dialog result for the chosen files: one full path, or the first file's folder followed by
// a NUL character and a name for each file; a file in another folder is named by its full path.
std::string DialogResultFromSelection(const QStringList& chosenFiles)
{
    if (chosenFiles.isEmpty())
        return {};
    if (chosenFiles.size() == 1)
        return NarrowPath(chosenFiles.front());

    const QString folder = QFileInfo(chosenFiles.front()).absolutePath();
    std::string result = NarrowPath(folder);
    for (const QString& file : chosenFiles) {
        const QFileInfo info(file);
        result += '\0';
        // Typed names can come from several folders; one from elsewhere keeps its own.
        result += info.absolutePath() == folder ? QFile::encodeName(info.fileName()).toStdString()
                                                : NarrowPath(info.absoluteFilePath());
    }
    return result;
}

} // namespace

std::string QtFileChooser::choose(QWidget* parent, const FileDialogRequest& request)
{
    CreatePromptingDialog dialog(parent, request.title, request.promptToCreate);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(request.filterDescription);
    if (auto* model = dialog.findChild<QFileSystemModel*>())
        model->setNameFilters({WildcardFromWindowsPattern(request.filterPattern)});

    if (request.kind == FileDialogRequest::Kind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.allowMultiSelect ? QFileDialog::ExistingFiles
                                                    : QFileDialog::ExistingFile);
    } else {
        // An existing file is taken without a question.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }

    if (dialog.exec() != QDialog::Accepted)
        return {};
    return DialogResultFromSelection(dialog.selectedFiles());
}

} // namespace partwright
