#include "ui/frmPartwright.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Partwright"));
    QApplication::setApplicationVersion(QStringLiteral(PARTWRIGHT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("partwright"));

    partwright::frmPartwright window;
    window.show();
    return QApplication::exec();
}
