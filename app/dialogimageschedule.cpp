#include "app/dialogimageschedule.h"

#include "app/brqcommands.h"
#include "forms/dialogimageschedule_ui.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>

namespace
{

dialogImageSchedule::Runner& scheduleRunner()
{
    static dialogImageSchedule::Runner runner;
    return runner;
}

std::array<QCheckBox*, 24> hourBoxes(const Ui_dialogImageSchedule* ui)
{
    return {ui->checkBox00, ui->checkBox01, ui->checkBox02, ui->checkBox03, ui->checkBox04,
            ui->checkBox05, ui->checkBox06, ui->checkBox07, ui->checkBox08, ui->checkBox09,
            ui->checkBox10, ui->checkBox11, ui->checkBox12, ui->checkBox13, ui->checkBox14,
            ui->checkBox15, ui->checkBox16, ui->checkBox17, ui->checkBox18, ui->checkBox19,
            ui->checkBox20, ui->checkBox21, ui->checkBox22, ui->checkBox23};
}

} // namespace

dialogImageSchedule::dialogImageSchedule(QWidget* parent)
    : QDialog(parent), ui(new Ui_dialogImageSchedule)
{
    ui->setupUi(this);
    setMinimumSize(396, 590);
    allChecked = false;

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int scale = screen ? static_cast<int>(screen->logicalDotsPerInchX()) / 96 : 1;

    QFont font = ui->buttonBox->font();
    font.setPointSize(10);
    ui->buttonBox->setFont(font);
    ui->pushButtonToggle->setFont(font);
    for (QCheckBox* box : hourBoxes(ui))
        box->setFont(font);

    resize(width() * scale, height() * scale);
}

dialogImageSchedule::~dialogImageSchedule()
{
    delete ui;
}

QString dialogImageSchedule::scheduleCommands() const
{
    const std::array<QCheckBox*, 24> boxes = hourBoxes(ui);
    std::array<bool, 24> ticked{};
    for (std::size_t hour = 0; hour < ticked.size(); ++hour)
        ticked[hour] = boxes[hour]->isChecked();
    return imageScheduleCommands(ticked);
}

int dialogImageSchedule::run()
{
    const Runner& runner = scheduleRunner();
    return runner ? runner(*this) : exec();
}

void dialogImageSchedule::setRunner(Runner runner)
{
    scheduleRunner() = std::move(runner);
}

void dialogImageSchedule::on_pushButtonToggle_clicked()
{
    allChecked = !allChecked;
    for (QCheckBox* box : hourBoxes(ui))
        box->setChecked(allChecked);
}

QString askImageSchedule(QWidget* parent)
{
    dialogImageSchedule schedule(parent);
    return schedule.run() == QDialog::Accepted ? schedule.scheduleCommands() : QString();
}
