#include "ui/frmPartwright.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Partwright"));
    QApplication::setApplicationVersion(QStringLiteral(PARTWRIGHT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.partwright.Partwright"));

    partwright::frmPartwright window;
    window.show();
    return QApplication::exec();
}
