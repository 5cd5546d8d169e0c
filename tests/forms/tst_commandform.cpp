// The table and command pages at work: the command status cells that the window addresses by
// command number, keyboard focus through the command panels, the first choice that reaches a
// bound slot, toggling send buttons, and how the pages lay out at the window's design size.

#include "tests/support/testsupport.h"

#include "decoder/sharedtypes.h"
#include "formcheck.h"
#include "formhost.h"
#include "forms/formresources.h"
#include "formtestwindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <memory>

class TestCommandForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void statusCellStandsInItsCommandRow_data();
    void statusCellStandsInItsCommandRow();
    void statusCellsCoverEveryCommandOnce();

    void focusFollowsCreationOrder_data();
    void focusFollowsCreationOrder();
    void tabKeyWalksTheBrqPanel();
    void tabKeyStopsInTheMessageEditor();

    void firstChoiceReachesTheBoundSlot_data();
    void firstChoiceReachesTheBoundSlot();
    void sendButtonsToggle();
    void elevationStaysInRange();

    void generalTabKeepsItsFixedGroupBox();
    void generalTabColumns();
    void brqPanelKeepsItsPreferredWidth();
    void lightningFieldsGrowOnlyInWidth();
    void reportWrapsAndEditorStaysLow();
    void observationGridHoldsOnlyItsPairs();
    void historyTakesTheSpareHeight();

private:
    template <typename T> T* get(const char* name) const
    {
        return qobject_cast<T*>(findFormObject(m_window.get(), QString::fromLatin1(name)));
    }
    // Shows a page of the main stack (and a panel or tab of the command page) and lays it out.
    void showPage(const char* page, const char* panel = nullptr, const char* tab = nullptr);

    std::unique_ptr<FormTestWindow> m_window;
    std::unique_ptr<FormHost> m_host;
};

void TestCommandForm::initTestCase()
{
    QVERIFY(registerFormFonts());
    m_window = std::make_unique<FormTestWindow>();
    m_host = std::make_unique<FormHost>(m_window.get());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QCOMPARE(m_window->size(), QSize(1656, 877));
}

void TestCommandForm::showPage(const char* page, const char* panel, const char* tab)
{
    get<QStackedWidget>("stackedWidget_mainPages")->setCurrentWidget(get<QWidget>(page));
    if (panel)
        get<QStackedWidget>("stackedWidget_CommandConfiguration")
            ->setCurrentWidget(get<QWidget>(panel));
    if (tab)
        get<QTabWidget>("tabWidget")->setCurrentWidget(get<QWidget>(tab));
    QWidget* shown = get<QWidget>(tab ? tab : panel ? panel : page);
    QTRY_VERIFY(shown->isVisible());
    QApplication::processEvents();
}

// The device link reports a command's progress by its number; the window writes it into the
// cell of that number, which must stand beside the command's name.
void TestCommandForm::statusCellStandsInItsCommandRow_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("nameText");

    const struct {
        CommandIndex command;
        const char* cell;
        const char* name;
    } rows[] = {
        {CmdTransmitFrequency, "label_command_transmit_frequency_status", "Iridium Message Rate"},
        {CmdGps, "label_command_gps_status", "GPS"},
        {CmdElevation, "label_command_elevation_status", "Elevation"},
        {CmdDeclination, "label_command_decl_status", "Compass Declination"},
        {CmdRf, "label_command_rf_status", "RF Global Enable/Disalble (Iridium & RFLOS)"},
        {CmdBlower, "label_command_blower_status", "Ceilometer Blower Control"},
        {CmdHeater, "label_command_heater_status", "Heater"},
        {CmdLed, "label_command_led_status", "Status LED"},
        {CmdLog, "label_command_log_status", "Data Log"},
        {CmdDateTime, "label_command_timestamp_status", "Date/Time (YYYY-MM-DD HH:MM:SS)"},
        {CmdIcao, "label_command_icao_status", "ICAO"},
        {CmdSend, "label_command_send_status", "Send Message"},
        {CmdRflosTransmitFrequency, "label_command_rflos_txf_status",
         "RFLOS Transmit Frequency (MHz)"},
        {CmdRflosReceiveFrequency, "label_command_rflos_rxf_status",
         "RFLOS Receive Frequency (MHz)"},
        {CmdRflosProgrammedChannel, "label_command_rflos_program_channel_status",
         "RFLOS Program Channel"},
        {CmdRflosSelectedChannel, "label_command_rflos_selected_channel_status",
         "RFLOS Selected Channel"},
        {CmdRflosTransmitRate, "label_command_rflos_message_rate_status", "RFLOS Message Rate"},
    };
    for (const auto& row : rows)
        QTest::addRow("%d %s", int(row.command), row.cell)
            << int(row.command) << QString::fromLatin1(row.cell) << QString::fromUtf8(row.name);
}

