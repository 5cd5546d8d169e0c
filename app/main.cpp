#include "app/maingui.h"
#include "app/messagefilter.h"
#include "forms/formresources.h"
#include "link/packetcode.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    installOperatorMessageFilter();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantora Direct"));
    registerFormFonts();

    MainGUI window;
    // Built before the link thread first runs; only read afterwards.
    initPacketCodeTables();
    window.showSelectDevice();
    return app.exec();
}
