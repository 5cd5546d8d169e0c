#include "fuzz/windowfuzz.h"

#include "app/maingui.h"
#include "app/modalrunner.h"
#include "fuzz/fuzzsupport.h"

#include <QApplication>
#include <QThreadPool>

namespace
{

MainGUI* window = nullptr;

// The window's destructor quits its worker threads and waits for them; the threads that Qt's
// global pool started for it end too. The application stays: deleting it would leave the
// offscreen platform's screens unreachable, a leak that LeakSanitizer names at every exit.
void endWindow()
{
    delete window;
    window = nullptr;
    QThreadPool::globalInstance()->waitForDone();
}

} // namespace

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
    if (!window) {
        window = new MainGUI;
        // A log location from a fuzzed settings file must not make folders anywhere on disk.
        QObject::disconnect(window, &MainGUI::setLogLocation, nullptr, nullptr);
        fuzzAtEnd(endWindow);
    }
    return *window;
}

int& modalBoxes()
{
    static int count = 0;
    return count;
}
