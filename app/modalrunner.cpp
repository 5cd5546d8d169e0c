#include "app/modalrunner.h"

#include <QDialog>

namespace
{
ModalRunner& currentRunner()
{
    static ModalRunner runner;
    return runner;
}
} // namespace

void setModalRunner(ModalRunner runner)
{
    currentRunner() = std::move(runner);
}

int runModal(QDialog& dialog)
{
    if (currentRunner())
        return currentRunner()(dialog);
    return dialog.exec();
}
