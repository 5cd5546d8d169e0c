// The main window form as built by setupUi: every described object with its class, parent,
// cell, text and properties; nothing undescribed; the window, its actions and status bar;
// what a second retranslateUi does; and how the laid-out pages behave at the design size.

#include "tests/support/testsupport.h"

#include "formcheck.h"
#include "formhost.h"
#include "forms/formresources.h"

#include <QAction>
#include <QDockWidget>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

#include <memory>

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void objects_data();
    void objects();
    void everyNamedObjectIsDescribed();

    void windowKeepsItsOwnObjectName();
    void windowHasNoMenuToolOrDockBars();
    void actionsHaveNoPlaceShortcutOrIcon();
    void statusBarStartsEmpty();

    void keyPageColumnIsCentred();
    void menuColumnKeepsButtonsAtNaturalHeight();
    void imagesArePlacedByCameraNumber();
    void messagePanesAreReadOnly();
    void emptyLayoutsHoldNothing();

private:
    // A fresh form on a window shown at the design size, for the tests that change it.
    struct ShownForm {
        std::unique_ptr<QMainWindow> window{new QMainWindow};
        FormHost host{window.get()};
    };
    std::unique_ptr<ShownForm> showForm();
    template <typename T> T* get(QObject* window, const char* name);

    QMainWindow m_window;
    std::unique_ptr<FormHost> m_host;
};

template <typename T> T* TestMainForm::get(QObject* window, const char* name)
{
    return qobject_cast<T*>(findFormObject(window, QString::fromLatin1(name)));
}

void TestMainForm::initTestCase()
{
    QVERIFY(registerFormFonts());
    m_host.reset(new FormHost(&m_window));
}

std::unique_ptr<TestMainForm::ShownForm> TestMainForm::showForm()
{
    auto form = std::make_unique<ShownForm>();
    form->window->show();
    if (!QTest::qWaitForWindowExposed(form->window.get()))
        return nullptr;
    return form;
}

void TestMainForm::objects_data()
{
    QTest::addColumn<FormObject>("expected");
    for (const FormArea& area : formAreas()) {
        for (const FormObject& object : area.objects()) {
            const QString row = area.title + QStringLiteral(": ") + object.label();
            QTest::newRow(qPrintable(row)) << object;
        }
    }
}

void TestMainForm::objects()
{
    QFETCH(FormObject, expected);
    checkFormObject(&m_window, expected);
}

void TestMainForm::everyNamedObjectIsDescribed()
{
    QSet<QString> described;
    for (const FormArea& area : formAreas()) {
        for (const FormObject& object : area.objects()) {
            if (object.name.isEmpty())
                continue;
            QVERIFY2(!described.contains(object.name),
                     qPrintable(object.name + QStringLiteral(" is described twice")));
            described.insert(object.name);
        }
    }

    // Qt names some inner parts of its own widgets ("qt_...", "_layout", the tab bar's scroll
    // buttons); they are not the form's. Form objects live only in the viewports of scroll areas
    // and the page stacks of tab widgets among those parts.
    auto isQtPart = [](const QObject* object) {
        const QString name = object->objectName();
        return name.startsWith(QLatin1String("qt_")) || name.startsWith(QLatin1Char('_'));
    };
    auto insideQtPart = [&isQtPart, this](const QObject* object) {
        for (const QObject* up = object->parent(); up && up != &m_window; up = up->parent()) {
            if (isQtPart(up) && up->objectName() != QLatin1String("qt_scrollarea_viewport") &&
                up->objectName() != QLatin1String("qt_tabwidget_stackedwidget"))
                return true;
        }
        return false;
    };
    QStringList names;
    for (QObject* object : m_window.findChildren<QObject*>()) {
        const QString name = object->objectName();
        if (name.isEmpty() || isQtPart(object) || insideQtPart(object))
            continue;
        names << name;
        QVERIFY2(described.contains(name), qPrintable(name + QStringLiteral(" is not described")));
    }
    const QSet<QString> unique(names.cbegin(), names.cend());
    QCOMPARE(unique.size(), names.size());
}

void TestMainForm::windowKeepsItsOwnObjectName()
{
    QMainWindow named;
    named.setObjectName(QStringLiteral("operatorWindow"));
    FormHost host(&named);
    QCOMPARE(named.objectName(), QStringLiteral("operatorWindow"));
    QCOMPARE(m_window.objectName(), QStringLiteral("MainGUI"));
}

