// The finished main window form as a whole: its 1,081 objects by class, exactly the 76 slots bound
// by name, the texts a second retranslateUi restores (and only those), every picture it loads, its
// scroll areas and style sheets. Then what the last pages added, the settings pages, do when they
// are used: the radio rows, the bounded inputs, the read-only panes, the alert audio buttons and
// the way the pages share out their space.

#include "tests/support/testsupport.h"

#include "formbindings.h"
#include "formcheck.h"
#include "formhost.h"
#include "forms/formresources.h"
#include "formtestwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimeEdit>
#include <QTranslator>

#include <algorithm>
#include <memory>

namespace
{

// The form's own objects among a window's descendants: named, and not one of the parts Qt gives
// its widgets (the scroll areas' viewports and the tab widgets' page stacks excepted, which hold
// form objects).
QList<QObject*> formObjects(QObject* window)
{
    auto isQtPart = [](const QObject* object) {
        const QString name = object->objectName();
        return name.startsWith(QLatin1String("qt_")) || name.startsWith(QLatin1Char('_'));
    };
    auto insideQtPart = [&](const QObject* object) {
        for (const QObject* up = object->parent(); up && up != window; up = up->parent()) {
            if (isQtPart(up) && up->objectName() != QLatin1String("qt_scrollarea_viewport") &&
                up->objectName() != QLatin1String("qt_tabwidget_stackedwidget"))
                return true;
        }
        return false;
    };
    QList<QObject*> objects;
    for (QObject* object : window->findChildren<QObject*>()) {
        if (!object->objectName().isEmpty() && !isQtPart(object) && !insideQtPart(object))
            objects << object;
    }
    return objects;
}

// Every text retranslateUi may set, by object and setter: widget texts, tool tips, combo-box
// items and the time edit's display format, besides the window title.
QMap<QString, QString> formTexts(QMainWindow* window)
{
    QMap<QString, QString> texts;
    texts.insert(QStringLiteral("MainGUI/windowTitle"), window->windowTitle());
    for (QObject* object : formObjects(window)) {
        const QString name = object->objectName();
        QString text;
        if (readFormText(object, &text))
            texts.insert(name + QStringLiteral("/text"), text);
        if (auto* widget = qobject_cast<QWidget*>(object))
            texts.insert(name + QStringLiteral("/toolTip"), widget->toolTip());
        if (auto* combo = qobject_cast<QComboBox*>(object)) {
            for (int i = 0; i < combo->count(); ++i)
                texts.insert(name + QStringLiteral("/item %1").arg(i), combo->itemText(i));
        }
        if (auto* timeEdit = qobject_cast<QDateTimeEdit*>(object))
            texts.insert(name + QStringLiteral("/displayFormat"), timeEdit->displayFormat());
    }
    return texts;
}

// What the window logic might write over every one of those texts.
void overwriteFormTexts(QMainWindow* window, const QString& marker)
{
    window->setWindowTitle(marker);
    for (QObject* object : formObjects(window)) {
        writeFormText(object, marker);
        if (auto* widget = qobject_cast<QWidget*>(object))
            widget->setToolTip(marker);
        if (auto* combo = qobject_cast<QComboBox*>(object)) {
            for (int i = 0; i < combo->count(); ++i)
                combo->setItemText(i, marker);
        }
        if (auto* timeEdit = qobject_cast<QDateTimeEdit*>(object))
            timeEdit->setDisplayFormat(QStringLiteral("hh:mm"));
    }
}

// Answers every lookup in the form's context with the source text in brackets, and counts them.
class BracketingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        if (qstrcmp(context, "MainGUI") != 0)
            return QString();
        ++lookups;
        if (disambiguation || n != -1)
            ++unusualLookups;
        return QLatin1Char('[') + QString::fromUtf8(sourceText) + QLatin1Char(']');
    }
    bool isEmpty() const override { return false; }

    mutable int lookups = 0;
    mutable int unusualLookups = 0;
};

