// The operator's view controls on the real main window: the temperature unit switch, the raw and
// decoded data view, the runway and tamper buttons and the camera transfer status.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "app/modalrunner.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "tests/support/scopedclock.h"

#include <QMessageBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBlock>
#include <QtCharts/QValueAxis>
#include <QtTest>

using namespace QtCharts;

namespace
{
const QString degC = QStringLiteral("\u00B0C");
const QString degF = QStringLiteral("\u00B0F");
} // namespace

class TestViewControls : public QObject
{
    Q_OBJECT

private:
    MainGUI* window = nullptr;
    ScopedClock* clock = nullptr;
    QStringList boxes;

    QList<QLabel*> unitLabels() const
    {
        return {window->ui->label_UnitTempC, window->ui->label_UnitDewC,
                window->ui->label_UnitHeatIndexC, window->ui->label_UnitWindChillC};
    }
    // The window is not shown, so its chart waits; what it will show is kept here.
    QVector<QPointF>& temperaturePoints() const
    {
        return window->trendTraces[TemperatureChart].points;
    }

private slots:
    void initTestCase()
    {
        initFormResources();
        clock = new ScopedClock(QDateTime(QDate(2026, 3, 5), QTime(14, 0), Qt::UTC));
        setModalRunner([this](QDialog& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            boxes << dialog.windowTitle() + QLatin1Char('|') + (box ? box->text() : QString());
            return 0;
        });
        window = new MainGUI;
        window->drawInitialCharts();
        // The status bar's right end as the first page layout builds it.
        window->imageProgressBar = new QProgressBar(nullptr);
        window->imageProgressBar->hide();
        window->imageProgressBar->setRange(0, window->imageProgressMaximum);
        window->statusRightStack = new QStackedWidget(nullptr);
        window->statusRightStack->addWidget(&window->connectionStatusLabel);
        window->statusRightStack->addWidget(window->imageProgressBar);
        window->statusRightStack->setCurrentIndex(0);
        window->ui->statusbar->addPermanentWidget(window->statusRightStack, 0);
    }

    void init()
    {
        boxes.clear();
        window->temperatureUnits = TemperatureUnits::Celsius;
        window->temperatureUnitText = degC;
        window->alertDefs.clear();
        temperaturePoints().clear();
        window->runwayHidden = false;
        window->runwayDirection = 0;
        window->ui->pushButton_HideRunway->setText(QStringLiteral("Hide"));
        window->ui->labelWindDirection->clear();
        window->ui->labelWindSpeed->clear();
        window->drawBaseWindPicture();
        window->ui->textEditRawData->clear();
    }

    void cleanupTestCase()
    {
        delete window;
        delete clock;
        setModalRunner({});
    }

    void unitSwitchConvertsLabels_data()
    {
        QTest::addColumn<QString>("dashboard");
        QTest::addColumn<QString>("dashboardF");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("tableF");
        QTest::addColumn<QString>("threshold"); // of a "Temperature >" alert, none when empty
        QTest::addColumn<QString>("thresholdF");

        QTest::newRow("values") << "12.3"
                                << "54.1"
                                << "21.4 " + degC << "70.5 " + degF << "20"
                                << "> 68.0 " + degF;
        QTest::newRow("below zero") << "-40.0"
                                    << "-40.0"
                                    << "-5.0 " + degC << "23.0 " + degF << "-40"
                                    << "> -40.0 " + degF;
        QTest::newRow("no value") << "-"
                                  << "-"
                                  << "-"
                                  << "-"
                                  << ""
                                  << "";
        QTest::newRow("before the first record") << ""
                                                 << ""
                                                 << ""
                                                 << ""
                                                 << ""
                                                 << "";
    }

