#include "fuzz/windowfuzz.h"

#include "app/maingui.h"
#include "app/modalrunner.h"
#include "fuzz/fuzzsupport.h"

#include <QApplication>

void fuzzStartWindow()
{
    fuzzStart(
        [](int& argc, char** argv) -> QCoreApplication* { return new QApplication(argc, argv); });
    setModalRunner([](QDialog&) {
        ++modalBoxes();
        return 0;
    });
    fuzzWindow();
}

MainGUI& fuzzWindow()
{
    static MainGUI* window = [] {
        auto* w = new MainGUI;
        // A log location from a fuzzed settings file must not make folders anywhere on disk.
        QObject::disconnect(w, &MainGUI::setLogLocation, nullptr, nullptr);
        return w;
    }();
    return *window;
}

int& modalBoxes()
{
    static int count = 0;
    return count;
}