QImage stateImage(const QIcon& icon, QIcon::State state)
{
    return icon.pixmap(QSize(75, 75), QIcon::Normal, state)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

QImage resourceImage(const char* path)
{
    return QImage(QString::fromLatin1(path))
        .scaled(75, 75, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestWholeForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void objectsByClass();
    void boundSignalsAreExactlyTheTable();
    void retranslateTranslatesEveryNonEmptyText();
    void retranslateRestoresExactlyTheFormsTexts();
    void retranslateLeavesStatesAlone();
    void everyResourcePathLoads();
    void scrollAreasAreFramelessButOne();
    void styleSheets();

    void settingsRadioRows();
    void settingsRadiosAnswerClicksOnTheirLabels();
    void settingsBoundedInputs();
    void settingsReadOnlyFields();
    void alertListGrid();
    void alertAudioButtons();
    void settingsGeneralSectionAloneScrolls();
    void speciTablesTakeTheSpareSpace();

private:
    struct ShownForm {
        std::unique_ptr<FormTestWindow> window{new FormTestWindow};
        FormHost host{window.get()};
    };
    // A fresh form on a shown window at the design size, on the given settings page.
    std::unique_ptr<ShownForm> showSettings(int settingsPage);
    template <typename T> static T* get(QObject* window, const char* name)
    {
        return qobject_cast<T*>(findFormObject(window, QString::fromLatin1(name)));
    }

    std::unique_ptr<FormTestWindow> m_window;
    std::unique_ptr<FormHost> m_host;
};

void TestWholeForm::initTestCase()
{
    QVERIFY(registerFormFonts());
    m_window = std::make_unique<FormTestWindow>();
    m_host = std::make_unique<FormHost>(m_window.get());
}

std::unique_ptr<TestWholeForm::ShownForm> TestWholeForm::showSettings(int settingsPage)
{
    auto form = std::make_unique<ShownForm>();
    get<QStackedWidget>(form->window.get(), "stackedWidget_mainPages")->setCurrentIndex(4);
    get<QStackedWidget>(form->window.get(), "stackedWidget_Settings")
        ->setCurrentIndex(settingsPage);
    form->window->show();
    if (!QTest::qWaitForWindowExposed(form->window.get()))
        return nullptr;
    return form;
}

void TestWholeForm::objectsByClass()
{
    QMap<QString, int> counts;
    int total = 0;
    for (QObject* object : formObjects(m_window.get())) {
        QString className = QString::fromLatin1(object->metaObject()->className());
        // The two SPECI tables are promoted to the view class of their criteria tables.
        if (className == QLatin1String("SPECITableView")) {
            QVERIFY(object->inherits("QTableView"));
            className = QStringLiteral("QTableView");
        }
        ++counts[className];
        ++total;
        if (auto* layout = qobject_cast<QLayout*>(object)) {
            for (int i = 0; i < layout->count(); ++i) {
                if (layout->itemAt(i)->spacerItem()) {
                    ++counts[QStringLiteral("QSpacerItem")];
                    ++total;
                }
            }
        }
    }
    const QMap<QString, int> expected{
        {"QLabel", 526},     {"QPushButton", 140}, {"QVBoxLayout", 104}, {"QSpacerItem", 55},
        {"QGridLayout", 45}, {"QWidget", 35},      {"QGroupBox", 33},    {"QHBoxLayout", 27},
        {"QComboBox", 24},   {"QLineEdit", 20},    {"QCheckBox", 17},    {"QScrollArea", 8},
        {"QRadioButton", 7}, {"QAction", 7},       {"QTextEdit", 6},     {"QStackedWidget", 5},
        {"QFrame", 4},       {"QFormLayout", 4},   {"QTableView", 2},    {"QTabWidget", 2},
        {"QSpinBox", 2},     {"QProgressBar", 2},  {"QGraphicsView", 2}, {"QTreeView", 1},
        {"QTimeEdit", 1},    {"QStatusBar", 1},    {"QButtonGroup", 1},
    };
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(counts.value(it.key()) == it.value(),
                 qPrintable(QStringLiteral("%1: %2 objects, expected %3")
                                .arg(it.key())
                                .arg(counts.value(it.key()))
                                .arg(it.value())));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        QVERIFY2(expected.contains(it.key()), qPrintable(it.key() + QStringLiteral(" is extra")));
    QCOMPARE(total, 1081);
}

void TestWholeForm::boundSignalsAreExactlyTheTable()
{
    // Disconnecting tells whether a connection existed, so this takes a form of its own.
    FormTestWindow window;
    FormHost host(&window);
    QStringList connected;
    for (QObject* object : window.findChildren<QObject*>()) {
        const QMetaObject* meta = object->metaObject();
        for (int i = 0; i < meta->methodCount(); ++i) {
            const QMetaMethod signal = meta->method(i);
            if (signal.methodType() != QMetaMethod::Signal)
                continue;
            if (QObject::disconnect(object, signal, &window, QMetaMethod()))
                connected << object->objectName() + QLatin1Char('.') +
                                 QString::fromLatin1(signal.name());
        }
    }
    QStringList table;
    for (const FormBinding& binding : formBindings())
        table << binding.object + QLatin1Char('.') +
                     binding.signal.left(binding.signal.indexOf(QLatin1Char('(')));
    connected.sort();
    table.sort();
    QCOMPARE(connected, table);
    QCOMPARE(connected.size(), 76);
}

void TestWholeForm::retranslateTranslatesEveryNonEmptyText()
{
    FormTestWindow window;
    FormHost host(&window);
    const QMap<QString, QString> built = formTexts(&window);

    BracketingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    host.retranslate();
    QCoreApplication::removeTranslator(&translator);

    // 515 texts of the form go through the translator, in the form's context, plainly.
    QCOMPARE(translator.lookups, 515);
    QCOMPARE(translator.unusualLookups, 0);
    const QMap<QString, QString> translated = formTexts(&window);
    int nonEmpty = 0;
    for (auto it = built.cbegin(); it != built.cend(); ++it) {
        // The time edit's format is translated like any text.
        const QString expected =
            it.value().isEmpty() ? QString() : QLatin1Char('[') + it.value() + QLatin1Char(']');
        QVERIFY2(translated.value(it.key()) == expected,
                 qPrintable(
                     QStringLiteral("%1 reads \"%2\"").arg(it.key(), translated.value(it.key()))));
        nonEmpty += !it.value().isEmpty();
    }
    QCOMPARE(nonEmpty, 515);
}

void TestWholeForm::retranslateRestoresExactlyTheFormsTexts()
{
    FormTestWindow window;
    FormHost host(&window);
    const QMap<QString, QString> built = formTexts(&window);
    const QString marker = QStringLiteral("\u2022 set by the window");
    overwriteFormTexts(&window, marker);
    host.retranslate();
    const QMap<QString, QString> after = formTexts(&window);

    // Label texts 525, button texts 164, group box titles 33, tool tips 13, tab titles 7,
    // action texts 7, combo items 3, line edit text 1, display format 1, window title 1.
    int restored = 0, restoredEmpty = 0;
    for (auto it = built.cbegin(); it != built.cend(); ++it) {
        const QString now = after.value(it.key());
        if (now == it.value()) {
            ++restored;
            restoredEmpty += it.value().isEmpty();
        } else {
            // A text the form does not set stays as the window wrote it.
            const bool kept = now == marker || now == QLatin1String("hh:mm");
            QVERIFY2(kept, qPrintable(QStringLiteral("%1 reads \"%2\"").arg(it.key(), now)));
        }
    }
    QCOMPARE(restored, 755);
    QCOMPARE(restoredEmpty, 240);
}

void TestWholeForm::retranslateLeavesStatesAlone()
{
    FormTestWindow window;
    FormHost host(&window);
    const QList<QObject*> objects = formObjects(&window);

    // Move every state the window logic may move, then take it down.
    auto states = [&objects]() {
        QStringList list;
        for (QObject* object : objects) {
            const QString name = object->objectName();
            if (auto* button = qobject_cast<QAbstractButton*>(object))
                list << QStringLiteral("%1 checked %2 icon %3")
                            .arg(name)
                            .arg(button->isChecked())
                            .arg(button->icon().cacheKey());
            else if (auto* stack = qobject_cast<QStackedWidget*>(object))
                list << QStringLiteral("%1 page %2").arg(name).arg(stack->currentIndex());
            else if (auto* combo = qobject_cast<QComboBox*>(object))
                list << QStringLiteral("%1 index %2").arg(name).arg(combo->currentIndex());
            else if (auto* label = qobject_cast<QLabel*>(object))
                list << QStringLiteral("%1 picture %2")
                            .arg(name)
                            .arg(label->pixmap(Qt::ReturnByValue).cacheKey());
        }
        return list;
    };
    QPixmap received(8, 8);
    received.fill(Qt::darkCyan);
    for (QObject* object : objects) {
        if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            if (button->isCheckable())
                button->setChecked(!button->isChecked());
            button->setIcon(QIcon(received));
        } else if (auto* stack = qobject_cast<QStackedWidget*>(object)) {
            stack->setCurrentIndex(stack->count() - 1);
        } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
            combo->setCurrentIndex(combo->count() - 1);
        }
    }
    get<QLabel>(&window, "labelLogo")->setPixmap(received);
    const QStringList before = states();
    host.retranslate();
    QCOMPARE(states(), before);
}

