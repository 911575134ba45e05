#include "help/HelpFile.h"

#include <QFile>
#include <QProcess>

namespace partwright {

// The desktop's own viewer for text files, through xdg-open.
bool StartHelpViewer(const std::string& helpFilePath)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"),
                                   {QFile::decodeName(QByteArray::fromStdString(helpFilePath))});
}

} // namespace partwright
