// The main window as operators get it (its own style sheets, the bundled fonts) at the design
// size 1656 x 877, laid out for an ORVA and for a BRQ unit: every slot the forms bind by name is
// bound, and on every page, tab and dialog no text is cut or clipped, no two widgets overlap,
// headers show, what must stand out from its background does, and no page moves as texts change.

#include "tests/support/testsupport.h"

#include "app/dialogabout.h"
#include "app/dialogencryptionkey.h"
#include "app/dialogimageschedule.h"
#include "app/dialogselectdevice.h"
#include "app/maingui.h"
#include "forms/formresources.h"
#include "forms/maingui_ui.h"
#include "reports/metarform.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMetaMethod>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QStyleOptionSpinBox>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <memory>

namespace
{

QStringList g_unbound;
QtMessageHandler g_previousHandler = nullptr;

void collectUnbound(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static const QRegularExpression unbound(
        QStringLiteral("^QMetaObject::connectSlotsByName: No matching signal for (on_\\w+)\\("));
    const auto match = unbound.match(message);
    if (type == QtWarningMsg && match.hasMatch())
        g_unbound << match.captured(1);
    else
        g_previousHandler(type, context, message);
}

// Switches every page stack and tab widget above the widget to the page that holds it.
void reveal(QWidget* widget)
{
    for (QWidget* child = widget; child->parentWidget(); child = child->parentWidget()) {
        if (auto* stack = qobject_cast<QStackedWidget*>(child->parentWidget())) {
            stack->setCurrentWidget(child);
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                tabs->setCurrentWidget(child);
        }
    }
}

QString nameOf(const QWidget* widget)
{
    return widget->objectName().isEmpty()
               ? QString::fromLatin1(widget->metaObject()->className()) + QStringLiteral(" in ") +
                     nameOf(widget->parentWidget())
               : widget->objectName();
}

// How far in lightness (0 to 1) the part of a picture most unlike its commonest colour stands
// out from it.
double standsOut(const QImage& image)
{
    QHash<int, int> counts; // by lightness
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[qGray(image.pixel(x, y))];
    const int background = std::max_element(counts.cbegin(), counts.cend()).key();
    int far = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        far = qMax(far, qAbs(it.key() - background));
    return far / 255.0;
}

// What is wrong with the visible part of a page as laid out.
QStringList layoutFaults(QWidget* page)
{
    QStringList faults;
    QList<QWidget*> widgets = page->findChildren<QWidget*>();
    widgets.prepend(page);
    for (QWidget* widget : qAsConst(widgets)) {
        if (!widget->isVisible() || (widget->isWindow() && widget != page->window()))
            continue;
        const QString name = nameOf(widget);

        QString text;
        auto* label = qobject_cast<QLabel*>(widget);
        if (label)
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        if (!text.trimmed().isEmpty()) {
            // A button may give up some of its padding in height, not its line of text.
            QSize need = widget->sizeHint();
            if (label && label->wordWrap())
                need = QSize(0, label->heightForWidth(widget->width()));
            else if (!label)
                need.setHeight(widget->fontMetrics().height());
            if (widget->width() < need.width() || widget->height() < need.height())
                faults << QStringLiteral("%1 is %2 x %3, its text needs %4 x %5")
                              .arg(name)
                              .arg(widget->width())
                              .arg(widget->height())
                              .arg(need.width())
                              .arg(need.height());
            // Only a scroll area may hide part of a text; any other parent cuts it off.
            QRect shown = widget->rect();
            for (QWidget* up = widget; !up->isWindow(); up = up->parentWidget()) {
                shown.translate(up->pos());
                QWidget* parent = up->parentWidget();
                // The General command tab has no layout: the form places its group box at a
                // fixed 1391 x 1101, wider than the tab at the design size, and lets the tab
                // cut off the right edge of the status column and of the buttons below.
                if (parent->objectName() == QLatin1String("qt_scrollarea_viewport") ||
                    parent->objectName() == QLatin1String("tab_orva_commands_general"))
                    break;
                if (!parent->rect().contains(shown)) {
                    faults << QStringLiteral("%1 is cut off by %2").arg(name, nameOf(parent));
                    break;
                }
            }
        }

        QList<QWidget*> children;
        for (QObject* object : widget->children())
            if (auto* child = qobject_cast<QWidget*>(object);
                child && child->isVisible() && !child->isWindow())
                children << child;
        for (int i = 0; i < children.size(); ++i)
            for (int j = i + 1; j < children.size(); ++j)
                if (children[i]->geometry().intersects(children[j]->geometry()))
                    faults << QStringLiteral("%1 overlaps %2")
                                  .arg(nameOf(children[i]), nameOf(children[j]));

        if (auto* header = qobject_cast<QHeaderView*>(widget);
            header && header->orientation() == Qt::Horizontal && header->count() > 0) {
            if (header->viewport()->height() < header->fontMetrics().height())
                faults << QStringLiteral("%1 has no room for its texts").arg(name);
            else if (standsOut(
                         header->viewport()
                             ->grab(QRect(header->sectionViewportPosition(0), 0,
                                          header->sectionSize(0), header->viewport()->height())
                                        .adjusted(3, 3, -3, -3))
                             .toImage()) < 0.4)
                faults << QStringLiteral("%1 texts do not stand out").arg(name);
        }

        // An unchecked box or radio must show where to click.
        auto* check = qobject_cast<QCheckBox*>(widget);
        auto* radio = qobject_cast<QRadioButton*>(widget);
        if ((check || radio) && !static_cast<QAbstractButton*>(widget)->isChecked()) {
            QStyleOptionButton option;
            option.initFrom(widget);
            const QRect indicator = widget->style()->subElementRect(
                check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option,
                widget);
            if (standsOut(widget->grab(indicator).toImage()) < 0.3)
                faults << QStringLiteral("%1 indicator does not stand out").arg(name);
        }

        // So must an unchecked check box in a table cell.
        if (auto* table = qobject_cast<QTableView*>(widget); table && table->model()) {
            for (int column = 0; column < table->model()->columnCount(); ++column) {
                const QModelIndex cell = table->model()->index(0, column);
                if (!(cell.flags() & Qt::ItemIsUserCheckable) ||
                    cell.data(Qt::CheckStateRole).toInt() != Qt::Unchecked)
                    continue;
                QStyleOptionViewItem option;
                option.initFrom(table->viewport());
                option.rect = table->visualRect(cell);
                option.features = QStyleOptionViewItem::HasCheckIndicator;
                const QRect box = table->style()->subElementRect(
                    QStyle::SE_ItemViewItemCheckIndicator, &option, table);
                if (standsOut(table->viewport()->grab(box).toImage()) < 0.3)
                    faults << QStringLiteral("%1 cell check box does not stand out").arg(name);
            }
        }

        // So must the arrows of a spin box's step buttons.
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget);
            spin && spin->buttonSymbols() != QAbstractSpinBox::NoButtons) {
            QStyleOptionSpinBox option;
            option.initFrom(spin);
            option.subControls = QStyle::SC_All;
            option.buttonSymbols = spin->buttonSymbols();
            option.frame = spin->hasFrame();
            option.stepEnabled =
                QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
            for (const auto step : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown}) {
                const QRect button =
                    spin->style()->subControlRect(QStyle::CC_SpinBox, &option, step, spin);
                if (button.isEmpty() || standsOut(spin->grab(button).toImage()) < 0.3)
                    faults << QStringLiteral("%1 %2 arrow does not stand out")
                                  .arg(name, step == QStyle::SC_SpinBoxUp ? "up" : "down");
            }
        }

        // And those of a scroll bar's buttons at both ends, inside any bevel of the button, which
        // stands out whatever the colour of its arrow.
        if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
            QStyleOptionSlider option;
            option.initFrom(bar);
            option.subControls = QStyle::SC_All;
            option.orientation = bar->orientation();
            if (bar->orientation() == Qt::Horizontal)
                option.state |= QStyle::State_Horizontal;
            option.minimum = bar->minimum();
            option.maximum = bar->maximum();
            option.sliderPosition = bar->sliderPosition();
            option.sliderValue = bar->value();
            option.singleStep = bar->singleStep();
            option.pageStep = bar->pageStep();
            option.upsideDown = bar->invertedAppearance();
            for (const auto line : {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine}) {
                const QRect button =
                    bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, line, bar);
                if (qMin(button.width(), button.height()) < 10 ||
                    standsOut(bar->grab(button.adjusted(3, 3, -3, -3)).toImage()) < 0.3)
                    faults << QStringLiteral("%1 %2 arrow does not stand out")
                                  .arg(name,
                                       line == QStyle::SC_ScrollBarSubLine ? "first" : "last");
            }
        }
    }
    return faults;
}

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(registerFormFonts());
        g_previousHandler = qInstallMessageHandler(collectUnbound);
        window = std::make_unique<MainGUI>();
        brqWindow = std::make_unique<MainGUI>();
        schedule = std::make_unique<dialogImageSchedule>(nullptr);
        qInstallMessageHandler(g_previousHandler);
        // No page shows a horizontal scroll bar at the design size: this view shows both.
        scroller = std::make_unique<QScrollArea>();
        scroller->setObjectName(QStringLiteral("scrollerBothWays"));
        scroller->setWidget(new QWidget);
        scroller->widget()->setMinimumSize(800, 800);
        scroller->resize(200, 200);
        for (auto [shown, device] : {std::pair(window.get(), DeviceTypes::ORVA),
                                     std::pair(brqWindow.get(), DeviceTypes::BRQ)}) {
            shown->deviceType = device;
            shown->updateLayout();
            // The test screen is smaller than the window, which then starts maximised on it.
            shown->setWindowState(Qt::WindowNoState);
            shown->resize(1656, 877);
            QVERIFY(QTest::qWaitForWindowExposed(shown));
            QCOMPARE(shown->size(), QSize(1656, 877));
        }
        brqWindow->hide();
        // The settings and SPECI pages are laid out as the operator first opens them.
        window->on_pushButtonSettings_clicked();
        QCoreApplication::processEvents();
        window->on_pushButton_editSpeciSettings_clicked();
        QCoreApplication::processEvents();
        window->on_pushButton_returnSPECISettings_clicked();
        window->on_pushButtonDashboard_clicked();
    }
    void cleanupTestCase()
    {
        scroller.reset();
        schedule.reset();
        brqWindow.reset();
        window.reset();
    }

    // A slot named after a signal of the form's widgets that found no such widget is a binding
    // lost silently: its button or list does nothing. Slots connected by hand name no signal.
    void formBoundSlotsAreBound()
    {
        QSet<QByteArray> widgetSignals;
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            const QMetaObject* meta = widget->metaObject();
            for (int i = 0; i < meta->methodCount(); ++i)
                if (meta->method(i).methodType() == QMetaMethod::Signal)
                    widgetSignals.insert(meta->method(i).name());
        }
        for (const QString& slot : qAsConst(g_unbound))
            QVERIFY2(!widgetSignals.contains(slot.section(QLatin1Char('_'), -1).toLatin1()),
                     qPrintable(slot + QStringLiteral(" is bound to no widget")));
    }

    void layout_data()
    {
        QTest::addColumn<QObject*>("page");
        QTest::addColumn<QString>("state");
        const QList<QWidget*> tops = {
            window.get(),        window->selectDeviceDialog, window->encryptionKeyDialog,
            window->aboutDialog, window->metarForm,          schedule.get(),
            brqWindow.get()};
        for (QWidget* top : tops) {
            QList<QWidget*> pages;
            for (auto* stack : top->findChildren<QStackedWidget*>()) {
                if (stack->window() != top || qobject_cast<QTabWidget*>(stack->parentWidget()))
                    continue;
                for (int i = 0; i < stack->count(); ++i)
                    pages << stack->widget(i);
            }
            for (auto* tabs : top->findChildren<QTabWidget*>())
                for (int i = 0; i < tabs->count(); ++i)
                    pages << tabs->widget(i);
            if (pages.isEmpty())
                pages << top;
            const char* family = top == brqWindow.get() ? "BRQ " : "";
            // Only an ORVA unit's settings lead to the SPECI page, which styles its tables then.
            if (top == brqWindow.get())
                pages.removeOne(brqWindow->ui->page_speciSettings);
            for (QWidget* page : qAsConst(pages))
                QTest::addRow("%s%s %s", family, qPrintable(top->objectName()),
                              qPrintable(nameOf(page)))
                    << static_cast<QObject*>(page) << QString();
        }
        QTest::newRow("scroll bars both ways")
            << static_cast<QObject*>(scroller.get()) << QString();
        // Texts the operator changes: the runway button after "Hide".
        QWidget* dashboard = window->ui->pushButton_HideRunway;
        while (dashboard->parentWidget() != window->ui->stackedWidget_mainPages)
            dashboard = dashboard->parentWidget();
        QTest::newRow("runway hidden") << static_cast<QObject*>(dashboard) << "runway hidden";
    }
    void layout()
    {
        QFETCH(QObject*, page);
        QFETCH(QString, state);
        auto* shown = static_cast<QWidget*>(page);
        QWidget* top = shown->window();
        if (top != window.get() && !top->isVisible()) {
            for (QWidget* other : QApplication::topLevelWidgets())
                if (other != window.get())
                    other->hide();
            top->show();
            QVERIFY(QTest::qWaitForWindowExposed(top));
        }
        reveal(shown);
        if (state == QLatin1String("runway hidden")) {
            window->on_pushButton_HideRunway_clicked();
            QCOMPARE(window->ui->pushButton_HideRunway->text(), QStringLiteral("Show"));
        }
        QCoreApplication::processEvents();
        const QStringList faults = layoutFaults(shown);
        if (state == QLatin1String("runway hidden"))
            window->on_pushButton_HideRunway_clicked();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The menu column keeps its width when the unread count joins the Notifications button, so
    // no page moves under the operator's pointer and the button keeps its whole text: at the
    // first count after the first layout (hence a window of its own) and as the count grows.
    void pagesStayPutWhenCountShows()
    {
        g_previousHandler = qInstallMessageHandler(collectUnbound);
        MainGUI fresh;
        qInstallMessageHandler(g_previousHandler);
        fresh.deviceType = DeviceTypes::ORVA;
        fresh.updateLayout();
        fresh.setWindowState(Qt::WindowNoState);
        fresh.resize(1656, 877);
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QWidget* pages = fresh.ui->stackedWidget_mainPages;
        reveal(pages);
        QCoreApplication::processEvents();
        const QRect first(pages->mapTo(&fresh, QPoint()), pages->size());
        for (const char* count : {"7  ", "42 ", "999", "0"}) {
            fresh.setNotificationNumber(QString::fromLatin1(count));
            QCoreApplication::processEvents();
            QCOMPARE(QRect(pages->mapTo(&fresh, QPoint()), pages->size()), first);
            const QStringList faults = layoutFaults(fresh.ui->frameMenu);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        }
    }

private:
    std::unique_ptr<MainGUI> window;
    std::unique_ptr<MainGUI> brqWindow;
    std::unique_ptr<dialogImageSchedule> schedule;
    std::unique_ptr<QScrollArea> scroller;
};

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