void TestMainForm::windowHasNoMenuToolOrDockBars()
{
    QVERIFY(m_window.findChildren<QMenuBar*>().isEmpty());
    QVERIFY(m_window.findChildren<QToolBar*>().isEmpty());
    QVERIFY(m_window.findChildren<QDockWidget*>().isEmpty());
}

void TestMainForm::actionsHaveNoPlaceShortcutOrIcon()
{
    const QList<QAction*> actions =
        m_window.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
    QStringList names;
    for (QAction* action : actions) {
        names << action->objectName();
        QVERIFY2(action->associatedWidgets().isEmpty(), qPrintable(action->objectName()));
        QVERIFY(action->shortcut().isEmpty());
        QVERIFY(action->icon().isNull());
        QCOMPARE(action->toolTip(), action->iconText()); // both derived from the text
    }
    QCOMPARE(names, QStringList({"actionExit", "actionAbout", "actionSerial_Connect",
                                 "actionDisconnect_2", "actionDark_Mode_Default",
                                 "actionLight_Mode", "actionSetup_Connection"}));
}

void TestMainForm::statusBarStartsEmpty()
{
    auto* bar = get<QStatusBar>(&m_window, "statusbar");
    QVERIFY(bar);
    QCOMPARE(m_window.statusBar(), bar);
    QVERIFY(bar->currentMessage().isEmpty());
    for (QWidget* child : bar->findChildren<QWidget*>())
        QVERIFY2(child->objectName().isEmpty() ||
                     child->objectName().startsWith(QLatin1String("qt_")),
                 qPrintable(child->objectName()));
}

void TestMainForm::keyPageColumnIsCentred()
{
    auto form = showForm();
    QVERIFY(form);
    QWidget* window = form->window.get();
    QCOMPARE(window->size(), QSize(1656, 877));
    auto* outer = get<QStackedWidget>(window, "stackedWidget_MainLayout");
    outer->setCurrentIndex(0);
    QWidget* page = get<QWidget>(window, "page_encryptionStart");
    QTRY_VERIFY(page->isVisible());

    auto* top = get<QWidget>(window, "label_encryptionKeyEnter");
    auto* bottom = get<QWidget>(window, "label_encryptionKeyProgramMessage");
    auto* setKey = get<QWidget>(window, "pushButton_enterEncryptionKeyProgram");
    const QRect topRect(top->mapTo(page, QPoint()), top->size());
    const QRect bottomRect(bottom->mapTo(page, QPoint()), bottom->size());
    const QRect buttonRect(setKey->mapTo(page, QPoint()), setKey->size());

    // Equal spacers above and below, left and right.
    QVERIFY2(qAbs(topRect.top() - (page->height() - bottomRect.bottom())) <= 2,
             qPrintable(QStringLiteral("%1 above, %2 below")
                            .arg(topRect.top())
                            .arg(page->height() - bottomRect.bottom())));
    QVERIFY2(
        qAbs(buttonRect.center().x() - page->width() / 2) <= 2,
        qPrintable(
            QStringLiteral("centre %1 of %2").arg(buttonRect.center().x()).arg(page->width())));
    // Top to bottom in row order.
    QStringList order{"label_encryptionKeyEnter",
                      "pushButton_forceSelectKeyFile",
                      "lineEdit_enterEncryptionKey",
                      "pushButton_enterEncryptionKeyProgram",
                      "pushButton_forgotCurrentEncryptionKey",
                      "label_loadingEncryptionKey",
                      "label_encryptionKeyProgramMessage"};
    int lastTop = -1;
    for (const QString& name : order) {
        auto* widget = qobject_cast<QWidget*>(findFormObject(window, name));
        const int y = widget->mapTo(page, QPoint()).y();
        QVERIFY2(y > lastTop, qPrintable(name));
        lastTop = y;
    }
    // The key is typed in clear.
    QCOMPARE(get<QLineEdit>(window, "lineEdit_enterEncryptionKey")->echoMode(), QLineEdit::Normal);
}