void TestWholeForm::everyResourcePathLoads()
{
    const QString uiPath = QFINDTESTDATA("../../forms/maingui.ui");
    QFile file(uiPath);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(uiPath));
    const QString ui = QString::fromUtf8(file.readAll());
    QSet<QString> used;
    static const QRegularExpression path(QStringLiteral(":/resources/[^<\"]+"));
    for (auto it = path.globalMatch(ui); it.hasNext();)
        used.insert(it.next().captured(0));

    // Exactly the pictures the form is known to load.
    const QSet<QString> known{
        ":/resources/norvalis.ico",
        ":/resources/Vantora Logo 150x50.png",
        ":/resources/icon-dashboard.png",
        ":/resources/icon-table.png",
        ":/resources/icon-trends.png",
        ":/resources/icon-command.png",
        ":/resources/icon-rawdata.png",
        ":/resources/icon-images.png",
        ":/resources/icon-settings.png",
        ":/resources/notifications_icon.png",
        ":/resources/status_icon_grey_transparent.png",
        ":/resources/battery-none-grey.png",
        ":/resources/lightning-off-grey.png",
        ":/resources/rain-off-grey.png",
        ":/resources/camera-off-grey.png",
        ":/resources/tampering-off-grey.png",
        ":/resources/greenlight_icon.png",
        ":/resources/greenlight_icon_small.png",
        ":/resources/redlight_icon_small.png",
        ":/resources/yellowlight_icon_small.png",
        ":/resources/graylight_icon_small.png",
        ":/resources/icon_updated.png",
        ":/resources/greencheckmark.png",
        ":/resources/redcheckmark.png",
        ":/resources/open_icon.ico",
    };
    // Each of them loads and has its known size in the resources suite.
    QCOMPARE(used, known);
}

