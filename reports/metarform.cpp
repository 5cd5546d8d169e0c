#include "reports/metarform.h"

#include "decoder/clock.h"
#include "forms/metarform_ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>

namespace
{

const QString sentIconPath = QStringLiteral(":/resources/icon_updated.png");

const QString manualReviewText =
    QStringLiteral("MANUAL MODE: The above METAR is ready for review. The observation will not be "
                   "sent unless you manually review and send via the TABLE menu.");
const QString manualReviewWithDelayText =
    QStringLiteral("MANUAL MODE: The above METAR is ready for review. The observation will not be "
                   "sent unless you manually review and send (with transmit delay) via the TABLE "
                   "menu.");

} // namespace

MetarForm::MetarForm(QWidget* parent, QLabel* statusLabel, QPushButton* cancelButton,
                     QComboBox* historyCombo, QCheckBox* hidePopupsBox,
                     QTimeEdit* transmitDelayEdit)
    : QWidget(parent), ui(new Ui_MetarForm), statusLabel(statusLabel), cancelButton(cancelButton),
      historyCombo(historyCombo), hidePopupsBox(hidePopupsBox), transmitDelayEdit(transmitDelayEdit)
{
    ui->setupUi(this);
    realtime.time = Clock::now();

    connect(&transaction, &ReportTransaction::info, this, &MetarForm::info);
    connect(&transaction, &ReportTransaction::error, this, &MetarForm::error);
    connect(&transaction, &ReportTransaction::sendCommand, this, &MetarForm::send_metar);
    connect(&transaction, &ReportTransaction::statusTextChanged, this, [this](const QString& text) {
        if (this->statusLabel)
            this->statusLabel->setText(text);
    });
    connect(&transaction, &ReportTransaction::outsideCancelShownChanged, this, [this](bool shown) {
        if (this->cancelButton)
            this->cancelButton->setVisible(shown);
    });

    countdownTimer = new QTimer(this);
    countdownTimer->setInterval(1000);
    connect(countdownTimer, &QTimer::timeout, this, &MetarForm::on_timer_tick);
    connect(&transaction, &ReportTransaction::countdownStarted, countdownTimer,
            qOverload<>(&QTimer::start));
    connect(&transaction, &ReportTransaction::countdownStopped, countdownTimer, &QTimer::stop);

    resetTransaction();
}

MetarForm::~MetarForm()
{
    delete ui;
    delete countdownTimer;
}

void MetarForm::resetTransaction()
{
    transaction.reset();
}

Observation MetarForm::observationAt(int i) const
{
    return history.value(i);
}

void MetarForm::pruneObservations()
{
    // Entry and combo item go together, so that the combo's selection slot, which may run on
    // each removal, always finds item i backed by entry i - 1.
    while (history.dropExpiredFront()) {
        if (historyCombo && historyCombo->count() > 1)
            historyCombo->removeItem(1);
    }
    if (!historyCombo)
        return;
    const QIcon sentIcon(sentIconPath);
    const QList<int> sent = history.sentIndexes();
    for (int i : sent) {
        if (i + 1 < historyCombo->count())
            historyCombo->setItemIcon(i + 1, sentIcon);
    }
}

void MetarForm::endConnection()
{
    transaction.endForNewConnection();
    realtime = Observation{QJsonObject(), Clock::now(), false, false};
}

void MetarForm::on_realtime(QJsonObject record)
{
    realtime = Observation{record, Clock::now(), false, false};
    emit realtime_updated(record);
}

void MetarForm::on_metar_mode_change(ORVAMetarMode mode)
{
    transaction.changeMode(mode);
}

void MetarForm::on_metar_generated(QJsonObject record)
{
    startTransaction(ReportKind::Metar, record);
}

void MetarForm::on_speci_generated(QJsonObject record)
{
    startTransaction(ReportKind::Speci, record);
}

void MetarForm::on_send_metar_confirmed(QString reply)
{
    if (!transaction.confirm(reply))
        return;
    if (history.markSent(echoedReport(reply)) >= 0)
        pruneObservations();
}

void MetarForm::on_send_metar_manual_or_semiauto(Observation observation)
{
    const bool delayBoxChecked = ui->checkBox_manual_transmit_delay->checkState() == Qt::Checked;
    transaction.sendReviewed(observation, delayBoxChecked, manualDelay,
                             ui->timeEdit_ORVA_METAR_transmit_delay2->time());
}

void MetarForm::on_pushButton_editMETAR_clicked()
{
    emit metar_ready_for_review(ui->labelMETARCandidate->text());
    if (ui->checkBox_manual_transmit_delay->checkState() == Qt::Checked) {
        const QTime delay = ui->timeEdit_ORVA_METAR_transmit_delay2->time();
        manualDelay = QTime(0, delay.minute(), delay.second());
    }
    close();
}

void MetarForm::on_pushButton_ignoreMETAR_clicked()
{
    close();
}

void MetarForm::on_pushButton_cancel_send_clicked()
{
    transaction.cancel();
    close();
}

void MetarForm::on_timer_tick()
{
    if (!transaction.isCountingDown()) {
        countdownTimer->stop();
        return;
    }
    const bool sent = transaction.tick();
    ui->label_Timer->setText(transaction.remaining().toString(QStringLiteral("mm:ss")));
    if (sent)
        close();
}

void MetarForm::on_checkBox_manual_transmit_delay_clicked()
{
    if (ui->checkBox_manual_transmit_delay->checkState() == Qt::Checked) {
        ui->timeEdit_ORVA_METAR_transmit_delay2->setTime(mainTransmitDelay());
        ui->timeEdit_ORVA_METAR_transmit_delay2->show();
        ui->label_manual_transmit_delay->show();
        ui->labelInformation->setText(manualReviewWithDelayText);
    } else {
        ui->timeEdit_ORVA_METAR_transmit_delay2->hide();
        ui->label_manual_transmit_delay->hide();
        ui->labelInformation->setText(manualReviewText);
    }
}

void MetarForm::startTransaction(ReportKind kind, const QJsonObject& record)
{
    if (transaction.inProgress()) {
        transaction.start(kind, record, mainTransmitDelay());
        return;
    }
    ReportTransaction::Popup popup;
    if (!transaction.start(kind, record, mainTransmitDelay(), &popup))
        return;

    ui->labelMETARCandidate->setText(popup.report);
    showPopup = !(hidePopupsBox && hidePopupsBox->checkState() == Qt::Checked);
    if (!popup.modeKnown)
        return;

    ui->labelInformation->setText(popup.information);
    if (popup.timerShown)
        ui->label_Timer->setText(transaction.remaining().toString(QStringLiteral("mm:ss")));
    ui->label_Timer->setVisible(popup.timerShown);
    ui->pushButton_cancel_send->setVisible(popup.cancelShown);
    if (popup.delayBoxShown)
        ui->checkBox_manual_transmit_delay->setCheckState(Qt::Unchecked);
    ui->checkBox_manual_transmit_delay->setVisible(popup.delayBoxShown);
    ui->timeEdit_ORVA_METAR_transmit_delay2->hide();
    ui->label_manual_transmit_delay->hide();
    if (showPopup)
        show();
}

QTime MetarForm::mainTransmitDelay() const
{
    return transmitDelayEdit ? transmitDelayEdit->time() : QTime(0, 0);
}
