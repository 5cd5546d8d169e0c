#include "decoder/sharedtypes.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantora Direct"));
    registerSharedMetaTypes();

    // Stand-in window until the main window form exists.
    QLabel window(QStringLiteral("Vantora Direct"));
    window.setAlignment(Qt::AlignCenter);
    window.resize(640, 360);
    window.show();
    return app.exec();
}