void TestWholeForm::scrollAreasAreFramelessButOne()
{
    QStringList framed;
    int areas = 0;
    for (QObject* object : formObjects(m_window.get())) {
        auto* area = qobject_cast<QScrollArea*>(object);
        if (!area)
            continue;
        ++areas;
        QVERIFY2(area->widgetResizable(), qPrintable(area->objectName()));
        QVERIFY2(area->widget(), qPrintable(area->objectName()));
        if (area->frameShape() != QFrame::NoFrame) {
            framed << area->objectName();
            QCOMPARE(area->frameShape(), QFrame::StyledPanel);
            QCOMPARE(area->frameShadow(), QFrame::Sunken);
        } else {
            QVERIFY2(area->frameShadow() == QFrame::Plain, qPrintable(area->objectName()));
        }
    }
    QCOMPARE(areas, 8);
    QCOMPARE(framed, QStringList{QStringLiteral("scrollArea_8")});
}

void TestWholeForm::styleSheets()
{
    QMap<QString, int> sheets;
    int widgets = 0;
    for (QObject* object : formObjects(m_window.get())) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget && !widget->styleSheet().isEmpty()) {
            ++sheets[widget->styleSheet()];
            ++widgets;
        }
    }
    QCOMPARE(widgets, 138);
    QCOMPARE(sheets.size(), 19);
    QCOMPARE(sheets.value("background: transparent;"), 35);
    QCOMPARE(sheets.value("padding-left: 5px; padding-right:10px;"), 34);
    QCOMPARE(sheets.value("border: 1px solid #3E4C59\n"), 24);
    QCOMPARE(sheets.value("margin-left:50%; margin-right:50%;"), 14);
    QCOMPARE(sheets.value("text-align:left"), 8);
    QCOMPARE(sheets.value("border : 0;\nbackground: transparent;"), 7);
    QCOMPARE(sheets.value("background-color: rgba(255, 255, 255, 0);\npadding:3px;"), 3);
    QCOMPARE(sheets.value("background: transparent;\npadding: 0px;"), 2);
    // The eleven others are used once each.
    QCOMPARE(int(std::count(sheets.cbegin(), sheets.cend(), 1)), 11);
}