    void unitSwitchConvertsLabels()
    {
        QFETCH(QString, dashboard);
        QFETCH(QString, dashboardF);
        QFETCH(QString, table);
        QFETCH(QString, tableF);
        QFETCH(QString, threshold);
        QFETCH(QString, thresholdF);
        Ui_MainGUI* f = window->ui;
        const QList<QLabel*> dashboardLabels = {f->labelCurrentTempC,
                                                f->labelWindChillC,
                                                f->label24hoursTemperatureMaxC,
                                                f->label24hoursTemperatureMinC,
                                                f->labelHeatIndexC,
                                                f->labelDewPointC,
                                                f->label24hoursDewPointMaxC,
                                                f->label24hoursDewPointMinC};
        const QList<QLabel*> tableLabels = {f->labelTableTemperature, f->labelTableHeatIndex,
                                            f->labelTableWindChillIndex, f->labelTableDewPoint};
        for (QLabel* label : dashboardLabels)
            label->setText(dashboard);
        for (QLabel* label : tableLabels)
            label->setText(table);
        f->labelTableSeaSurfaceTemp->setText("15.0 " + degC);
        if (!threshold.isEmpty())
            window->alertDefs << AlertDef{"Temperature", "GREATERTHAN", threshold, "METRIC", true};
        f->label_valueTempGreaterThan->clear();
        window->displayAlerts();
        QSignalSpy log(window, &MainGUI::logDataMainMsg);

        window->on_radioButtonUnitsImperial_clicked();
        QCOMPARE(window->temperatureUnits, TemperatureUnits::Fahrenheit);
        QCOMPARE(window->temperatureUnitText, degF);
        for (QLabel* label : dashboardLabels)
            QCOMPARE(label->text(), dashboardF);
        for (QLabel* label : tableLabels)
            QCOMPARE(label->text(), tableF);
        for (QLabel* label : unitLabels())
            QCOMPARE(label->text(), degF);
        QCOMPARE(f->labelTableSeaSurfaceTemp->text(), "15.0 " + degC);
        QCOMPARE(f->label_valueTempGreaterThan->text(), thresholdF);

        window->on_radioButtonUnitsMetric_clicked();
        QCOMPARE(window->temperatureUnits, TemperatureUnits::Celsius);
        for (QLabel* label : dashboardLabels)
            QCOMPARE(label->text(), dashboard);
        for (QLabel* label : tableLabels)
            QCOMPARE(label->text(), table);
        for (QLabel* label : unitLabels())
            QCOMPARE(label->text(), degC);
        QCOMPARE(f->label_valueTempGreaterThan->text(),
                 threshold.isEmpty() ? QString() : "> " + threshold + " " + degC);

        // Each switch redraws the alert list, which logs its rows again.
        QCOMPARE(log.count(), threshold.isEmpty() ? 2 : 4);
        QCOMPARE(log.first().at(0).toByteArray(),
                 "INFO: Change Temperature display to Imperial units from current Metric units.");
        QCOMPARE(log.at(log.count() / 2).at(0).toByteArray(),
                 "INFO: Change Temperature display to Metric units from current Imperial units.");
    }

    void sameUnitOnlySetsUnitLabels()
    {
        window->ui->labelCurrentTempC->setText("12.3");
        temperaturePoints().append(QPointF(1000, 12.3));
        for (QLabel* label : unitLabels())
            label->setText("x");
        QSignalSpy log(window, &MainGUI::logDataMainMsg);

        window->on_radioButtonUnitsMetric_clicked();
        QCOMPARE(window->ui->labelCurrentTempC->text(), QStringLiteral("12.3"));
        QCOMPARE(temperaturePoints().at(0).y(), 12.3);
        for (QLabel* label : unitLabels())
            QCOMPARE(label->text(), degC);
        QCOMPARE(log.count(), 0);
    }

    void unitSwitchConvertsChart()
    {
        const qint64 first =
            QDateTime(QDate(2026, 3, 5), QTime(13, 0), Qt::UTC).toMSecsSinceEpoch();
        temperaturePoints().append(QPointF(first, 0.126));
        temperaturePoints().append(QPointF(first + 60000, 10.0));
        QValueAxis* valueAxis = window->trendYAxes[TemperatureChart];
        const TrendTrace& trace = window->trendTraces[TemperatureChart];

        window->on_radioButtonUnitsImperial_clicked();
        QCOMPARE(temperaturePoints().size(), 2);
        QCOMPARE(temperaturePoints().at(0), QPointF(first, 32.2));
        QCOMPARE(temperaturePoints().at(1), QPointF(first + 60000, 50.0));
        QCOMPARE(valueAxis->titleText(), "Temperature (" + degF + ")");
        QCOMPARE(trace.valueMin, 32.2 - 0.02 * 32.2);
        QCOMPARE(trace.valueMax, 51.0);
        QCOMPARE(qint64(trace.timeMin), first);

        window->on_radioButtonUnitsMetric_clicked();
        QCOMPARE(temperaturePoints().at(0).y(), 0.1);
        QCOMPARE(temperaturePoints().at(1).y(), 10.0);
        QCOMPARE(valueAxis->titleText(), "Temperature (" + degC + ")");
    }

