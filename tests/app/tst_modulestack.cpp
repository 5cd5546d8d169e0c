// The module stack panel: reading the unit's stack response into the rows and lights, the order
// of the enable/disable commands, and the wait for their acknowledgements.

#include "tests/support/testsupport.h"

#include "app/maingui.h"
#include "app/modulestackrules.h"
#include "forms/maingui_ui.h"
#include "tests/app/apptest.h"

#include <QCheckBox>
#include <QIcon>
#include <QImage>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include <memory>

using ModuleStackRules::ModuleLine;

namespace
{
QStringList debugLines;
QtMessageHandler previousHandler = nullptr;

void recordDebug(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg)
        debugLines << text;
    else
        previousHandler(type, context, text);
}

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

const QIcon& greenLight()
{
    static const QIcon icon(QStringLiteral(":/resources/greenlight_icon_small.png"));
    return icon;
}

const QIcon& redLight()
{
    static const QIcon icon(QStringLiteral(":/resources/redlight_icon_small.png"));
    return icon;
}
} // namespace

class TestModuleStack : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainGUI> window;
    Ui_MainGUI* f = nullptr;

    QList<QByteArray> sent()
    {
        const QList<QByteArray> queue = window->commandQueue;
        window->commandQueue.clear();
        return queue;
    }

    QList<QCheckBox*> allBoxes() const
    {
        return window->findChildren<QCheckBox*>(QRegularExpression("^checkBox_ORVA(En|Dis)able"));
    }

    static QStringList stackResponse(const QStringList& moduleLines)
    {
        return QStringList{"stack", "stack=FOUND"} + moduleLines + QStringList{"OK", ""};
    }

