// The SPECI criteria page of the real main window, on one window for the whole suite: the unit's
// replies into the two tables, the operator's edits written back, and the page's prompts.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "app/modalrunner.h"
#include "forms/maingui_ui.h"
#include "reports/criteriatablemodel.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace
{

struct Box {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

const QByteArray kReadVisibility("speci_read_visibility\r\n");
const QByteArray kReadCeiling("speci_read_ceiling\r\n");
const QString kVisibilityDefaults = "4800 3200 2400 1600 1200 800 400";
const QString kCeilingDefaults = "3000 2000 1500 1000 800 700 500 300 200 100";

// A table as one text: each row's threshold, "-" for a blank one; "x" marks a disabled row that
// holds a value and "?" an enabled blank row.
QString rows(const SPECITableModel* model)
{
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QVariant value = model->data(model->index(row, 0));
        const bool disabled =
            model->data(model->index(row, 1), Qt::CheckStateRole) == int(Qt::Checked);
        const QString shown = value.isValid() ? value.toString() : "-";
        out << (disabled == !value.isValid() ? shown : shown == "-" ? "?" : shown + "x");
    }
    return out.join(' ');
}

QString numbers(int count, int step)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out << QString::number(i * step);
    return out.join(' ');
}

} // namespace

class TestSpeciPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainGUI> window;
    QList<Box> boxes;
    int answer = QMessageBox::Ok;

    Ui_MainGUI* ui() const { return window->ui; }
    QStringList statusLines() const
    {
        return ui()->textEdit_SPECI_status->toPlainText().split(QLatin1Char('\n'));
    }
    SPECITableModel* visibility() const { return window->speciVisibilityModel; }
    SPECITableModel* ceiling() const { return window->speciCeilingModel; }
    void verifyOneBox(const QString& title, const QString& text)
    {
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).title, title);
        QCOMPARE(boxes.at(0).text, text);
    }

