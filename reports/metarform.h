#pragma once

#include "decoder/sharedtypes.h"
#include "reports/observation.h"
#include "reports/reporthistory.h"
#include "reports/reporttransaction.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QTime>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimeEdit;
class QTimer;
class Ui_MetarForm;

// The report window and the send transaction of every METAR and SPECI of an ORVA unit. The
// transaction does not depend on the window: closing it never ends one. The main window lends
// it five of its widgets (status label, cancel button, history combo box, hide-popups box and
// transmit-delay editor), through which the form shows its state there.
class MetarForm : public QWidget
{
    Q_OBJECT

public:
    MetarForm(QWidget* parent, QLabel* statusLabel, QPushButton* cancelButton,
              QComboBox* historyCombo, QCheckBox* hidePopupsBox, QTimeEdit* transmitDelayEdit);
    ~MetarForm() override;

    void resetTransaction();
    // A copy of history entry i; an empty observation when there is none.
    Observation observationAt(int i) const;
    // Drops entries 24 hours old or older (with their combo items) and marks the sent ones.
    void pruneObservations();
    // The connection's unit is gone: its pending report ends, named as not sent, and its latest
    // record is no longer what an edit starts from or the live view shows, as at a fresh start.
    void endConnection();

    ORVAMetarMode mode() const { return transaction.mode(); }

signals:
    void realtime_updated(QJsonObject record);
    void send_metar(QByteArray command);
    void metar_ready_for_review(QString report);
    void info(QString text);
    void error(QString text);

public slots:
    void on_realtime(QJsonObject record);
    void on_metar_mode_change(ORVAMetarMode mode);
    void on_metar_generated(QJsonObject record);
    void on_speci_generated(QJsonObject record);
    void on_send_metar_confirmed(QString reply);
    void on_send_metar_manual_or_semiauto(Observation observation);
    void on_pushButton_editMETAR_clicked();
    void on_pushButton_ignoreMETAR_clicked();
    void on_pushButton_cancel_send_clicked();
    void on_timer_tick();
    void on_checkBox_manual_transmit_delay_clicked();

public:
    // Mode, pending report and countdown.
    ReportTransaction transaction;
    // The latest weather record with its arrival time; empty until the first record.
    Observation realtime;
    // 1000 ms, runs only during a countdown.
    QTimer* countdownTimer = nullptr;
    // Whether the window is shown for the current transaction; each start recomputes it.
    bool showPopup = true;
    // The transmit delay taken at review for a manual send; null until then.
    QTime manualDelay;
    ReportHistory history;

private:
    void startTransaction(ReportKind kind, const QJsonObject& record);
    QTime mainTransmitDelay() const;

    Ui_MetarForm* ui = nullptr;
    QLabel* statusLabel = nullptr;
    QPushButton* cancelButton = nullptr;
    QComboBox* historyCombo = nullptr;
    QCheckBox* hidePopupsBox = nullptr;
    QTimeEdit* transmitDelayEdit = nullptr;
};