void TestCommandForm::statusCellStandsInItsCommandRow()
{
    QFETCH(int, command);
    QFETCH(QString, cell);
    QFETCH(QString, nameText);

    auto* status = qobject_cast<QLabel*>(findFormObject(m_window.get(), cell));
    QVERIFY(status);
    QVERIFY(status->text().isEmpty());
    // The General tab's table, then the RFLOS tab's.
    QGridLayout* grid = nullptr;
    int index = -1;
    for (const char* table : {"gridLayout_24", "gridLayout_31"}) {
        grid = get<QGridLayout>(table);
        index = grid ? grid->indexOf(status) : -1;
        if (index >= 0)
            break;
    }
    QVERIFY2(index >= 0, "the status cell is not in a command table");
    int row, column, rowSpan, columnSpan;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(column, 3);

    QLayoutItem* nameItem = grid->itemAtPosition(row, 0);
    QVERIFY(nameItem);
    auto* name = qobject_cast<QLabel*>(nameItem->widget());
    QVERIFY(name);
    QCOMPARE(name->text(), nameText);

    // What the window writes for this command shows in that row.
    status->setText(QStringLiteral("#%1").arg(command));
    QCOMPARE(qobject_cast<QLabel*>(grid->itemAtPosition(row, 3)->widget())->text(),
             QStringLiteral("#%1").arg(command));
    status->clear();
}

void TestCommandForm::statusCellsCoverEveryCommandOnce()
{
    // Every labelled command row of both tables has exactly one status cell; the elevation
    // value row (a continuation of row 3) has only a blank filler.
    int cells = 0;
    for (const char* gridName : {"gridLayout_24", "gridLayout_31"}) {
        auto* grid = get<QGridLayout>(gridName);
        QVERIFY(grid);
        for (int row = 1; row < grid->rowCount(); ++row) {
            QLayoutItem* status = grid->itemAtPosition(row, 3);
            auto* label = status ? qobject_cast<QLabel*>(status->widget()) : nullptr;
            if (label && label->objectName().startsWith(QLatin1String("label_command_"))) {
                ++cells;
                QVERIFY2(label->objectName().endsWith(QLatin1String("_status")),
                         qPrintable(label->objectName()));
            }
        }
    }
    QCOMPARE(cells, int(CommandIndexCount));
}

void TestCommandForm::focusFollowsCreationOrder_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("BRQ panel") << QStringLiteral("page_BrqCommand")
                               << QStringList{"pushButtonSendCmds",   "comboBoxCmdSpeci",
                                              "cameraNumbercomboBox", "comboBoxCmdCamera",
                                              "comboBoxCmdCeil",      "comboBoxCmdMode",
                                              "comboBoxCmdGps",       "spinBox_elevationValue"};
    QTest::newRow("General tab") << QStringLiteral("tab_orva_commands_general")
                                 << QStringList{"comboBox_ORVAElevation",
                                                "comboBox_ORVALEDStatus",
                                                "lineEdit_ORVADateTimeInput",
                                                "lineEdit_ORVAICAO",
                                                "comboBox_ORVADataLog",
                                                "textEdit_ORVASendMsg",
                                                "lineEdit_devcmds",
                                                "comboBox_ORVARFCmd",
                                                "comboBox_ORVAGPS",
                                                "comboBox_ORVABlower",
                                                "comboBox_ORVAHeater",
                                                "lineEdit_ORVAElevationInput",
                                                "comboBox_ORVAtransmitFrequency",
                                                "lineEdit_command_declination",
                                                "pushButton_ORVAsendcommands",
                                                "pushButton_ORVADefaultSetting"};
}

