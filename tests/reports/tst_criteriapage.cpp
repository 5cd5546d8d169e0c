#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "app/modalrunner.h"
#include "forms/maingui_ui.h"
#include "reports/criteriatablemodel.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace
{

struct Box {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

const QByteArray kReadVisibility("speci_read_visibility\r\n");
const QByteArray kReadCeiling("speci_read_ceiling\r\n");

QVector<QVariant> thresholds(const SPECITableModel* model)
{
    QVector<QVariant> values;
    for (int row = 0; row < model->rowCount(); ++row)
        values << model->data(model->index(row, 0));
    return values;
}

QVector<bool> disabledFlags(const SPECITableModel* model)
{
    QVector<bool> flags;
    for (int row = 0; row < model->rowCount(); ++row)
        flags << (model->data(model->index(row, 1), Qt::CheckStateRole) == int(Qt::Checked));
    return flags;
}

} // namespace

class TestSpeciPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainGUI> window;
    QList<Box> boxes;
    int answer = QMessageBox::Ok;

    QStringList statusLines() const
    {
        return window->ui->textEdit_SPECI_status->toPlainText().split(QLatin1Char('\n'));
    }
    SPECITableModel* visibility() const { return window->speciVisibilityModel; }
    SPECITableModel* ceiling() const { return window->speciCeilingModel; }

private slots:
    void initTestCase() { registerSharedMetaTypes(); }
    void init()
    {
        window = std::make_unique<MainGUI>();
        window->deviceType = DeviceTypes::ORVA;
        boxes.clear();
        answer = QMessageBox::Ok;
        setModalRunner([this](QDialog& dialog) {
            auto& box = static_cast<QMessageBox&>(dialog);
            boxes << Box{box.windowTitle(), box.text(), box.icon(), box.standardButtons()};
            return answer;
        });
    }
    void cleanup()
    {
        setModalRunner({});
        window.reset();
    }

    void openingQueuesBothReads()
    {
        window->speciEdited = true;
        window->speciCeilingChangedRows.insert(2);
        QTest::mouseClick(window->ui->pushButton_editSpeciSettings, Qt::LeftButton);
        QCOMPARE(window->ui->stackedWidget_Settings->currentWidget(),
                 window->ui->page_speciSettings);
        QCOMPARE(window->commandQueue, (QList<QByteArray>{kReadVisibility, kReadCeiling}));
        QCOMPARE(statusLines(), (QStringList{"Loading Settings.", "Querying device settings..."}));
        QVERIFY(!window->speciEdited);
        QVERIFY(window->speciCeilingChangedRows.isEmpty());
        QCOMPARE(window->ui->tableView_SPECISettings_Visibility->columnWidth(0), 150);
        QCOMPARE(window->ui->tableView_SPECISettings_Ceiling->columnWidth(1), 120);
    }

    void replyFillsTable_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QVector<QVariant>>("values");
        QTest::addColumn<QVector<bool>>("disabled");
        QTest::addColumn<QStringList>("status");

        QTest::newRow("visibility shrinks")
            << 1 << "5000 3000 -1" << QVector<QVariant>{5000, 3000, QVariant()}
            << QVector<bool>{false, false, true}
            << QStringList{"Parsing device visibility settings..."};
        QTest::newRow("ceiling grows")
            << 2 << "3000 2000 1500 1000 800 700 500 300 200 100 50 -1"
            << QVector<QVariant>{3000, 2000, 1500, 1000, 800, 700,
                                 500,  300,  200,  100,  50,  QVariant()}
            << QVector<bool>{false, false, false, false, false, false,
                             false, false, false, false, false, true}
            << QStringList{"Parsing device ceiling settings...", "Parsing Complete!", ""};
    }
    void replyFillsTable()
    {
        QFETCH(int, kind);
        QFETCH(QString, reply);
        QFETCH(QVector<QVariant>, values);
        QFETCH(QVector<bool>, disabled);
        QFETCH(QStringList, status);

        SPECITableModel* model = kind == 1 ? visibility() : ceiling();
        QSet<int>& otherRows =
            kind == 1 ? window->speciCeilingChangedRows : window->speciVisibilityChangedRows;
        otherRows.insert(1);
        window->displayORVASpeciSettings(reply, kind);

        QCOMPARE(thresholds(model), values);
        QCOMPARE(disabledFlags(model), disabled);
        QCOMPARE(statusLines(), status);
        QVERIFY(!window->speciEdited);
        QVERIFY((kind == 1 ? window->speciVisibilityChangedRows : window->speciCeilingChangedRows)
                    .isEmpty());
        QCOMPARE(otherRows, QSet<int>{1});
        QVERIFY(boxes.isEmpty());
    }

    void oversizedReplyIsCut()
    {
        QStringList reply;
        for (int i = 1; i <= 100; ++i)
            reply << QString::number(i * 10);
        window->displayORVASpeciSettings(reply.join(QLatin1Char(' ')), 2);
        QCOMPARE(ceiling()->rowCount(), 64);
        QCOMPARE(ceiling()->data(ceiling()->index(63, 0)), QVariant(640));
        // Out of the typed range, as the unit sent them: no box for any of them.
        window->displayORVASpeciSettings(QString("0 ").repeated(99) + "0", 1);
        QCOMPARE(visibility()->rowCount(), 64);
        QCOMPARE(visibility()->data(visibility()->index(63, 0)), QVariant(0));
        QVERIFY(boxes.isEmpty());
    }

    void otherReplyKindsIgnored()
    {
        window->speciEdited = true;
        window->displayORVASpeciSettings(QStringLiteral("1"), 0);
        window->displayORVASpeciSettings(QStringLiteral("OK"), 3);
        QCOMPARE(visibility()->rowCount(), 7);
        QCOMPARE(ceiling()->rowCount(), 10);
        QVERIFY(window->speciEdited);
        QCOMPARE(window->ui->textEdit_SPECI_status->toPlainText(), QString());
    }

    // The unit's values are shown as sent, without the operator's range warnings; a part that is
    // no number leaves its row blank and disabled, and one error line names those rows.
    void replyValuesShownAsSent()
    {
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        window->displayORVASpeciSettings(QStringLiteral("0 16000  2400 abc"), 1);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(thresholds(visibility()),
                 (QVector<QVariant>{0, 16000, QVariant(), 2400, QVariant()}));
        QCOMPARE(disabledFlags(visibility()), (QVector<bool>{false, false, true, false, true}));
        const QString line = QStringLiteral("ERROR: SPECI Visibility values from device are not "
                                            "numbers at Index 2, 4; shown blank and disabled.");
        QCOMPARE(logged.count(), 1);
        QCOMPARE(logged.at(0).at(0).toByteArray(), line.toUtf8());
        QCOMPARE(window->ui->textEdit_ErrorMsgs->toPlainText().count(line), 1);
        QVERIFY(!window->speciEdited);
    }

    void saveWritesChangedRows()
    {
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        QVERIFY(
            visibility()->setData(visibility()->index(3, 0), QStringLiteral("1600"), Qt::EditRole));
        QVERIFY(ceiling()->setData(ceiling()->index(0, 1), int(Qt::Checked), Qt::CheckStateRole));
        QVERIFY(window->speciEdited);
        QCOMPARE(window->speciVisibilityChangedRows, QSet<int>{3});

        QTest::mouseClick(window->ui->pushButton_saveSPECItoDevice, Qt::LeftButton);

        QCOMPARE(window->commandQueue, (QList<QByteArray>{"speci_write_visibility 3 1600\r\n",
                                                          "speci_write_ceiling 0 -1\r\n"}));
        QCOMPARE(logged.count(), 2);
        QCOMPARE(logged.at(0).at(0).toByteArray(),
                 QByteArray("INFO: SPECI Visibility parameter Index 3 custom value set [ 1600 ]"));
        QCOMPARE(logged.at(1).at(0).toByteArray(),
                 QByteArray("INFO: SPECI Ceiling parameter Index 0 custom value set [ -1 ]"));
        QVERIFY(window->ui->textEdit_SysMsgs->toPlainText().contains(
            "INFO: SPECI Visibility parameter Index 3 custom value set [ 1600 ]"));
        QCOMPARE(statusLines(),
                 (QStringList{"Saved visibility settings.", "Saved ceiling settings."}));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).title, QStringLiteral("SPECI Custom Values"));
        QCOMPARE(boxes.at(0).text, QStringLiteral("Custom SPECI values have been set"));
        QCOMPARE(boxes.at(0).icon, QMessageBox::Information);
        QVERIFY(!window->speciEdited);
        QVERIFY(window->speciVisibilityChangedRows.isEmpty());
        QVERIFY(window->speciCeilingChangedRows.isEmpty());
    }

    void saveWithoutChangesSendsNothing()
    {
        window->on_speciSaveSettings();
        QVERIFY(window->commandQueue.isEmpty());
        QCOMPARE(statusLines(),
                 (QStringList{"Saved visibility settings.", "Saved ceiling settings."}));
        QVERIFY(boxes.isEmpty());
    }

    void blankEnabledRowStopsSave_data()
    {
        QTest::addColumn<bool>("onCeiling");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::newRow("visibility")
            << false
            << "Table SPECI Visibility at Index 7.\n Please correct entry and resubmit. \n\n"
            << QList<QByteArray>{};
        QTest::newRow("ceiling")
            << true << "Table SPECI Ceiling at Index 10.\n Please correct entry and resubmit. \n\n"
            << QList<QByteArray>{"speci_write_visibility 0 4000\r\n"};
    }
    void blankEnabledRowStopsSave()
    {
        QFETCH(bool, onCeiling);
        QFETCH(QString, text);
        QFETCH(QList<QByteArray>, sent);
        SPECITableModel* model = onCeiling ? ceiling() : visibility();
        if (onCeiling)
            QVERIFY(visibility()->setData(visibility()->index(0, 0), 4000, Qt::EditRole));

        // A row added through the menu arrives blank and disabled and is no edit by itself.
        const int added = model->rowCount();
        model->insertRows(added, 1);
        window->on_speciSaveSettings();
        QCOMPARE(window->commandQueue, sent);
        QVERIFY(boxes.isEmpty() == sent.isEmpty());
        window->commandQueue.clear();
        boxes.clear();
        window->ui->textEdit_SPECI_status->clear();

        if (onCeiling)
            QVERIFY(visibility()->setData(visibility()->index(0, 0), 4000, Qt::EditRole));
        QVERIFY(model->setData(model->index(added, 1), int(Qt::Unchecked), Qt::CheckStateRole));
        window->on_speciSaveSettings();
        QCOMPARE(window->commandQueue, sent);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).title, QStringLiteral("BLANK ENTRY"));
        QCOMPARE(boxes.at(0).text, text);
        QCOMPARE(boxes.at(0).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        // The save stopped: the edits are still remembered for the next attempt.
        QVERIFY(window->speciEdited);
        QVERIFY((onCeiling ? window->speciCeilingChangedRows : window->speciVisibilityChangedRows)
                    .contains(added));
        QCOMPARE(statusLines().contains("Saved ceiling settings."), false);
    }

    void rowRemovedAfterItsEditIsNotWritten()
    {
        QVERIFY(visibility()->setData(visibility()->index(6, 0), 300, Qt::EditRole));
        QVERIFY(visibility()->setData(visibility()->index(2, 0), 2000, Qt::EditRole));
        visibility()->removeRows(6, 1);
        window->on_speciSaveSettings();
        QCOMPARE(window->commandQueue, (QList<QByteArray>{"speci_write_visibility 2 2000\r\n"}));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).title, QStringLiteral("SPECI Custom Values"));
    }

    void returnAsksOnlyAfterEdits_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("reply");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::addColumn<bool>("editedAfter");
        QTest::newRow("no edits") << false << int(QMessageBox::Yes) << 0 << QList<QByteArray>{}
                                  << false;
        QTest::newRow("edits, No")
            << true << int(QMessageBox::No) << 1 << QList<QByteArray>{} << true;
        QTest::newRow("edits, Yes") << true << int(QMessageBox::Yes) << 1
                                    << QList<QByteArray>{"speci_write_ceiling 4 750\r\n"} << false;
    }
    void returnAsksOnlyAfterEdits()
    {
        QFETCH(bool, edited);
        QFETCH(int, reply);
        QFETCH(int, asked);
        QFETCH(QList<QByteArray>, sent);
        QFETCH(bool, editedAfter);
        window->ui->stackedWidget_Settings->setCurrentWidget(window->ui->page_speciSettings);
        // Row changes through the menu never count as edits.
        ceiling()->insertRows(2, 1);
        ceiling()->removeRows(2, 1);
        if (edited)
            QVERIFY(ceiling()->setData(ceiling()->index(4, 0), 750, Qt::EditRole));
        answer = reply;

        QTest::mouseClick(window->ui->pushButton_returnSPECISettings, Qt::LeftButton);

        QCOMPARE(window->ui->stackedWidget_Settings->currentWidget(),
                 window->ui->page_mainSettings);
        QVERIFY(boxes.size() >= asked);
        if (asked) {
            QCOMPARE(boxes.at(0).title, QStringLiteral("CONFIRM COMMAND"));
            QCOMPARE(boxes.at(0).text, QStringLiteral("Save SPECI values to device? \n\n"));
            QCOMPARE(boxes.at(0).buttons, QMessageBox::Yes | QMessageBox::No);
        } else {
            QVERIFY(boxes.isEmpty());
        }
        QCOMPARE(window->commandQueue, sent);
        QCOMPARE(window->speciEdited, editedAfter);
    }

    void setDefaults_data()
    {
        QTest::addColumn<int>("reply");
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::addColumn<int>("visibilityRows");
        QTest::newRow("Yes") << int(QMessageBox::Yes)
                             << QList<QByteArray>{"speci_default\r\n", kReadVisibility,
                                                  kReadCeiling}
                             << 1;
        QTest::newRow("No") << int(QMessageBox::No) << QList<QByteArray>{} << 7;
    }
    void setDefaults()
    {
        QFETCH(int, reply);
        QFETCH(QList<QByteArray>, sent);
        QFETCH(int, visibilityRows);
        QVERIFY(visibility()->setData(visibility()->index(1, 0), 3300, Qt::EditRole));
        answer = reply;

        QTest::mouseClick(window->ui->pushButton_setSPECIdefaults, Qt::LeftButton);

        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).title, QStringLiteral("CONFIRM COMMAND"));
        QCOMPARE(
            boxes.at(0).text,
            QStringLiteral("Confirm Setting ALL SPECI Settings to Default AFMAN Values? \n\n"));
        QCOMPARE(window->commandQueue, sent);
        QCOMPARE(visibility()->rowCount(), visibilityRows);
        if (sent.isEmpty()) {
            QVERIFY(window->speciEdited);
            QCOMPARE(ceiling()->rowCount(), 10);
            return;
        }
        QCOMPARE(ceiling()->rowCount(), 1);
        QCOMPARE(thresholds(ceiling()), QVector<QVariant>{3000});
        QCOMPARE(statusLines(), (QStringList{"Setting defaults.", "Loading Settings.",
                                             "Querying device settings..."}));
        QVERIFY(!window->speciEdited);
        QVERIFY(window->speciVisibilityChangedRows.isEmpty());
    }
};

QTEST_MAIN(TestSpeciPage)
#include "tst_criteriapage.moc"
