#include "ui/QtFileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>

namespace partwright {

namespace {

std::string NarrowPath(const QString& path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString();
}

// "*.*" means every file, as it does on Windows; Qt would take it literally and hide the names
// that have no dot.
void MatchEveryFile(QFileDialog& dialog)
{
    if (auto* model = dialog.findChild<QFileSystemModel*>())
        model->setNameFilters({QStringLiteral("*")});
}

} // namespace

std::string DialogResultFromSelection(const QStringList& chosenFiles)
{
    if (chosenFiles.isEmpty())
        return {};
    if (chosenFiles.size() == 1)
        return NarrowPath(chosenFiles.front());

    std::string result = NarrowPath(QFileInfo(chosenFiles.front()).absolutePath());
    for (const QString& file : chosenFiles) {
        result += '\0';
        result += QFile::encodeName(QFileInfo(file).fileName()).toStdString();
    }
    return result;
}

std::string QtFileChooser::choose(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, QDir::currentPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(request.filterDescription);
    if (request.filterPattern == QLatin1String("*.*"))
        MatchEveryFile(dialog);

    if (request.kind == FileDialogRequest::Kind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.allowMultiSelect ? QFileDialog::ExistingFiles
                                                    : QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }

    if (dialog.exec() != QDialog::Accepted)
        return {};
    return DialogResultFromSelection(dialog.selectedFiles());
}

} // namespace partwright