    void unitSwitchRewritesAlertsPane()
    {
        const QString stamp = QStringLiteral("2026-03-05 14:00:00 ");
        window->ui->textEdit_ActiveAlerts->setPlainText(stamp + "Temperature 25.3" + degC +
                                                        " is Greater Than Threshold of 20" + degC);
        window->on_radioButtonUnitsImperial_clicked();
        QCOMPARE(window->ui->textEdit_ActiveAlerts->toPlainText(),
                 stamp + "Temperature 77.5" + degF + " is Greater Than Threshold of 68.0" + degF);
        window->on_radioButtonUnitsImperial_clicked();
        QCOMPARE(window->ui->textEdit_ActiveAlerts->toPlainText(),
                 stamp + "Temperature 77.5" + degF + " is Greater Than Threshold of 68.0" + degF);
        window->ui->textEdit_ActiveAlerts->clear();
    }

    void unitSwitchWithEmptyChartSetsTitleOnly()
    {
        QValueAxis* valueAxis = window->trendYAxes[TemperatureChart];
        valueAxis->setRange(3, 7);
        window->on_radioButtonUnitsImperial_clicked();
        QCOMPARE(valueAxis->titleText(), "Temperature (" + degF + ")");
        QCOMPARE(temperaturePoints().size(), 0);
        QCOMPARE(valueAxis->min(), 3.0);
        QCOMPARE(valueAxis->max(), 7.0);
    }

    void rawData_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QString>("shown");