void TestWholeForm::settingsRadioRows()
{
    FormTestWindow window;
    FormHost host(&window);
    auto* precip12Z = get<QRadioButton>(&window, "radioButton24HrPrecipAccum12Z");
    auto* precip24 = get<QRadioButton>(&window, "radioButton24HrPrecipAccum");
    auto* automatic = get<QRadioButton>(&window, "radioButtonORVAMETAR_Auto");
    auto* manual = get<QRadioButton>(&window, "radioButtonORVAMETAR_Manual");
    auto* fahrenheit = get<QRadioButton>(&window, "radioButtonUnitsImperial");
    auto* celsius = get<QRadioButton>(&window, "radioButtonUnitsMetric");
    auto* units = get<QButtonGroup>(&window, "buttonGroupUnitsDisplay");
    QVERIFY(precip12Z && precip24 && automatic && manual && fahrenheit && celsius && units);
    for (QRadioButton* radio : window.findChildren<QRadioButton*>())
        QCOMPARE(radio->parentWidget()->objectName(), QStringLiteral("groupBox_GeneralSettings"));
    QCOMPARE(units->id(fahrenheit), -2);
    QCOMPARE(units->id(celsius), -3);
    QCOMPARE(units->checkedButton(), fahrenheit);

    // As built, the five ungrouped radios are one set.
    QVERIFY(automatic->isChecked() && !precip12Z->isChecked() && !precip24->isChecked());
    precip12Z->click();
    QVERIFY(precip12Z->isChecked() && !automatic->isChecked());
    manual->click();
    QVERIFY(manual->isChecked() && !precip12Z->isChecked());
    QVERIFY(fahrenheit->isChecked());

    // Grouped as the window's layout step does it, each row is a choice of its own.
    QButtonGroup precipitation, mode;
    precipitation.addButton(precip12Z);
    precipitation.addButton(precip24);
    for (const char* name : {"radioButtonORVAMETAR_Auto", "radioButtonORVAMETAR_Semiauto",
                             "radioButtonORVAMETAR_Manual"})
        mode.addButton(get<QRadioButton>(&window, name));
    precip24->click();
    QVERIFY(precip24->isChecked() && manual->isChecked());
    automatic->click();
    QVERIFY(automatic->isChecked() && precip24->isChecked() && !manual->isChecked());
    celsius->click();
    QVERIFY(celsius->isChecked() && !fahrenheit->isChecked());
    QVERIFY(automatic->isChecked() && precip24->isChecked());
    // A click on the checked radio keeps it checked.
    celsius->click();
    QVERIFY(celsius->isChecked());
}

void TestWholeForm::settingsRadiosAnswerClicksOnTheirLabels()
{
    auto form = showSettings(0);
    QVERIFY(form);
    FormTestWindow* window = form->window.get();
    for (QRadioButton* radio : window->findChildren<QRadioButton*>()) {
        // The rows stretch some radios far beyond their label; a radio reacts only on its
        // indicator and label, so the click goes to the middle of what it draws.
        QTRY_VERIFY(radio->isVisible());
        const QPoint label(qMin(radio->width(), radio->sizeHint().width()) / 2,
                           radio->height() / 2);
        window->calls.clear();
        QTest::mouseClick(radio, Qt::LeftButton, {}, label);
        QCOMPARE(window->calls.size(), 1);
        QCOMPARE(window->calls.first().slot,
                 QStringLiteral("on_%1_clicked()").arg(radio->objectName()));
        QVERIFY(radio->isChecked());
    }
}

void TestWholeForm::settingsBoundedInputs()
{
    auto form = showSettings(0);
    QVERIFY(form);
    QWidget* window = form->window.get();

    auto* delay = get<QTimeEdit>(window, "timeEdit_ORVA_METAR_transmit_delay");
    QCOMPARE(delay->minimumTime(), QTime(0, 0));
    QCOMPARE(delay->maximumTime(), QTime(0, 5));
    QCOMPARE(delay->time(), QTime(0, 5));
    QCOMPARE(delay->text(), QStringLiteral("5:00"));
    delay->setCurrentSection(QDateTimeEdit::SecondSection);
    delay->stepBy(1);
    QCOMPARE(delay->time(), QTime(0, 5));
    delay->setTime(QTime(0, 0, 45));
    QCOMPARE(delay->text(), QStringLiteral("0:45"));
    delay->setTime(QTime(0, 7));
    QCOMPARE(delay->time(), QTime(0, 5));
    delay->setTime(QTime(0, 0));
    delay->setCurrentSection(QDateTimeEdit::SecondSection);
    delay->stepBy(-1);
    QCOMPARE(delay->time(), QTime(0, 0));
    QCOMPARE(delay->text(), QStringLiteral("0:00"));

    auto* schedule = get<QSpinBox>(window, "spinBox_ORVA_METAR_prep_schedule");
    QCOMPARE(schedule->value(), 50);
    schedule->stepBy(-1);
    QCOMPARE(schedule->value(), 50);
    schedule->setFocus();
    schedule->selectAll();
    QTest::keyClicks(schedule, QStringLiteral("70"));
    QTest::keyClick(schedule, Qt::Key_Enter);
    QVERIFY(schedule->value() >= 50 && schedule->value() <= 60);
    schedule->setValue(60);
    schedule->stepBy(3);
    QCOMPARE(schedule->value(), 60);
    QCOMPARE(schedule->toolTip(),
             QStringLiteral("<html><head/><body><p> minutes after the hour</p></body></html>"));
}