void TestMainForm::menuColumnKeepsButtonsAtNaturalHeight()
{
    auto form = showForm();
    QVERIFY(form);
    QWidget* window = form->window.get();
    auto* menu = get<QWidget>(window, "frameMenu");
    QCOMPARE(menu->width(), menu->sizeHint().width()); // fixed to its widest item
    QVERIFY(menu->width() >= 150 + 36 + 36);           // the logo with its margins
    QCOMPARE(menu->height(), form->window->centralWidget()->height());

    int lastBottom = -1;
    for (const char* name :
         {"pushButtonDashboard", "pushButtonTable", "pushButtonTrends", "pushButtonCommand",
          "pushButtonRawData", "pushButtonImages", "pushButtonBitStatus", "pushButtonNotifications",
          "pushButtonSettings"}) {
        auto* button = get<QPushButton>(window, name);
        QCOMPARE(button->height(), button->sizeHint().height());
        QVERIFY2(button->y() >= lastBottom, name);
        lastBottom = button->geometry().bottom();
    }
    auto* live = get<QPushButton>(window, "pushButton_show_live_data");
    QVERIFY(live->height() >= 100);
    QVERIFY(live->y() > lastBottom);
    // The bottom spacer takes the spare height.
    QVERIFY(menu->height() - live->geometry().bottom() > 100);
}

void TestMainForm::imagesArePlacedByCameraNumber()
{
    auto form = showForm();
    QVERIFY(form);
    QWidget* window = form->window.get();
    get<QStackedWidget>(window, "stackedWidget_mainPages")->setCurrentIndex(3);
    auto* group = get<QWidget>(window, "groupBox_Images");
    QTRY_VERIFY(group->isVisible());

    QRect picture[5], caption[5];
    for (int camera = 1; camera <= 4; ++camera) {
        auto* image = qobject_cast<QWidget*>(
            findFormObject(window, QStringLiteral("label_image%1").arg(camera)));
        auto* info = qobject_cast<QWidget*>(
            findFormObject(window, QStringLiteral("label_camera%1_info").arg(camera)));
        picture[camera] = QRect(image->mapTo(group, QPoint()), image->size());
        caption[camera] = QRect(info->mapTo(group, QPoint()), info->size());
        QVERIFY(image->width() >= 320 && image->height() >= 240);
        // The caption sits under its picture, centred on it.
        QVERIFY(caption[camera].top() > picture[camera].bottom());
        // A camera cell takes its spacing from the grid (36 pixels).
        QCOMPARE(caption[camera].top() - (picture[camera].bottom() + 1), 36);
        QVERIFY(qAbs(caption[camera].center().x() - picture[camera].center().x()) <= 1);
    }
    QCOMPARE(picture[1].top(), picture[2].top());
    QCOMPARE(picture[3].top(), picture[4].top());
    QVERIFY(picture[1].left() < picture[2].left());
    QVERIFY(picture[3].left() < picture[4].left());
    QVERIFY(picture[3].top() > caption[1].bottom());
    QCOMPARE(picture[1].left(), picture[3].left());
    // Spare height goes to the pictures, in equal parts to both rows.
    QCOMPARE(picture[1].height(), picture[3].height());
}

void TestMainForm::messagePanesAreReadOnly()
{
    auto form = showForm();
    QVERIFY(form);
    QWidget* window = form->window.get();
    auto* pages = get<QStackedWidget>(window, "stackedWidget_mainPages");
    auto* tabs = get<QTabWidget>(window, "tabWidget_Notifications");
    const struct {
        const char* pane;
        int page;
        int tab;
    } panes[] = {{"textEdit_ActiveAlerts", 6, 0},
                 {"textEdit_ErrorMsgs", 6, 1},
                 {"textEdit_SysMsgs", 6, 2},
                 {"textEditRawData", 8, -1}};
    for (const auto& pane : panes) {
        pages->setCurrentIndex(pane.page);
        if (pane.tab >= 0)
            tabs->setCurrentIndex(pane.tab);
        auto* edit = get<QTextEdit>(window, pane.pane);
        QTRY_VERIFY(edit->isVisible());
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("typed"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY2(edit->toPlainText().isEmpty(), pane.pane);
        // What the window inserts can still be selected and copied.
        QVERIFY(edit->textInteractionFlags() & Qt::TextSelectableByMouse);
    }
    // The send line below the raw view takes typing.
    auto* line = get<QLineEdit>(window, "lineEdit_rawSendMsg");
    QTest::keyClicks(line, QStringLiteral("stack"));
    QCOMPARE(line->text(), QStringLiteral("stack"));
}

void TestMainForm::emptyLayoutsHoldNothing()
{
    for (const char* name :
         {"verticalLayoutTrendsUpperLeftPlotArea", "verticalLayoutTrendsUpperRightPlotArea",
          "verticalLayoutTrendsLowerLeftPlotArea", "verticalLayoutTrendsLowerRightPlotArea",
          "horizontalLayout_16", "horizontalLayout_19"}) {
        auto* layout = get<QLayout>(&m_window, name);
        QVERIFY2(layout, name);
        QCOMPARE(layout->count(), 0);
    }
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
