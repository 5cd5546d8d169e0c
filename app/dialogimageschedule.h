#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class Ui_dialogImageSchedule;

// Hours (UTC) at which a BRQ unit takes camera images by itself. Callers run it modally through
// run() and read scheduleCommands() when it was accepted.
class dialogImageSchedule : public QDialog
{
    Q_OBJECT

public:
    explicit dialogImageSchedule(QWidget* parent);
    ~dialogImageSchedule() override;

    // "i" + two-digit hour + "\r" for each ticked hour in hour order; empty when none is ticked.
    QString scheduleCommands() const;

    // Runs the dialog modally and returns its result. Tests put a runner in place that answers
    // for the operator, so that no modal loop waits for input; an empty runner restores exec().
    int run();
    using Runner = std::function<int(dialogImageSchedule&)>;
    static void setRunner(Runner runner);

private slots:
    void on_pushButtonToggle_clicked();

private:
    Ui_dialogImageSchedule* ui = nullptr;
    bool allChecked = false;
};

// Runs a schedule over parent: the ticked hours' commands when it is accepted; empty when it is
// cancelled or no hour is ticked.
QString askImageSchedule(QWidget* parent);