void TestWholeForm::settingsReadOnlyFields()
{
    auto form = showSettings(0);
    QVERIFY(form);
    QWidget* window = form->window.get();

    auto* keyPath = get<QLineEdit>(window, "lineEdit_encryptionPasskey");
    QTest::keyClicks(keyPath, QStringLiteral("typed"));
    QVERIFY(keyPath->text().isEmpty());
    auto* logFolder = get<QLineEdit>(window, "lineEditLogFileLocation");
    QTest::keyClicks(logFolder, QStringLiteral("/data"));
    QCOMPARE(logFolder->text(), QStringLiteral("/data"));
    QCOMPARE(get<QComboBox>(window, "comboBox_Logging")->currentText(), QStringLiteral("Default"));

    get<QStackedWidget>(window, "stackedWidget_Settings")->setCurrentIndex(2);
    auto* status = get<QTextEdit>(window, "textEdit_SPECI_status");
    QTRY_VERIFY(status->isVisible());
    status->setFocus();
    QTest::keyClicks(status, QStringLiteral("typed"));
    QVERIFY(status->toPlainText().isEmpty());
    for (const char* name :
         {"tableView_SPECISettings_Visibility", "tableView_SPECISettings_Ceiling"}) {
        auto* table = get<QTableView>(window, name);
        QVERIFY2(table && !table->model(), name);
        QCOMPARE(table->contextMenuPolicy(), Qt::DefaultContextMenu);
    }
}

void TestWholeForm::alertListGrid()
{
    auto* grid = get<QGridLayout>(m_window.get(), "gridLayout_37");
    QVERIFY(grid);
    QCOMPARE(grid->count(), 140);
    QMap<int, QStringList> rows;
    for (int i = 0; i < grid->count(); ++i) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        QWidget* widget = grid->itemAt(i)->widget();
        rows[row] << (widget ? widget->objectName().section(QLatin1Char('_'), 0, 0) +
                                   QStringLiteral("@%1").arg(column)
                             : QStringLiteral("spacer@%1").arg(column));
    }
    QVERIFY(!rows.contains(0));
    QCOMPARE(rows.value(1).size(), 3);
    QCOMPARE(rows.value(36), QStringList{QStringLiteral("spacer@2")});
    for (int row = 2; row <= 35; ++row) {
        QStringList cells = rows.value(row);
        cells.sort();
        QCOMPARE(cells, QStringList({"label@1", "label@2", "pushButton@0", "pushButton@4"}));
    }
    QCOMPARE(rows.lastKey(), 36);
}

