// Module stack panel of the ORVA command page: which modules the unit reports, their lights, and
// the enable/disable commands with the wait for their acknowledgements.

#include "app/maingui.h"
#include "app/modulestackrules.h"
#include "forms/maingui_ui.h"
#include "link/constanttables.h"

#include <QCheckBox>
#include <QDebug>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVector>

namespace
{
constexpr int kStackAckTimeoutMs = 30000;
const QString kGreenLight = QStringLiteral(":/resources/greenlight_icon_small.png");
const QString kRedLight = QStringLiteral(":/resources/redlight_icon_small.png");

struct ModuleRow {
    char stackLetter;  // starts the module's line in the stack list
    char statusLetter; // names it in an enable/disable status; present weather is "P" there
    QLabel* name;
    QPushButton* light;
    QCheckBox* enable;
    QCheckBox* disable;
};

QVector<ModuleRow> moduleRows(const Ui_MainGUI& ui)
{
    return {
        {'G', 'G', ui.label_ModuleLightning, ui.iconModule_Lightning,
         ui.checkBox_ORVAEnableLightning, ui.checkBox_ORVADisableLightning},
        {'C', 'C', ui.label_ModuleCeilometer, ui.iconModule_Ceilometer,
         ui.checkBox_ORVAEnableCeilometer, ui.checkBox_ORVADisableCeilometer},
        {'V', 'P', ui.label_ModulePW, ui.iconModule_PresentWeather,
         ui.checkBox_ORVAEnablePresentWeather, ui.checkBox_ORVADisablePresentWeather},
        {'R', 'R', ui.label_ModuleRadio, ui.iconModule_Radio, ui.checkBox_ORVAEnableRadio,
         ui.checkBox_ORVADisableRadio},
        {'W', 'W', ui.label_ModuleWind, ui.iconModule_Wind, ui.checkBox_ORVAEnableWind,
         ui.checkBox_ORVADisableWind},
        {'I', 'I', ui.label_ModuleIridium, ui.iconModule_Iridium, ui.checkBox_ORVAEnableIridium,
         ui.checkBox_ORVADisableIridium},
        {'T', 'T', ui.label_ModuleTPH, ui.iconModule_TPH, ui.checkBox_ORVAEnableTPH,
         ui.checkBox_ORVADisableTPH},
    };
}

bool rowFor(const Ui_MainGUI& ui, QChar letter, ModuleRow* row)
{
    for (const ModuleRow& candidate : moduleRows(ui)) {
        if (letter == QLatin1Char(candidate.stackLetter)) {
            *row = candidate;
            return true;
        }
    }
    return false;
}

// The status light that updateModuleIcon names by its status letter.
QPushButton* lightByName(const Ui_MainGUI& ui, const QString& module)
{
    for (const ModuleRow& candidate : moduleRows(ui)) {
        if (module == QLatin1String(&candidate.statusLetter, 1))
            return candidate.light;
    }
    return nullptr;
}
} // namespace

ModuleStackRules::ModuleLine ModuleStackRules::parseModuleLine(const QString& line)
{
    ModuleLine result;
    if (!line.contains(QLatin1Char(':')))
        return result;
    const QStringList parts = line.split(QLatin1Char(':'));
    if (parts.size() != 2)
        return result;
    const QStringList fields = parts.at(1).split(QLatin1Char(','));
    if (fields.size() < 2)
        return result;
    result.letter = parts.at(0).left(1);
    result.name = moduleLabelForLine(result.letter);
    if (result.name.isEmpty()) {
        result.kind = ModuleLine::UnknownModule;
        return result;
    }
    const QStringList keyValue = fields.at(1).split(QLatin1Char('='));
    if (keyValue.size() != 2) {
        result.kind = ModuleLine::ModuleWithoutState;
        return result;
    }
    result.kind = ModuleLine::Module;
    result.enabled = keyValue.at(1).startsWith(QLatin1Char('1'));
    return result;
}

void MainGUI::on_pushButton_orva_stack_clear_clicked()
{
    for (QChar letter : ModuleStackRules::commandOrder()) {
        ModuleRow row;
        if (rowFor(*ui, letter, &row)) {
            row.enable->setChecked(false);
            row.disable->setChecked(false);
        }
    }
    ui->progressBar_orva_stack->hide();
    ui->label_orva_commands_success_indicator->hide();
}

void MainGUI::on_pushButton_orva_stack_refresh_clicked()
{
    writecommands(QByteArrayLiteral("stack\r"));
    ui->label_orva_commands_success_indicator->hide();
}

