#include "decoder/sharedtypes.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantora Direct"));
    registerSharedMetaTypes();
    registerFormFonts();

    // Stand-in until the main window class exists: the bare form in a plain window.
    QMainWindow window;
    Ui_MainGUI ui;
    ui.setupUi(&window);
    window.show();
    return app.exec();
}