void TestWholeForm::alertAudioButtons()
{
    FormTestWindow window;
    FormHost host(&window);
    const QImage red = resourceImage(":/resources/redlight_icon_small.png");
    const QImage green = resourceImage(":/resources/greenlight_icon_small.png");
    const QImage redCheck = resourceImage(":/resources/redcheckmark.png");
    const QImage greenCheck = resourceImage(":/resources/greencheckmark.png");

    int checkable = 0;
    for (QPushButton* button : window.findChildren<QPushButton*>(
             QRegularExpression(QStringLiteral("^pushButton_audio")))) {
        const QString name = button->objectName();
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        QVERIFY(!button->isChecked());
        button->click();
        QCOMPARE(clicked.count(), 1);
        const QIcon icon = button->icon();
        if (name == QLatin1String("pushButton_audioTempLessThan")) {
            QCOMPARE(stateImage(icon, QIcon::Off), redCheck);
            QCOMPARE(stateImage(icon, QIcon::On), greenCheck);
        } else if (name == QLatin1String("pushButton_audioTempGreaterThan")) {
            // Only an off image: checked, it still shows the red check mark.
            QCOMPARE(stateImage(icon, QIcon::On), redCheck);
        } else {
            QCOMPARE(stateImage(icon, QIcon::Off), red);
            QCOMPARE(stateImage(icon, QIcon::On), green);
        }
        if (button->isCheckable()) {
            ++checkable;
            QVERIFY2(button->isChecked(), qPrintable(name));
            button->click();
            QVERIFY(!button->isChecked());
        } else {
            QVERIFY2(!button->isChecked(), qPrintable(name));
        }
    }
    QCOMPARE(checkable, 21);
    QVERIFY(!get<QPushButton>(&window, "pushButton_audioAltimeterGreaterThan")->isCheckable());
    QVERIFY(get<QPushButton>(&window, "pushButton_audioAltimeterLessThan")->isCheckable());
}

void TestWholeForm::settingsGeneralSectionAloneScrolls()
{
    auto form = showSettings(0);
    QVERIFY(form);
    QWidget* window = form->window.get();
    auto* page = get<QWidget>(window, "page_mainSettings");
    auto* area = get<QScrollArea>(window, "scrollArea_6");
    auto* encryption = get<QWidget>(window, "groupBox_25");
    auto* logging = get<QWidget>(window, "labelHeaderOptions");
    const QPoint loggingAt = logging->mapTo(page, QPoint());

    window->resize(window->width(), window->minimumHeight());
    QTRY_COMPARE(window->height(), 600);
    QTRY_VERIFY(area->verticalScrollBar()->maximum() > 0);
    QVERIFY(area->verticalScrollBar()->isVisible());
    // The sections above keep their place and their height; only the area shrinks.
    QCOMPARE(logging->mapTo(page, QPoint()), loggingAt);
    QCOMPARE(encryption->height(), encryption->sizeHint().height());
    QVERIFY(area->geometry().top() >= encryption->mapTo(page, QPoint()).y() + encryption->height());
}

void TestWholeForm::speciTablesTakeTheSpareSpace()
{
    auto form = showSettings(2);
    QVERIFY(form);
    QWidget* window = form->window.get();
    auto* box = get<QWidget>(window, "groupBox_24");
    auto* visibility = get<QWidget>(window, "tableView_SPECISettings_Visibility");
    auto* ceiling = get<QWidget>(window, "tableView_SPECISettings_Ceiling");
    auto* status = get<QWidget>(window, "textEdit_SPECI_status");
    auto* back = get<QWidget>(window, "pushButton_returnSPECISettings");
    auto* save = get<QWidget>(window, "pushButton_saveSPECItoDevice");
    auto* defaults = get<QWidget>(window, "pushButton_setSPECIdefaults");
    QTRY_VERIFY(status->isVisible());

    auto rectIn = [box](QWidget* widget) {
        return QRect(widget->mapTo(box, QPoint()), widget->size());
    };
    const QRect narrowVisibility = rectIn(visibility), narrowCeiling = rectIn(ceiling);
    const QRect narrowStatus = rectIn(status), narrowBack = rectIn(back);

    window->resize(window->width() + 400, window->height() + 150);
    QTRY_VERIFY(rectIn(visibility).width() > narrowVisibility.width());
    QVERIFY(rectIn(ceiling).width() > narrowCeiling.width());
    QCOMPARE(rectIn(status).width(), narrowStatus.width());
    QVERIFY(rectIn(visibility).height() > narrowVisibility.height());
    QCOMPARE(rectIn(status).height(), rectIn(visibility).height());
    QCOMPARE(rectIn(back).height(), narrowBack.height());

    // The return button keeps its indent; the device buttons stay at the right edge, one above
    // the other.
    QVERIFY(rectIn(back).left() >= 80);
    QCOMPARE(rectIn(save).left(), rectIn(defaults).left());
    QVERIFY(rectIn(defaults).top() > rectIn(save).bottom());
    QVERIFY(box->width() - rectIn(save).right() < 30);
    QVERIFY(rectIn(visibility).left() < rectIn(ceiling).left());
    QVERIFY(rectIn(ceiling).right() < rectIn(status).left());
}

QTEST_MAIN(TestWholeForm)
#include "tst_wholeform.moc"
