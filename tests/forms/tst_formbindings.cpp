// The slots the form binds by name: each widget that exists so far fires exactly its own slot,
// on a real click, key press or tab change; setupUi itself fires none; and the slots left
// unbound are exactly those whose widgets are still to come.

#include "tests/support/testsupport.h"

#include "formbindings.h"
#include "formcheck.h"
#include "formhost.h"
#include "forms/formresources.h"
#include "formtestwindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QMetaMethod>
#include <QRegularExpression>
#include <QSet>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace
{

QStringList g_unboundWarnings;
QtMessageHandler g_previousHandler = nullptr;

// Keeps connectSlotsByName's notes about slots without a widget, to compare them with the table.
void collectUnbound(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static const QRegularExpression unbound(
        QStringLiteral("^QMetaObject::connectSlotsByName: No matching signal for (.+)$"));
    const auto match = unbound.match(message);
    if (type == QtWarningMsg && match.hasMatch()) {
        g_unboundWarnings << match.captured(1);
        return;
    }
    g_previousHandler(type, context, message);
}

QString signalName(const QString& signature)
{
    return signature.left(signature.indexOf(QLatin1Char('(')));
}

// Makes a widget visible by switching every stack and tab widget above it to its page.
void reveal(QWidget* widget)
{
    for (QWidget *child = widget, *parent = widget->parentWidget(); parent;
         child = parent, parent = parent->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(parent->parentWidget());
            tabs && tabs->indexOf(child) >= 0)
            tabs->setCurrentWidget(child);
        else if (auto* stack = qobject_cast<QStackedWidget*>(parent))
            stack->setCurrentWidget(child);
    }
}

} // namespace

class TestFormBindings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void setupRunsNoSlot();
    void windowDeclaresExactlyTheBoundSlots();
    void unboundSlotsAreThoseWhoseWidgetsAreMissing();

    void binding_data();
    void binding();

    void menuButtonIsCheckedBeforeItsSlotRuns();

private:
    std::unique_ptr<FormTestWindow> m_window;
    std::unique_ptr<FormHost> m_host;
};

void TestFormBindings::initTestCase()
{
    QVERIFY(registerFormFonts());
    m_window = std::make_unique<FormTestWindow>();
    g_previousHandler = qInstallMessageHandler(collectUnbound);
    m_host = std::make_unique<FormHost>(m_window.get());
    qInstallMessageHandler(g_previousHandler);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestFormBindings::setupRunsNoSlot()
{
    // The initial indices (tab 2 of the notifications) are set before the binding.
    QCOMPARE(m_window->calls.size(), 0);
}

void TestFormBindings::windowDeclaresExactlyTheBoundSlots()
{
    QStringList declared;
    const QMetaObject* meta = m_window->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QByteArray signature = method.methodSignature();
        if (method.methodType() == QMetaMethod::Slot && signature.startsWith("on_"))
            declared << QString::fromLatin1(signature);
    }
    QStringList table;
    for (const FormBinding& binding : formBindings())
        table << QString::fromLatin1(QMetaObject::normalizedSignature(binding.slot.toLatin1()));
    QCOMPARE(declared, table);
    QCOMPARE(table.size(), 76);
}

void TestFormBindings::unboundSlotsAreThoseWhoseWidgetsAreMissing()
{
    QStringList missing;
    for (const FormBinding& binding : formBindings())
        if (!findFormObject(m_window.get(), binding.object))
            missing << binding.slot;
    QCOMPARE(g_unboundWarnings, missing);
}

void TestFormBindings::binding_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("page");
    for (const FormBinding& b : formBindings())
        QTest::newRow(qPrintable(b.slot))
            << b.object << b.className << b.signal << b.slot << b.page;
}

void TestFormBindings::binding()
{
    QFETCH(QString, object);
    QFETCH(QString, className);
    QFETCH(QString, signal);
    QFETCH(QString, slot);
    QFETCH(QString, page);

    auto* widget = qobject_cast<QWidget*>(findFormObject(m_window.get(), object));
    if (!widget) {
        // Only a page that is still an empty placeholder (or still missing) may lack it.
        auto* holder = qobject_cast<QWidget*>(findFormObject(m_window.get(), page));
        QVERIFY2(!holder || !holder->layout(),
                 qPrintable(QStringLiteral("%1 is laid out but has no %2").arg(page, object)));
        QSKIP("its page is not laid out yet");
    }
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);

    reveal(widget);
    QTRY_VERIFY(widget->isVisible());
    m_window->calls.clear();

    QVariantList expectedArgs;
    bool once = true;
    if (signal == QLatin1String("clicked()")) {
        // A check box or radio button reacts only on its indicator and label, and a row may
        // stretch it far beyond them: click the middle of what it draws.
        const QPoint drawn(qMin(widget->width(), widget->sizeHint().width()) / 2,
                           widget->height() / 2);
        QTest::mouseClick(widget, Qt::LeftButton, {}, drawn);
    } else if (signal == QLatin1String("currentIndexChanged(int)")) {
        auto* combo = qobject_cast<QComboBox*>(widget);
        QVERIFY(combo);
        if (combo->count() < 2)
            combo->addItems({QStringLiteral("first"), QStringLiteral("second")});
        combo->setCurrentIndex(0);
        m_window->calls.clear();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        expectedArgs = {1};
    } else if (signal == QLatin1String("currentChanged(int)")) {
        auto* tabs = qobject_cast<QTabWidget*>(widget);
        QVERIFY(tabs);
        const int target = tabs->currentIndex() == 0 ? 1 : 0;
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(target).center());
        QCOMPARE(tabs->currentIndex(), target);
        expectedArgs = {target};
    } else if (signal.startsWith(QLatin1String("cursorPositionChanged"))) {
        widget->setFocus();
        QTest::keyClicks(widget, QStringLiteral("7"));
        once = false; // typing may move the cursor more than once
    } else {
        QFAIL(qPrintable(QStringLiteral("no way to trigger %1").arg(signal)));
    }

    QVERIFY2(!m_window->calls.isEmpty(), "the slot did not run");
    if (once)
        QCOMPARE(m_window->calls.size(), 1);
    for (const FormTestWindow::Call& call : qAsConst(m_window->calls)) {
        QCOMPARE(call.slot, slot);
        QCOMPARE(call.senderName, object);
        QCOMPARE(signalName(call.senderSignal), signalName(signal));
    }
    if (!expectedArgs.isEmpty())
        QCOMPARE(m_window->calls.first().args, expectedArgs);
}

void TestFormBindings::menuButtonIsCheckedBeforeItsSlotRuns()
{
    auto* button = qobject_cast<QAbstractButton*>(
        findFormObject(m_window.get(), QStringLiteral("pushButtonTrends")));
    QVERIFY(button);
    button->setChecked(false);
    m_window->calls.clear();
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_window->calls.size(), 2);
    // The button toggles itself; making the menu exclusive is left to the slot.
    QCOMPARE(m_window->calls[0].senderChecked, QVariant(true));
    QCOMPARE(m_window->calls[1].senderChecked, QVariant(false));
}

QTEST_MAIN(TestFormBindings)
#include "tst_formbindings.moc"