void MainGUI::on_pushButton_orva_stack_submit_clicked()
{
    // All disables before all enables.
    for (const bool enable : {false, true}) {
        for (QChar letter : ModuleStackRules::commandOrder()) {
            ModuleRow row;
            if (!rowFor(*ui, letter, &row))
                continue;
            if (!(enable ? row.enable : row.disable)->isChecked())
                continue;
            writecommands(ModuleStackRules::moduleCommand(enable, letter));
            pendingStackAcks.append(ModuleStackRules::moduleAck(enable, letter));
        }
    }
    if (pendingStackAcks.isEmpty())
        return;

    stackAcksDone = 0;
    ui->progressBar_orva_stack->setMaximum(pendingStackAcks.size());
    ui->progressBar_orva_stack->show();
    ui->label_orva_commands_success_indicator->hide();
    stackCmdTimer.start(kStackAckTimeoutMs);
    qDebug() << "Starting timeout.\r\n";
}

void MainGUI::orvaLoadStack(QStringList lines)
{
    qDebug() << "INFO: Loading the ORVA command modules based on the stack list command";
    if (lines.size() < 2) {
        const QByteArray error("ERROR: Stack reponse message does not include more than one line.");
        qDebug().noquote() << error;
        emit logDataMainMsg(error);
        return;
    }
    if (lines.at(1) != QLatin1String("stack=FOUND")) {
        emit logDataMainMsg("WARNING: No modules found on ORVA");
        on_pushButton_orva_stack_clear_clicked();
        ui->groupBox_orva_commands_stack_functionality->show();
        ui->label_orva_commands_stack_none->show();
        return;
    }
    emit logDataMainMsg("INFO: Modules found on ORVA");
    on_pushButton_orva_stack_clear_clicked();
    ui->groupBox_orva_commands_stack_functionality->show();
    ui->label_orva_commands_stack_none->hide();

    for (int i = 2; i < lines.size(); ++i) {
        const ModuleStackRules::ModuleLine module = ModuleStackRules::parseModuleLine(lines.at(i));
        if (module.kind == ModuleStackRules::ModuleLine::Malformed)
            continue;
        if (module.kind == ModuleStackRules::ModuleLine::UnknownModule) {
            emit logDataMainMsg(
                "WARNING: Invalid stack command id response = " + module.letter.toUtf8() + ".");
            continue;
        }
        qDebug().noquote() << module.name + QStringLiteral(" module has been found in the stack.");
        emit logDataMainMsg("INFO: " + module.name.toUtf8() + " module found in ORVA stack");

        ModuleRow row;
        if (module.kind != ModuleStackRules::ModuleLine::Module ||
            !rowFor(*ui, module.letter.at(0), &row))
            continue;
        row.name->show();
        row.light->show();
        row.enable->show();
        row.disable->show();
        row.light->setIcon(QIcon(module.enabled ? kGreenLight : kRedLight));
    }
}

void MainGUI::updateModuleIcon(QString module, QString status)
{
    QString warning;
    if (status == QLatin1String("disable") || status == QLatin1String("enable")) {
        const bool enable = status == QLatin1String("enable");
        if (QPushButton* light = lightByName(*ui, module)) {
            light->setIcon(QIcon(enable ? kGreenLight : kRedLight));
            return;
        }
        warning = QStringLiteral("WARNING: Module not found to update command module icon to ") +
                  (enable ? QStringLiteral("enabled") : QStringLiteral("disabled")) +
                  QStringLiteral(" [") + module + QStringLiteral("]");
    } else {
        warning = QStringLiteral("WARNING: Status for module icon update unknown [") + status +
                  QStringLiteral("]");
    }
    qDebug().noquote() << warning;
    displayErrorMessages(warning);
}

void MainGUI::on_stack_command_timeout()
{
    stackCmdTimer.stop();
    qDebug() << "ERROR: Stack response timeout.\r\n";
}

void MainGUI::on_enable_disable_response(QString ack)
{
    const int index = pendingStackAcks.indexOf(ack);
    qDebug().noquote() << ack + QStringLiteral("\r\n");
    qDebug() << pendingStackAcks;
    if (index < 0) {
        qDebug() << "Invalid enable/disable.";
        return;
    }
    ++stackAcksDone;
    ui->progressBar_orva_stack->setValue(stackAcksDone);
    pendingStackAcks.removeAt(index);
    if (pendingStackAcks.isEmpty()) {
        stackCmdTimer.stop();
        ui->label_orva_commands_success_indicator->show();
        writecommands(QByteArrayLiteral("stack\r"));
    }
}