void TestCommandForm::focusFollowsCreationOrder()
{
    QFETCH(QString, panel);
    QFETCH(QStringList, order);

    auto* root = qobject_cast<QWidget*>(findFormObject(m_window.get(), panel));
    QVERIFY(root);
    auto* first = qobject_cast<QWidget*>(findFormObject(m_window.get(), order.first()));
    QVERIFY(first);
    // The window's focus chain, from the first input once round, kept to the panel's inputs.
    QStringList chain;
    QWidget* widget = first;
    do {
        // Qt's own parts (a spin box's line edit) pass their focus on to their widget.
        if (root->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) &&
            !widget->focusProxy())
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first);
    QCOMPARE(chain, order);
}

void TestCommandForm::tabKeyWalksTheBrqPanel()
{
    showPage("pageCommand", "page_BrqCommand");
    const QStringList order{"pushButtonSendCmds", "comboBoxCmdSpeci",      "cameraNumbercomboBox",
                            "comboBoxCmdCamera",  "comboBoxCmdCeil",       "comboBoxCmdMode",
                            "comboBoxCmdGps",     "spinBox_elevationValue"};
    auto* start = get<QWidget>("pushButtonSendCmds");
    m_window->activateWindow();
    start->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), start);
    for (const QString& name : order.mid(1)) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("comboBoxCmdGps"));
}

void TestCommandForm::tabKeyStopsInTheMessageEditor()
{
    showPage("pageCommand", "page_ORVACmdsMain", "tab_orva_commands_general");
    m_window->activateWindow();
    auto* start = get<QWidget>("comboBox_ORVAElevation");
    start->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), start);
    for (const char* name : {"comboBox_ORVALEDStatus", "lineEdit_ORVADateTimeInput",
                             "lineEdit_ORVAICAO", "comboBox_ORVADataLog", "textEdit_ORVASendMsg"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
    }
    // In the message editor the Tab key is text, not a move.
    auto* editor = get<QTextEdit>("textEdit_ORVASendMsg");
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), editor);
    QCOMPARE(editor->toPlainText(), QStringLiteral("\t"));
    editor->clear();
}

void TestCommandForm::firstChoiceReachesTheBoundSlot_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("slot");
    for (const char* combo : {"comboBoxViewMetar", "comboBoxCmdMode", "comboBoxCmdGps",
                              "comboBoxCmdCamera", "comboBox_ORVAElevation"})
        QTest::newRow(combo) << QString::fromLatin1(combo)
                             << QStringLiteral("on_%1_currentIndexChanged(int)").arg(combo);
}

void TestCommandForm::firstChoiceReachesTheBoundSlot()
{
    QFETCH(QString, combo);
    QFETCH(QString, slot);

    // A fresh form: the shared one's combo boxes may have been used by other tests.
    FormTestWindow window;
    FormHost host(&window);
    auto* box = qobject_cast<QComboBox*>(findFormObject(&window, combo));
    QVERIFY(box);
    QCOMPARE(box->currentIndex(), -1);
    window.calls.clear();
    box->addItem(QStringLiteral("first"));
    QCOMPARE(window.calls.size(), 1);
    QCOMPARE(window.calls.first().slot, slot);
    QCOMPARE(window.calls.first().args, QVariantList{0});
    box->addItem(QStringLiteral("second"));
    QCOMPARE(window.calls.size(), 1); // later items leave the choice alone
}

