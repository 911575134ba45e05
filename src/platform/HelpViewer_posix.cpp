#include "help/HelpFile.h"

#include <QFile>
#include <QProcess>

namespace partwright {

// The desktop's own viewer for text files, through xdg-open. A help file that is missing or cannot
// be read counts as a viewer that cannot start: xdg-open would only tell its error output, and
// the user would see nothing at all.
bool StartHelpViewer(const std::string& helpFilePath)
{
    const QString path = QFile::decodeName(QByteArray::fromStdString(helpFilePath));
    if (QFile helpFile(path); !helpFile.open(QIODevice::ReadOnly))
        return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

} // namespace partwright