private slots:
    void initTestCase()
    {
        // The suites run with debug output filtered off; this panel's waits report only there.
        QLoggingCategory::defaultCategory()->setEnabled(QtDebugMsg, true);
        previousHandler = qInstallMessageHandler(recordDebug);
        window = std::make_unique<MainGUI>();
        window->deviceType = DeviceTypes::ORVA;
        window->updateLayout();
        f = window->ui;
        QCOMPARE(allBoxes().size(), 14);
    }

    void cleanupTestCase()
    {
        window.reset();
        qInstallMessageHandler(previousHandler);
    }

    void init()
    {
        window->cmdWriteTimer->stop();
        window->stackCmdTimer.stop();
        window->pendingStackAcks.clear();
        window->on_pushButton_orva_stack_clear_clicked();
        f->label_orva_commands_success_indicator->hide();
        window->commandQueue.clear();
        debugLines.clear();
    }

    void moduleLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("enabled") << "C1:CEL,state=1,x" << int(ModuleLine::Module) << "C" << true;
        QTest::newRow("value starting with 1")
            << "W:a,s=10" << int(ModuleLine::Module) << "W" << true;
        QTest::newRow("zero") << "G:a,s=0" << int(ModuleLine::Module) << "G" << false;
        QTest::newRow("empty value") << "V:a,s=" << int(ModuleLine::Module) << "V" << false;
        QTest::newRow("on is not 1") << "R:a,s=on" << int(ModuleLine::Module) << "R" << false;
        QTest::newRow("main controller") << ">MAIN:a,s=1" << int(ModuleLine::Module) << ">" << true;
        QTest::newRow("no colon") << "C a,s=1" << int(ModuleLine::Malformed) << "" << false;
        QTest::newRow("two colons") << "C:a:b,s=1" << int(ModuleLine::Malformed) << "" << false;
        QTest::newRow("no comma") << "C:s=1" << int(ModuleLine::Malformed) << "" << false;
        QTest::newRow("no equals")
            << "C:a,s1" << int(ModuleLine::ModuleWithoutState) << "C" << false;
        QTest::newRow("two equals")
            << "C:a,s=1=1" << int(ModuleLine::ModuleWithoutState) << "C" << false;
        QTest::newRow("unknown letter")
            << "X:a,s=1" << int(ModuleLine::UnknownModule) << "X" << false;
        QTest::newRow("empty head") << ":a,s=1" << int(ModuleLine::UnknownModule) << "" << false;
        QTest::newRow("lower case") << "c:a,s=1" << int(ModuleLine::UnknownModule) << "c" << false;
    }

    void moduleLine()
    {
        QFETCH(QString, line);
        QFETCH(int, kind);
        QFETCH(QString, letter);
        QFETCH(bool, enabled);

        const ModuleLine parsed = ModuleStackRules::parseModuleLine(line);
        QCOMPARE(int(parsed.kind), kind);
        if (kind != int(ModuleLine::Malformed))
            QCOMPARE(parsed.letter, letter);
        if (kind == int(ModuleLine::Module))
            QCOMPARE(parsed.enabled, enabled);
    }

    void submitQueuesDisablesBeforeEnables()
    {
        f->checkBox_ORVAEnableWind->setChecked(true);
        f->checkBox_ORVAEnableCeilometer->setChecked(true);
        f->checkBox_ORVADisableCeilometer->setChecked(true);
        f->checkBox_ORVADisableLightning->setChecked(true);
        f->checkBox_ORVADisableTPH->setChecked(true);
        f->checkBox_ORVAEnablePresentWeather->setChecked(true);

        window->on_pushButton_orva_stack_submit_clicked();

        QCOMPARE(sent(), (QList<QByteArray>{"disable C\r\n", "disable G\r\n", "disable T\r\n",
                                            "enable C\r\n", "enable V\r\n", "enable W\r\n"}));
        QCOMPARE(window->pendingStackAcks, (QStringList{"disable=C", "disable=G", "disable=T",
                                                        "enable=C", "enable=V", "enable=W"}));
        QVERIFY(f->checkBox_ORVAEnableWind->isChecked());
        QCOMPARE(window->stackAcksDone, 0);
        QCOMPARE(f->progressBar_orva_stack->maximum(), 6);
        QVERIFY(!f->progressBar_orva_stack->isHidden());
        QVERIFY(f->label_orva_commands_success_indicator->isHidden());
        QVERIFY(window->stackCmdTimer.isActive());
        QCOMPARE(window->stackCmdTimer.interval(), 30000);
        QCOMPARE(debugLines, QStringList{"Starting timeout.\r\n"});
    }

    void submitWithNothingDoesNothing()
    {
        window->on_pushButton_orva_stack_submit_clicked();
        QVERIFY(sent().isEmpty());
        QVERIFY(window->pendingStackAcks.isEmpty());
        QVERIFY(!window->stackCmdTimer.isActive());
        QVERIFY(f->progressBar_orva_stack->isHidden());
        QVERIFY(debugLines.isEmpty());
    }

    void acknowledgementsCompleteTheWait()
    {
        f->checkBox_ORVADisableRadio->setChecked(true);
        f->checkBox_ORVAEnableRadio->setChecked(true);
        window->on_pushButton_orva_stack_submit_clicked();
        window->on_pushButton_orva_stack_submit_clicked();
        QCOMPARE(sent().size(), 4);
        QCOMPARE(f->progressBar_orva_stack->maximum(), 4);

        // The opposite state from the unit matches nothing; equal entries go one at a time.
        window->on_enable_disable_response("enable=I");
        QCOMPARE(window->stackAcksDone, 0);
        QVERIFY(debugLines.contains("Invalid enable/disable."));
        window->on_enable_disable_response("enable=R");
        window->on_enable_disable_response("enable=R");
        QCOMPARE(window->pendingStackAcks, (QStringList{"disable=R", "disable=R"}));
        window->on_enable_disable_response("disable=R");
        QCOMPARE(window->stackAcksDone, 3);
        QCOMPARE(f->progressBar_orva_stack->value(), 3);
        QVERIFY(f->label_orva_commands_success_indicator->isHidden());
        QVERIFY(window->stackCmdTimer.isActive());
        QVERIFY(sent().isEmpty());

        window->on_enable_disable_response("disable=R");
        QVERIFY(window->pendingStackAcks.isEmpty());
        QVERIFY(!window->stackCmdTimer.isActive());
        QVERIFY(!f->label_orva_commands_success_indicator->isHidden());
        QCOMPARE(sent(), QList<QByteArray>{"stack\r"});

        debugLines.clear();
        window->on_enable_disable_response("disable=R");
        QCOMPARE(debugLines.last(), QString("Invalid enable/disable."));
        QCOMPARE(window->stackAcksDone, 4);
        QVERIFY(sent().isEmpty());
    }

    void lateAcknowledgementsAfterTimeout()
    {
        f->checkBox_ORVAEnableIridium->setChecked(true);
        f->checkBox_ORVAEnableTPH->setChecked(true);
        window->on_pushButton_orva_stack_submit_clicked();
        QCOMPARE(sent(), (QList<QByteArray>{"enable I\r\n", "enable T\r\n"}));
        window->stackCmdTimer.setInterval(1);
        QTRY_VERIFY_WITH_TIMEOUT(!window->stackCmdTimer.isActive(), 10000);
        QVERIFY(debugLines.contains("ERROR: Stack response timeout.\r\n"));
        QCOMPARE(window->pendingStackAcks.size(), 2);
        QVERIFY(!f->progressBar_orva_stack->isHidden());

        // Nothing ticked re-arms the wait for what is left over.
        window->on_pushButton_orva_stack_clear_clicked();
        debugLines.clear();
        window->on_pushButton_orva_stack_submit_clicked();
        QVERIFY(sent().isEmpty());
        QCOMPARE(f->progressBar_orva_stack->maximum(), 2);
        QVERIFY(window->stackCmdTimer.isActive());
        QCOMPARE(debugLines, QStringList{"Starting timeout.\r\n"});
        window->stackCmdTimer.stop();

        f->checkBox_ORVADisableWind->setChecked(true);
        window->on_pushButton_orva_stack_submit_clicked();
        QCOMPARE(sent(), QList<QByteArray>{"disable W\r\n"});
        QCOMPARE(f->progressBar_orva_stack->maximum(), 3);

        window->on_enable_disable_response("disable=W");
        window->on_enable_disable_response("enable=I");
        QVERIFY(f->label_orva_commands_success_indicator->isHidden());
        window->on_enable_disable_response("enable=T");
        QCOMPARE(f->progressBar_orva_stack->value(), 3);
        QVERIFY(!f->label_orva_commands_success_indicator->isHidden());
        QCOMPARE(sent(), QList<QByteArray>{"stack\r"});
    }

    void refreshQueuesTheQuery()
    {
        f->label_orva_commands_success_indicator->show();
        window->on_pushButton_orva_stack_refresh_clicked();
        QCOMPARE(sent(), QList<QByteArray>{"stack\r"});
        QVERIFY(f->label_orva_commands_success_indicator->isHidden());
    }

    void stackResponseShowsRowsAndLights()
    {
        QSignalSpy log(window.get(), &MainGUI::logDataMainMsg);
        f->checkBox_ORVAEnableWind->setChecked(true);
        f->progressBar_orva_stack->show();
        f->label_orva_commands_success_indicator->show();
        window->pendingStackAcks = QStringList{"enable=W"};

        window->orvaLoadStack(
            stackResponse({">MAIN:v1,state=1", "C:CEL,state=1", "W:WND,s=0,x", "Q:odd,s=1",
                           "T:a:b,s=1", "I:IRD", "R1:a,b", "G1:LTG,s=10"}));

        QCOMPARE(firstArgs(log),
                 (QStringList{"INFO: Modules found on ORVA",
                              "INFO: Main Controller (MAIN) module found in ORVA stack",
                              "INFO: Ceilometer (CEL) module found in ORVA stack",
                              "INFO: Wind (WND) module found in ORVA stack",
                              "WARNING: Invalid stack command id response = Q.",
                              "INFO: Radio (RFLOS) module found in ORVA stack",
                              "INFO: Lightning (LTG) module found in ORVA stack"}));
        QVERIFY(debugLines.contains("Wind (WND) module has been found in the stack."));
        QVERIFY(!f->groupBox_orva_commands_stack_functionality->isHidden());
        QVERIFY(f->label_orva_commands_stack_none->isHidden());
        QVERIFY(f->progressBar_orva_stack->isHidden());
        QVERIFY(f->label_orva_commands_success_indicator->isHidden());
        for (QCheckBox* box : allBoxes())
            QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
        // The wait is not the panel's to cancel.
        QCOMPARE(window->pendingStackAcks, QStringList{"enable=W"});

        for (QWidget* shown :
             QList<QWidget*>{f->label_ModuleCeilometer, f->iconModule_Ceilometer,
                             f->checkBox_ORVAEnableCeilometer, f->checkBox_ORVADisableCeilometer,
                             f->iconModule_Wind, f->iconModule_Lightning})
            QVERIFY2(!shown->isHidden(), qPrintable(shown->objectName()));
        for (QWidget* hidden :
             QList<QWidget*>{f->label_ModuleTPH, f->iconModule_TPH, f->iconModule_Iridium,
                             f->iconModule_Radio, f->checkBox_ORVAEnablePresentWeather})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
        QCOMPARE(iconImage(f->iconModule_Ceilometer->icon()), iconImage(greenLight()));
        QCOMPARE(iconImage(f->iconModule_Wind->icon()), iconImage(redLight()));
        QCOMPARE(iconImage(f->iconModule_Lightning->icon()), iconImage(greenLight()));

        // A later response without the module leaves its row and light as they were.
        window->orvaLoadStack(stackResponse({"G:LTG,s=0"}));
        QVERIFY(!f->iconModule_Ceilometer->isHidden());
        QCOMPARE(iconImage(f->iconModule_Ceilometer->icon()), iconImage(greenLight()));
        QCOMPARE(iconImage(f->iconModule_Lightning->icon()), iconImage(redLight()));
    }

    void stackResponseWithoutModules_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("logText");
        QTest::addColumn<bool>("panelShown");

        QTest::newRow("nothing found") << QStringList{"stack", "stack=NONE", ""}
                                       << "WARNING: No modules found on ORVA" << true;
        QTest::newRow("one line") << QStringList{"stack"}
                                  << "ERROR: Stack reponse message does not include more than "
                                     "one line."
                                  << false;
    }

    void stackResponseWithoutModules()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, logText);
        QFETCH(bool, panelShown);

        f->groupBox_orva_commands_stack_functionality->hide();
        f->label_orva_commands_stack_none->hide();
        f->checkBox_ORVADisableIridium->setChecked(true);
        QSignalSpy log(window.get(), &MainGUI::logDataMainMsg);

        window->orvaLoadStack(lines);

        QCOMPARE(firstArgs(log), QStringList{logText});
        QCOMPARE(!f->groupBox_orva_commands_stack_functionality->isHidden(), panelShown);
        QCOMPARE(!f->label_orva_commands_stack_none->isHidden(), panelShown);
        QCOMPARE(f->checkBox_ORVADisableIridium->isChecked(), !panelShown);
    }

    void lightByName()
    {
        window->updateModuleIcon("P", "enable");
        QCOMPARE(iconImage(f->iconModule_PresentWeather->icon()), iconImage(greenLight()));
        window->updateModuleIcon("P", "disable");
        QCOMPARE(iconImage(f->iconModule_PresentWeather->icon()), iconImage(redLight()));

        const QStringList warnings{
            "WARNING: Module not found to update command module icon to enabled [V]",
            "WARNING: Module not found to update command module icon to disabled [>]",
            "WARNING: Status for module icon update unknown [Enable]"};
        window->updateModuleIcon("V", "enable");
        window->updateModuleIcon(">", "disable");
        window->updateModuleIcon("G", "Enable");
        QCOMPARE(debugLines, warnings);
        for (const QString& warning : warnings)
            QVERIFY2(f->textEdit_ErrorMsgs->toPlainText().contains(warning), qPrintable(warning));
    }
};

QTEST_MAIN(TestModuleStack)
#include "tst_modulestack.moc"