void TestCommandForm::sendButtonsToggle()
{
    const struct {
        const char* button;
        const char* panel;
    } buttons[] = {{"pushButtonSendCmds", "page_BrqCommand"},
                   {"pushButtonCmdORVA", "page_OrvaCommands"}};
    for (const auto& entry : buttons) {
        showPage("pageCommand", entry.panel);
        auto* button = get<QPushButton>(entry.button);
        QVERIFY(!button->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY2(button->isChecked(), entry.button);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY2(!button->isChecked(), entry.button);
    }
}

void TestCommandForm::elevationStaysInRange()
{
    showPage("pageCommand", "page_BrqCommand");
    auto* spin = get<QSpinBox>("spinBox_elevationValue");
    QCOMPARE(spin->value(), 0);
    for (const auto& [typed, kept] : {std::pair{"-9999", -9999}, std::pair{"9999", 9999},
                                      std::pair{"12345", 1234}, std::pair{"-10000", -1000}}) {
        spin->clear();
        QTest::keyClicks(spin, QString::fromLatin1(typed));
        QTest::keyClick(spin, Qt::Key_Enter);
        QCOMPARE(spin->value(), kept);
    }
    spin->setValue(0);
}

void TestCommandForm::generalTabKeepsItsFixedGroupBox()
{
    showPage("pageCommand", "page_ORVACmdsMain", "tab_orva_commands_general");
    auto* tab = get<QWidget>("tab_orva_commands_general");
    auto* group = get<QGroupBox>("groupBox");
    QCOMPARE(group->geometry(), QRect(0, 0, 1391, 1101));
    // At the design size the tab is smaller than the group box, which it cuts off.
    QVERIFY2(tab->width() < 1391 || tab->height() < 1101,
             qPrintable(QStringLiteral("tab is %1 x %2").arg(tab->width()).arg(tab->height())));
    QVERIFY(tab->layout() == nullptr);

    // Cut off or not, every command row's input and help cell can still be reached: each starts
    // inside the tab and shows at least half its height. (The buttons under the table and the
    // status column stand at the tab's edges at this size, how far in depends on the fonts.)
    for (QWidget* widget : group->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        const bool input = qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                           qobject_cast<QTextEdit*>(widget);
        if (name.startsWith(QLatin1String("qt_")) || (widget->parentWidget() != group) ||
            !(input || name.startsWith(QLatin1String("label_command_help_"))))
            continue;
        const QRect shown = QRect(widget->mapTo(tab, QPoint()), widget->size()) & tab->rect();
        QVERIFY2(shown.topLeft() == widget->mapTo(tab, QPoint()) &&
                     shown.height() * 2 >= widget->height(),
                 qPrintable(name));
    }
}

void TestCommandForm::generalTabColumns()
{
    showPage("pageCommand", "page_ORVACmdsMain", "tab_orva_commands_general");
    QVERIFY(get<QLabel>("ORVAICAOLabel")->width() >= 227);
    for (const char* name :
         {"label_command_transmit_frequency_status", "label_command_gps_status",
          "label_command_elevation_status", "label_command_rf_status",
          "label_command_blower_status", "label_command_heater_status", "label_command_led_status",
          "label_command_log_status", "label_command_timestamp_status", "label_command_icao_status",
          "label_command_send_status"}) {
        auto* cell = get<QLabel>(name);
        QVERIFY2(cell->width() >= 50, name);
        QCOMPARE(cell->width(), cell->sizeHint().width());
    }
    // The message editor stays at most 100 pixels high however much it holds.
    auto* editor = get<QTextEdit>("textEdit_ORVASendMsg");
    editor->setPlainText(QStringLiteral("line\n").repeated(40));
    QApplication::processEvents();
    QVERIFY(editor->height() <= 100);
    QVERIFY(editor->width() > get<QLineEdit>("lineEdit_ORVAICAO")->width() - 2);
    editor->clear();
}

void TestCommandForm::brqPanelKeepsItsPreferredWidth()
{
    showPage("pageCommand", "page_BrqCommand");
    auto* page = get<QWidget>("page_BrqCommand");
    auto* frame = get<QWidget>("frameBrqCmd");
    QCOMPARE(frame->x(), 0);
    QCOMPARE(frame->width(), frame->sizeHint().width());
    QVERIFY(page->width() > frame->width());
    // The blank column left of the labels is at least 110 pixels wide.
    QVERIFY(get<QLabel>("label_17")->mapTo(frame, QPoint()).x() >= 110);
}

void TestCommandForm::lightningFieldsGrowOnlyInWidth()
{
    showPage("pageCommand", "page_ORVACmdsMain", "tab_orva_commands_lightning");
    for (const char* name :
         {"lineEdit_orva_lightning_bx_step_threshold", "lineEdit_orva_lightning_by_step_threshold",
          "lineEdit_orva_lightning_bz_step_threshold"}) {
        auto* field = get<QLineEdit>(name);
        QCOMPARE(field->height(), field->sizeHint().height());
        QVERIFY2(field->width() > field->sizeHint().width(), name);
    }
}

void TestCommandForm::reportWrapsAndEditorStaysLow()
{
    showPage("pageTable");
    auto* report = get<QLabel>("label_Metar");
    const QString text = QStringLiteral("METAR KXYZ 121255Z AUTO 27015G25KT 10SM FEW040 SCT250 "
                                        "22/14 A3012 RMK AO2 SLP201 T02220139 ")
                             .repeated(4)
                             .trimmed();
    report->setText(text);
    QApplication::processEvents();
    QVERIFY(report->wordWrap());
    QVERIFY(report->heightForWidth(report->width()) > report->fontMetrics().height() * 2);
    QVERIFY(!(report->textInteractionFlags() & Qt::TextEditable));
    QVERIFY(get<QWidget>("stacked_METAR")->height() <= 90);
    report->clear();

    auto* stack = get<QStackedWidget>("stacked_METAR");
    stack->setCurrentIndex(1);
    QApplication::processEvents();
    auto* line = get<QLineEdit>("lineEdit_Metar");
    QTRY_VERIFY(line->isVisible());
    QVERIFY(line->height() <= 30);
    int lastRight = line->geometry().right();
    for (const char* name :
         {"pushButton_saveAndSendMetar", "pushButton_saveMetar", "pushButton_cancelSaveMetar"}) {
        auto* button = get<QPushButton>(name);
        QVERIFY2(button->x() > lastRight, name);
        lastRight = button->geometry().right();
    }
    stack->setCurrentIndex(0);
}

void TestCommandForm::observationGridHoldsOnlyItsPairs()
{
    auto* grid = get<QGridLayout>("gridLayout_14");
    QVERIFY(grid);
    QCOMPARE(grid->count(), 82);
    QCOMPARE(grid->rowCount(), 17);
    QCOMPARE(grid->columnCount(), 6);
    // Each name has its value label to its right, in the same row.
    int names = 0;
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = 0; column < 6; column += 2) {
            QLayoutItem* name = grid->itemAtPosition(row, column);
            QLayoutItem* value = grid->itemAtPosition(row, column + 1);
            QCOMPARE(name != nullptr, value != nullptr);
            if (!name)
                continue;
            ++names;
            QVERIFY(!qobject_cast<QLabel*>(name->widget())->text().isEmpty());
            QVERIFY(qobject_cast<QLabel*>(value->widget())->text().isEmpty());
        }
    }
    QCOMPARE(names, 41);
}

void TestCommandForm::historyTakesTheSpareHeight()
{
    showPage("pageTable");
    auto* report = get<QWidget>("groupBox_3");
    auto* observation = get<QWidget>("groupBox_2");
    auto* history = get<QWidget>("groupBoxViewMetarOptions");
    QCOMPARE(observation->height(), observation->sizeHint().height());
    QVERIFY(report->height() <= report->sizeHint().height());
    QVERIFY(history->height() >= history->sizeHint().height());
    auto* icon = get<QLabel>("NoteMETARSentIcon");
    QCOMPARE(icon->size(), QSize(18, 18));
    // The legend reads picture, then text, at the right of its row.
    auto* legend = get<QLabel>("NoteMETARSentIconText");
    QVERIFY(icon->x() < legend->x());
    QVERIFY(legend->geometry().right() >= history->width() / 2);
}

QTEST_MAIN(TestCommandForm)
#include "tst_commandform.moc"