        QTest::newRow("CR LF line ends") << QList<QByteArray>{"A\r\nB\r\n"} << "A\nB\n";
        QTest::newRow("lone CR dropped") << QList<QByteArray>{"A\rB"} << "AB";
        QTest::newRow("chunk continues the line")
            << QList<QByteArray>{"12.3,4", "5.6\r\n", "7"} << "12.3,45.6\n7";
        QTest::newRow("UTF-8") << QList<QByteArray>{"21 \xC2\xB0"
                                                    "C\r\n"}
                               << "21 \u00B0C\n";
    }

    void rawData()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QString, shown);
        window->ui->lineEdit_rawSendMsg->setText("status");
        for (const QByteArray& chunk : chunks)
            window->updateRawData(chunk);
        QCOMPARE(window->ui->textEditRawData->toPlainText(), shown);
        QCOMPARE(window->ui->lineEdit_rawSendMsg->text(), QStringLiteral("status"));
    }

    void rawDataKeepsNewestBlocks()
    {
        window->ui->textEditRawData->setPlainText("Waiting for Data...");
        for (int i = 0; i < 250; ++i)
            window->updateRawData(QByteArray("line ") + QByteArray::number(i) + "\r\n");
        QTextDocument* document = window->ui->textEditRawData->document();
        QCOMPARE(document->blockCount(), 200);
        QCOMPARE(document->firstBlock().text(), QStringLiteral("line 51"));
        QCOMPARE(document->lastBlock().previous().text(), QStringLiteral("line 249"));
    }

    void dataGoesToTheEndWhateverTheCursor()
    {
        QTextEdit* view = window->ui->textEditRawData;
        view->setPlainText("Waiting for Data...");
        window->updateRawData("first\r\n");
        view->selectAll();
        window->updateRawData("second\r\n");
        window->on_send_decoded_data("third");
        QCOMPARE(view->toPlainText(), QStringLiteral("Waiting for Data...first\nsecond\nthird\n"));
    }

    void decodedData()
    {
        QTextEdit* view = window->ui->textEditRawData;
        window->on_send_decoded_data(QByteArray());
        QVERIFY(view->toPlainText().isEmpty());

        window->updateRawData("raw\r\n");
        window->on_send_decoded_data("X\r\nY");
        window->updateRawData("next");
        QCOMPARE(view->toPlainText(), QStringLiteral("raw\nX\nY\nnext"));

        QTextCursor cursor(view->document()->findBlockByNumber(1));
        cursor.movePosition(QTextCursor::Right);
        QCOMPARE(cursor.charFormat().foreground().color(), QColor("orange"));
    }

    void decodedDataHidesKeyAndIv()
    {
        window->on_send_decoded_data("@3key=c2VjcmV0\r\niv=aXZ0ZXh0\r\n~");
        const QString shown = window->ui->textEditRawData->toPlainText();
        QVERIFY(shown.contains(QStringLiteral("key=***\niv=***")));
        QVERIFY(!shown.contains(QStringLiteral("c2VjcmV0")));
        QVERIFY(!shown.contains(QStringLiteral("aXZ0ZXh0")));
    }

    void decodedDataIsNotMarkup()
    {
        window->on_send_decoded_data("<b>RVR</b> <img src=\"x\"> & more");
        QCOMPARE(window->ui->textEditRawData->toPlainText().trimmed(),
                 QStringLiteral("<b>RVR</b> <img src=\"x\"> & more"));
    }

    void setRunwayHeading_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("heading");

        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("not a number") << "east" << 0.0;
        QTest::newRow("nan") << "nan" << 0.0;
        QTest::newRow("inf") << "inf" << 0.0;
        QTest::newRow("-inf") << "-inf" << 0.0;
        QTest::newRow("normal") << "275" << 275.0;
        QTest::newRow("above 360") << "400" << 400.0;
        QTest::newRow("negative") << "-30" << -30.0;
    }

    void setRunwayHeading()
    {
        QFETCH(QString, typed);
        QFETCH(double, heading);
        QSignalSpy sent(window, &MainGUI::updateRunwayDirection);
        window->ui->lineEdit_RunwayDirection->setText(typed);

        window->on_pushButton_UpdateRunwayDirection_clicked();
        QCOMPARE(window->runwayDirection, heading);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.at(0).at(0).toDouble(), heading);
        // Strip and heading marker only: no wind direction is shown.
        QCOMPARE(window->windScene.items().size(), 2);
        QVERIFY(boxes.isEmpty());
    }

    void setRunwayHeadingDrawsWindArrowOnce()
    {
        window->ui->labelWindDirection->setText("90");
        window->ui->labelWindSpeed->setText("12");
        window->ui->lineEdit_RunwayDirection->setText("180");
        window->on_pushButton_UpdateRunwayDirection_clicked();
        // Strip, marker, arrow shaft and arrow head.
        QCOMPARE(window->windScene.items().size(), 4);
    }

    void setRunwayHeadingWhileHiddenIsRefused()
    {
        window->runwayDirection = 45;
        window->runwayHidden = true;
        window->ui->lineEdit_RunwayDirection->setText("90");
        QSignalSpy sent(window, &MainGUI::updateRunwayDirection);

        window->on_pushButton_UpdateRunwayDirection_clicked();
        QCOMPARE(boxes, QStringList{"Error|Runway Currently Hidden, Please Enable Runway \n\n"});
        QCOMPARE(window->runwayDirection, 45.0);
        QCOMPARE(sent.count(), 0);
    }

    void hideAndShowRunway_data()
    {
        QTest::addColumn<QString>("direction");
        QTest::addColumn<int>("hiddenItems");
        QTest::addColumn<int>("shownItems");

        QTest::newRow("wind from 90") << "90" << 2 << 4;
        QTest::newRow("no direction") << "-" << 0 << 2;
        QTest::newRow("before the first record") << "" << 0 << 2;
    }

    void hideAndShowRunway()
    {
        QFETCH(QString, direction);
        QFETCH(int, hiddenItems);
        QFETCH(int, shownItems);
        window->runwayDirection = 120;
        window->ui->labelWindDirection->setText(direction);
        window->drawRunwayPicture(direction, QString());
        QSignalSpy sent(window, &MainGUI::updateRunwayDirection);

        window->on_pushButton_HideRunway_clicked();
        QCOMPARE(window->ui->pushButton_HideRunway->text(), QStringLiteral("Show"));
        QVERIFY(window->runwayHidden);
        QCOMPARE(window->windScene.items().size(), hiddenItems);

        window->on_pushButton_HideRunway_clicked();
        QCOMPARE(window->ui->pushButton_HideRunway->text(), QStringLiteral("Hide"));
        QVERIFY(!window->runwayHidden);
        QCOMPARE(window->windScene.items().size(), shownItems);
        QCOMPARE(window->runwayDirection, 120.0);
        QCOMPARE(sent.count(), 0);
    }

    void clearTamperWarning()
    {
        window->ui->pushButton_ClearTamperingWarning->show();
        window->ui->labelTableTampering->setText("Position changed");
        QSignalSpy cleared(window, &MainGUI::clearTamperingData);
        QSignalSpy log(window, &MainGUI::logDataMainMsg);

        window->on_pushButton_ClearTamperingWarning_clicked();
        QVERIFY(window->ui->pushButton_ClearTamperingWarning->isHidden());
        QVERIFY(window->ui->labelTableTampering->text().isEmpty());
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(log.count(), 1);
        QCOMPARE(log.at(0).at(0).toByteArray(), QByteArray("INFO: User cleared tamper warning."));
    }

    void cameraStatus_data()
    {
        QTest::addColumn<bool>("active");
        QTest::addColumn<QString>("pixmap");
        QTest::addColumn<QString>("tip");

        QTest::newRow("active") << true << ":/resources/camera-on.png"
                                << "Cameras Active";
        QTest::newRow("inactive") << false << ":/resources/camera-off-grey.png"
                                  << "Cameras Inactive";
    }

    void cameraStatus()
    {
        QFETCH(bool, active);
        QFETCH(QString, pixmap);
        QFETCH(QString, tip);
        window->imageAcqisitionActive(!active);
        window->imageAcqisitionActive(active);
        const QImage expected = QPixmap(pixmap).toImage();
        QVERIFY(!expected.isNull());
        QCOMPARE(window->ui->labelCamera->pixmap(Qt::ReturnByValue).toImage(), expected);
        QCOMPARE(window->ui->labelCamera->toolTip(), tip);
        QCOMPARE(window->ui->label_StatusCamera->toolTip(), tip);
        QCOMPARE(window->ui->label_StatusCamera->isEnabled(), active);
    }

    void imageProgress_data()
    {
        QTest::addColumn<int>("camera");
        QTest::addColumn<int>("packet");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("abandoned"); // else finished

        QTest::newRow("half way") << 1 << 22 << 22 << "Camera 1 Data" << false;
        QTest::newRow("last packet") << 2 << 44 << 44 << "Camera 2 Data" << false;
        QTest::newRow("beyond the last") << 3 << 57 << 44 << "Camera 3 Data" << false;
        QTest::newRow("abandoned half way") << 4 << 22 << 22 << "Camera 4 Data" << true;
    }

    void imageProgress()
    {
        QFETCH(int, camera);
        QFETCH(int, packet);
        QFETCH(int, value);
        QFETCH(QString, text);
        QFETCH(bool, abandoned);
        QProgressBar* bar = window->imageProgressBar;

        window->imageAcqisitionActive(true);
        window->imageProgressInfo(camera, packet);
        QCOMPARE(window->statusRightStack->currentIndex(), 1);
        QVERIFY(!bar->isHidden());
        QCOMPARE(bar->value(), value);
        QCOMPARE(bar->text(), text);

        // The transfer ends, whole or abandoned, as the link reports it: the connection text is
        // back.
        if (!abandoned)
            window->displayImageDataFinal(camera, QString());
        window->imageAcqisitionActive(false);
        QVERIFY(bar->isHidden());
        QCOMPARE(window->statusRightStack->currentIndex(), 0);
    }
};

QTEST_MAIN(TestViewControls)
#include "tst_viewcontrols.moc"
