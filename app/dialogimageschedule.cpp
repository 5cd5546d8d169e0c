#include "app/dialogimageschedule.h"

#include "forms/dialogimageschedule_ui.h"

dialogImageSchedule::dialogImageSchedule(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_dialogImageSchedule)
{
    ui->setupUi(this);
}

dialogImageSchedule::~dialogImageSchedule()
{
    delete ui;
}

QString dialogImageSchedule::scheduleCommands() const
{
    return QString();
}

int dialogImageSchedule::run()
{
    return exec();
}

void dialogImageSchedule::setRunner(Runner) {}

void dialogImageSchedule::on_pushButtonToggle_clicked() {}