private slots:
    void initTestCase()
    {
        registerSharedMetaTypes();
        window = std::make_unique<MainGUI>();
        window->deviceType = DeviceTypes::ORVA;
        setModalRunner([this](QDialog& dialog) {
            auto& box = static_cast<QMessageBox&>(dialog);
            boxes << Box{box.icon(), box.windowTitle(), box.text(), box.standardButtons()};
            return answer;
        });
    }
    void cleanupTestCase()
    {
        setModalRunner({});
        window.reset();
    }
    // Both tables back to the unit's defaults, as a reply of them leaves them.
    void init()
    {
        window->displayORVASpeciSettings(kVisibilityDefaults, SpeciReplyVisibility);
        window->displayORVASpeciSettings(kCeilingDefaults, SpeciReplyCeiling);
        QCOMPARE(rows(visibility()), kVisibilityDefaults);
        QCOMPARE(rows(ceiling()), kCeilingDefaults);
        ui()->textEdit_SPECI_status->clear();
        ui()->textEdit_ErrorMsgs->clear();
        ui()->stackedWidget_Settings->setCurrentWidget(ui()->page_mainSettings);
        window->commandQueue.clear();
        boxes.clear();
        answer = QMessageBox::Ok;
    }

    void openingQueuesBothReads()
    {
        window->speciEdited = true;
        window->speciVisibilityChangedRows.insert(5);
        window->speciCeilingChangedRows.insert(2);
        QTest::mouseClick(ui()->pushButton_editSpeciSettings, Qt::LeftButton);
        QCOMPARE(ui()->stackedWidget_Settings->currentWidget(), ui()->page_speciSettings);
        QCOMPARE(window->commandQueue, (QList<QByteArray>{kReadVisibility, kReadCeiling}));
        QCOMPARE(statusLines(), (QStringList{"Loading Settings.", "Querying device settings..."}));
        QVERIFY(!window->speciEdited);
        QVERIFY(window->speciVisibilityChangedRows.isEmpty());
        QVERIFY(window->speciCeilingChangedRows.isEmpty());
        QCOMPARE(ui()->tableView_SPECISettings_Visibility->columnWidth(0), 150);
        QCOMPARE(ui()->tableView_SPECISettings_Ceiling->columnWidth(1), 120);
        QCOMPARE(ui()->tableView_SPECISettings_Ceiling->verticalHeader()->defaultSectionSize(), 35);
    }

    // The unit's replies, "kind:text", fill each table with exactly the reply's criteria, as
    // the unit sent them: a table grows or shrinks to its own reply's length whatever the other
    // table holds; -1 is a blank, disabled criterion; out-of-range values are shown without the
    // operator's range warning; a part that is no number is blank and disabled, and one error
    // line names those rows. Other reply kinds change nothing.
    void replies_data()
    {
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QString>("visibilityRows");
        QTest::addColumn<QString>("ceilingRows");
        QTest::addColumn<QString>("error");

        const QString vis = kVisibilityDefaults;
        const QString ceil = kCeilingDefaults;
        QTest::newRow("visibility shorter than its table")
            << QStringList{"1:5000 3000 -1"} << "5000 3000 -" << ceil << "";
        QTest::newRow("ceiling longer than its table")
            << QStringList{"2:" + ceil + " 50 -1"} << vis << ceil + " 50 -"
            << "";
        QTest::newRow("replies of different counts")
            << QStringList{"1:" + numbers(9, 100), "2:100 200"} << numbers(9, 100) << "100 200"
            << "";
        QTest::newRow("a shorter reply after a longer one")
            << QStringList{"2:" + numbers(12, 10), "1:700", "2:30 -1 20"} << "700"
            << "30 - 20"
            << "";
        QTest::newRow("a longer reply after a shorter one")
            << QStringList{"1:1", "1:" + numbers(8, 1)} << numbers(8, 1) << ceil << "";
        QTest::newRow("values as sent, parts that are no numbers blank")
            << QStringList{"1:0 16000  2400 abc"} << "0 16000 - 2400 -" << ceil
            << "ERROR: SPECI Visibility values from device are not numbers at Index 2, 4; shown "
               "blank and disabled.";
        QTest::newRow("ceiling parts that are no numbers")
            << QStringList{"2:100 1e3 -1 x"} << vis << "100 - - -"
            << "ERROR: SPECI Ceiling values from device are not numbers at Index 1, 3; shown "
               "blank and disabled.";
        QTest::newRow("a garbled reply fills at most 64 criteria")
            << QStringList{"2:" + numbers(100, 10), "1:" + QString("0 ").repeated(99) + "0"}
            << QString("0 ").repeated(63) + "0" << numbers(64, 10) << "";
        QTest::newRow("other reply kinds") << QStringList{"0:1", "3:OK"} << vis << ceil << "";
    }
    void replies()
    {
        QFETCH(QStringList, replies);
        QFETCH(QString, visibilityRows);
        QFETCH(QString, ceilingRows);
        QFETCH(QString, error);
        window->speciEdited = true;
        window->speciVisibilityChangedRows = {1};
        window->speciCeilingChangedRows = {1};
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        QStringList status;
        for (const QString& reply : replies) {
            const int kind = reply.section(':', 0, 0).toInt();
            window->displayORVASpeciSettings(reply.section(':', 1), kind);
            if (kind == SpeciReplyVisibility)
                status << "Parsing device visibility settings...";
            if (kind == SpeciReplyCeiling)
                status << "Parsing device ceiling settings..."
                       << "Parsing Complete!"
                       << "";
        }
        QCOMPARE(rows(visibility()), visibilityRows);
        QCOMPARE(rows(ceiling()), ceilingRows);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(logged.count(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty()) {
            QCOMPARE(logged.at(0).at(0).toByteArray(), error.toUtf8());
            QCOMPARE(ui()->textEdit_ErrorMsgs->toPlainText().count(error), 1);
        }
        QCOMPARE(ui()->textEdit_SPECI_status->toPlainText(), status.join('\n'));
        // Storing the unit's values is no edit; a reply forgets the edits of its own table only.
        const QString kinds = replies.join(' ');
        QCOMPARE(window->speciEdited, status.isEmpty());
        QCOMPARE(window->speciVisibilityChangedRows.isEmpty(), kinds.contains("1:"));
        QCOMPARE(window->speciCeilingChangedRows.isEmpty(), kinds.contains("2:"));
    }

    // A threshold the operator types that the table refuses keeps the cell's value and is no
    // edit; out of range, it brings one warning naming the range and the row.
    void typedThresholdRefused_data()
    {
        QTest::addColumn<bool>("ceilingTable");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("warning"); // empty: no box
        QTest::newRow("visibility 16000")
            << false << 3 << "16000"
            << "Number out of Allowed Range(1-15999) for Index 3.\n Please correct entry and "
               "resubmit. \n\n";
        QTest::newRow("ceiling 0") << true << 9 << "0"
                                   << "Number out of Allowed Range(1-24999) for Index 9.\n Please "
                                      "correct entry and resubmit. \n\n";
        QTest::newRow("no number") << false << 1 << "12a"
                                   << "";
    }
    void typedThresholdRefused()
    {
        QFETCH(bool, ceilingTable);
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, warning);
        QAbstractItemModel* table = ceilingTable
                                        ? ui()->tableView_SPECISettings_Ceiling->model()
                                        : ui()->tableView_SPECISettings_Visibility->model();
        const QModelIndex cell = table->index(row, 0);
        const QVariant before = cell.data();
        QVERIFY(!table->setData(cell, typed, Qt::EditRole));
        QCOMPARE(cell.data(), before);
        QVERIFY(!window->speciEdited);
        QCOMPARE(boxes.size(), warning.isEmpty() ? 0 : 1);
        if (!warning.isEmpty()) {
            verifyOneBox("INVALID NUMERIC ENTRY", warning);
            QCOMPARE(boxes.at(0).icon, QMessageBox::Warning);
            QCOMPARE(boxes.at(0).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
    }

    void saveWritesChangedRows()
    {
        QSignalSpy logged(window.get(), &MainGUI::logDataMainMsg);
        window->on_speciSaveSettings();
        QVERIFY(window->commandQueue.isEmpty());
        QVERIFY(boxes.isEmpty());

        QVERIFY(visibility()->setData(visibility()->index(3, 0), "1600", Qt::EditRole));
        QVERIFY(ceiling()->setData(ceiling()->index(0, 1), int(Qt::Checked), Qt::CheckStateRole));
        QVERIFY(window->speciEdited);
        QTest::mouseClick(ui()->pushButton_saveSPECItoDevice, Qt::LeftButton);
        QCOMPARE(window->commandQueue, (QList<QByteArray>{"speci_write_visibility 3 1600\r\n",
                                                          "speci_write_ceiling 0 -1\r\n"}));
        const QByteArray line =
            "INFO: SPECI Visibility parameter Index 3 custom value set [ 1600 ]";
        QCOMPARE(logged.count(), 2);
        QCOMPARE(logged.at(0).at(0).toByteArray(), line);
        QCOMPARE(logged.at(1).at(0).toByteArray(),
                 QByteArray("INFO: SPECI Ceiling parameter Index 0 custom value set [ -1 ]"));
        QVERIFY(ui()->textEdit_SysMsgs->toPlainText().contains(line));
        QCOMPARE(statusLines(),
                 (QStringList{"Saved visibility settings.", "Saved ceiling settings.",
                              "Saved visibility settings.", "Saved ceiling settings."}));
        verifyOneBox("SPECI Custom Values", "Custom SPECI values have been set");
        QVERIFY(!window->speciEdited);
        QVERIFY(window->speciVisibilityChangedRows.isEmpty());
        QVERIFY(window->speciCeilingChangedRows.isEmpty());
    }

    // An enabled blank row stops the save with a box naming it, after the rows before it; the
    // edits stay for the next attempt. A row added through the menu arrives blank and disabled
    // and is no edit by itself.
    void blankEnabledRowStopsSave()
    {
        const int added = ceiling()->rowCount();
        ceiling()->insertRows(added, 1);
        window->on_speciSaveSettings();
        QVERIFY(boxes.isEmpty());
        QVERIFY(visibility()->setData(visibility()->index(0, 0), 4000, Qt::EditRole));
        QVERIFY(
            ceiling()->setData(ceiling()->index(added, 1), int(Qt::Unchecked), Qt::CheckStateRole));
        ui()->textEdit_SPECI_status->clear();
        window->on_speciSaveSettings();
        QCOMPARE(window->commandQueue, QList<QByteArray>{"speci_write_visibility 0 4000\r\n"});
        verifyOneBox("BLANK ENTRY",
                     "Table SPECI Ceiling at Index 10.\n Please correct entry and resubmit. \n\n");
        QCOMPARE(boxes.at(0).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(window->speciEdited);
        QCOMPARE(window->speciCeilingChangedRows, QSet<int>{added});
        QCOMPARE(statusLines(), QStringList{"Saved visibility settings."});
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
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::newRow("no edits") << false << int(QMessageBox::Yes) << QList<QByteArray>{};
        QTest::newRow("edits, No") << true << int(QMessageBox::No) << QList<QByteArray>{};
        QTest::newRow("edits, Yes")
            << true << int(QMessageBox::Yes) << QList<QByteArray>{"speci_write_ceiling 4 750\r\n"};
    }
    void returnAsksOnlyAfterEdits()
    {
        QFETCH(bool, edited);
        QFETCH(int, reply);
        QFETCH(QList<QByteArray>, sent);
        ui()->stackedWidget_Settings->setCurrentWidget(ui()->page_speciSettings);
        // Row changes through the menu never count as edits.
        ceiling()->insertRows(2, 1);
        ceiling()->removeRows(2, 1);
        if (edited)
            QVERIFY(ceiling()->setData(ceiling()->index(4, 0), 750, Qt::EditRole));
        answer = reply;
        QTest::mouseClick(ui()->pushButton_returnSPECISettings, Qt::LeftButton);
        QCOMPARE(ui()->stackedWidget_Settings->currentWidget(), ui()->page_mainSettings);
        QCOMPARE(boxes.isEmpty(), !edited);
        if (edited) {
            QCOMPARE(boxes.at(0).title, QStringLiteral("CONFIRM COMMAND"));
            QCOMPARE(boxes.at(0).text, QStringLiteral("Save SPECI values to device? \n\n"));
            QCOMPARE(boxes.at(0).buttons, QMessageBox::Yes | QMessageBox::No);
        }
        QCOMPARE(window->commandQueue, sent);
        QCOMPARE(window->speciEdited, edited && reply == QMessageBox::No);
    }

    void setDefaults_data()
    {
        QTest::addColumn<int>("reply");
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::newRow("Yes") << int(QMessageBox::Yes)
                             << QList<QByteArray>{"speci_default\r\n", kReadVisibility,
                                                  kReadCeiling};
        QTest::newRow("No") << int(QMessageBox::No) << QList<QByteArray>{};
    }
    void setDefaults()
    {
        QFETCH(int, reply);
        QFETCH(QList<QByteArray>, sent);
        QVERIFY(visibility()->setData(visibility()->index(1, 0), 3300, Qt::EditRole));
        QVERIFY(ceiling()->setData(ceiling()->index(2, 0), 1400, Qt::EditRole));
        answer = reply;
        QTest::mouseClick(ui()->pushButton_setSPECIdefaults, Qt::LeftButton);
        verifyOneBox("CONFIRM COMMAND",
                     "Confirm Setting ALL SPECI Settings to Default AFMAN Values? \n\n");
        QCOMPARE(window->commandQueue, sent);
        if (sent.isEmpty()) {
            QVERIFY(window->speciEdited);
            QCOMPARE(rows(visibility()), QString("4800 3300 2400 1600 1200 800 400"));
            return;
        }
        // The first row of each table stays, so that it keeps its columns for the reply.
        QCOMPARE(rows(visibility()), QString("4800"));
        QCOMPARE(rows(ceiling()), QString("3000"));
        QCOMPARE(statusLines(), (QStringList{"Setting defaults.", "Loading Settings.",
                                             "Querying device settings..."}));
        // Edits of both tables made before the defaults are forgotten.
        QVERIFY(!window->speciEdited);
        QVERIFY(window->speciVisibilityChangedRows.isEmpty());
        QVERIFY(window->speciCeilingChangedRows.isEmpty());
    }
};

QTEST_MAIN(TestSpeciPage)
#include "tst_criteriapage.moc"
