// Status icons, lightning counters, connected-unit labels and status-bar lines of each record.

#include "dashboard/statusicons.h"

#include "app/maingui.h"
#include "dashboard/recorddisplay.h"
#include "forms/maingui_ui.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QProgressBar>

namespace
{

// Indexes of MainGUI::statusOffTexts.
constexpr int kTamperOff = 0;
constexpr int kLightningOff = 2;
constexpr int kBatteryOff = 4;

const QString kLightningOn = QStringLiteral(":/resources/lightning-on.png");
const QString kLightningOffIcon = QStringLiteral(":/resources/lightning-off-grey.png");

void apply(QLabel* icon, QLabel* text, const StatusIconState& state)
{
    icon->setPixmap(QPixmap(state.pixmap));
    icon->setToolTip(state.toolTip);
    text->setToolTip(state.toolTip);
    text->setEnabled(state.enabled);
}

} // namespace

StatusIconState batteryStatus(const QString& voltage, const QString& offText)
{
    if (voltage.isEmpty())
        return {QStringLiteral(":/resources/battery-none-grey.png"), offText, false};
    double volts = 0;
    const bool numeric = RecordDisplay::isNumber(voltage, &volts);
    if (numeric && volts >= 5.0)
        return {QStringLiteral(":/resources/battery-good-grey.png"),
                voltage + QStringLiteral(" V (Excellent)"), true};
    if (numeric && volts >= 4.8)
        return {QStringLiteral(":/resources/battery-ok-grey.png"),
                voltage + QStringLiteral(" V (OK)"), true};
    return {QStringLiteral(":/resources/battery-low-grey.png"),
            voltage + QStringLiteral(" V (Poor)"), true};
}

StatusIconState lightningFrequencyStatus(const QString& frequency, const QString& offText)
{
    if (!frequency.isEmpty() && RecordDisplay::number(frequency) > 0)
        return {kLightningOn, QStringLiteral("Lighting Frequency: ") + frequency, true};
    return {kLightningOffIcon, offText, false};
}

StatusIconState orvaLightningStatus(const QString& strikes10Min, const QString& offText)
{
    if (RecordDisplay::number(strikes10Min) > 0)
        return {kLightningOn, QStringLiteral("Lighting Detected"), true};
    return {kLightningOffIcon, offText, false};
}

StatusIconState tamperStatus(const QString& message, const QString& offText)
{
    if (message.isEmpty())
        return {QStringLiteral(":/resources/tampering-off-grey.png"), offText, false};
    return {QStringLiteral(":/resources/tampering-on.png"), message, true};
}

QString connectionLine(const QString& imei, const QString& port)
{
    // One multi-argument arg(): an IMEI holding "%2" must not swallow the port.
    return QCoreApplication::translate("MainGUI", "Connected to %1 (%2)").arg(imei, port);
}

void showBatteryStatus(MainGUI& window, const QJsonObject& record)
{
    Ui_MainGUI* ui = window.ui;
    apply(ui->labelBattery, ui->label_StatusBattery,
          batteryStatus(RecordDisplay::text(record, QStringLiteral("Voltage")),
                        window.statusOffTexts.value(kBatteryOff)));
}

void showLightningStatus(MainGUI& window, const QJsonObject& record)
{
    using namespace RecordDisplay;
    Ui_MainGUI* ui = window.ui;
    const QString offText = window.statusOffTexts.value(kLightningOff);
    const QString frequency = text(record, QStringLiteral("Lightning Frequency"));
    apply(ui->labelLightning, ui->label_StatusLightning,
          lightningFrequencyStatus(frequency, offText));

    if (window.deviceType == DeviceTypes::ORVA) {
        apply(
            ui->labelLightning, ui->label_StatusLightning,
            orvaLightningStatus(text(record, QStringLiteral("Lightning Strikes 10 Min")), offText));
        const QString strikes1 = text(record, QStringLiteral("Lightning Strikes 1 Min"));
        const QString distance1 = text(record, QStringLiteral("Lightning Min Distance 1 Min"));
        ui->lightning_strikecount_one->setText(dash(strikes1));
        ui->lightning_strikecount_ten->setText(
            dash(text(record, QStringLiteral("Lightning Strikes 10 Min"))));
        ui->lightning_strikecount_sixty->setText(
            dash(text(record, QStringLiteral("Lightning Strikes 60 Min"))));
        ui->label_strikecount_onemin_distance->setText(dash(distance1));
        ui->label_strikecount_tenmin_distance->setText(
            dash(text(record, QStringLiteral("Lightning Min Distance 10 Min"))));
        ui->label_strikecount_sixtymin_distance->setText(
            dash(text(record, QStringLiteral("Lightning Min Distance 60 Min"))));
        ui->labelTableLightningFrequency->setText(dash(strikes1));
        ui->labelTableLightningDistance->setText(dash(distance1));
    } else if (window.deviceType == DeviceTypes::BRQ) {
        const QString shown = number(frequency) > 0 ? frequency : QStringLiteral("-");
        ui->labelTableLightningFrequency->setText(shown);
        ui->label_strikecount_fivemin->setText(shown);
        const QString distance = text(record, QStringLiteral("Lightning Distance"));
        ui->labelTableLightningDistance->setText(dash(distance, QStringLiteral(" NM")));
        ui->label_strikecount_fivemin_distance->setText(dash(distance));
    }
}

void showTamperStatus(MainGUI& window, const QJsonObject& record)
{
    Ui_MainGUI* ui = window.ui;
    const QString message = RecordDisplay::text(record, QStringLiteral("Tampering"));
    const StatusIconState state = tamperStatus(message, window.statusOffTexts.value(kTamperOff));
    ui->labelWarning->setPixmap(QPixmap(state.pixmap));
    ui->labelWarning->setToolTip(state.toolTip);
    ui->label_StatusWarning->setToolTip(state.toolTip);
    ui->labelTableTampering->setText(message.isEmpty() ? QStringLiteral("None")
                                                       : QStringLiteral("Yes"));
    ui->labelTableTampering->setToolTip(message.isEmpty() ? QStringLiteral("None") : message);
    ui->label_StatusWarning->setEnabled(state.enabled);
    ui->pushButton_ClearTamperingWarning->setVisible(state.enabled);
}

void showConnectedUnit(MainGUI& window)
{
    Ui_MainGUI* ui = window.ui;
    switch (window.deviceType) {
    case DeviceTypes::BRQ:
        ui->labelConnectedTo->setText(QStringLiteral("Connected To"));
        ui->labelUnitType->setText(QStringLiteral("BRQ"));
        ui->stackedWidget_CommandConfiguration->setCurrentIndex(0);
        break;
    case DeviceTypes::ORVA:
        ui->labelConnectedTo->setText(QStringLiteral("Connected To"));
        ui->labelUnitType->setText(QStringLiteral("ORVA"));
        ui->stackedWidget_CommandConfiguration->setCurrentIndex(1);
        break;
    default:
        ui->labelUnitType->clear();
        ui->labelConnectedTo->clear();
        break;
    }
}

void showStatusBarLines(MainGUI& window, const QJsonObject& record)
{
    window.statusLabel.setText(
        connectionLine(RecordDisplay::text(record, QStringLiteral("IMEI")),
                       RecordDisplay::text(record, QStringLiteral("Serial Port"))));
    // The bar exists once the pages are laid out; a camera transfer shows it again.
    if (window.imageProgressBar)
        window.imageProgressBar->hide();
    window.connectionStatusLabel.setText(window.connectionStatusText);
}
