#include "formcheck.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCursor>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaProperty>
#include <QPixmap>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpacerItem>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTest>

#define RETURN_IF_FAILED()                                                                         \
    do {                                                                                           \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

namespace
{

QString describe(const FormObject& e)
{
    return e.name.isEmpty() ? QStringLiteral("spacer at %1 %2").arg(e.container, e.cell) : e.name;
}

QSize parseSize(const QString& text) // "320 x 240"
{
    const QStringList parts = text.split(QLatin1Char('x'));
    return parts.size() == 2 ? QSize(parts[0].trimmed().toInt(), parts[1].trimmed().toInt())
                             : QSize();
}

QList<int> parseInts(const QString& text) // "0, 0, 1"
{
    QList<int> values;
    for (const QString& part : text.split(QLatin1Char(',')))
        values << part.trimmed().toInt();
    return values;
}

QSizePolicy::Policy parsePolicy(const QString& name)
{
    static const QHash<QString, QSizePolicy::Policy> policies{
        {"Fixed", QSizePolicy::Fixed},
        {"Minimum", QSizePolicy::Minimum},
        {"Maximum", QSizePolicy::Maximum},
        {"Preferred", QSizePolicy::Preferred},
        {"MinimumExpanding", QSizePolicy::MinimumExpanding},
        {"Expanding", QSizePolicy::Expanding},
        {"Ignored", QSizePolicy::Ignored},
    };
    return policies.value(name.trimmed(), QSizePolicy::Policy(-1));
}

QString policyName(QSizePolicy::Policy policy)
{
    static const QHash<int, QString> names{
        {QSizePolicy::Fixed, "Fixed"},
        {QSizePolicy::Minimum, "Minimum"},
        {QSizePolicy::Maximum, "Maximum"},
        {QSizePolicy::Preferred, "Preferred"},
        {QSizePolicy::MinimumExpanding, "MinimumExpanding"},
        {QSizePolicy::Expanding, "Expanding"},
        {QSizePolicy::Ignored, "Ignored"},
    };
    return names.value(policy, QStringLiteral("?"));
}

// "Fixed/MinimumExpanding" or "Preferred/Preferred, stretch 1/0"
QString policyText(const QSizePolicy& p)
{
    QString text =
        policyName(p.horizontalPolicy()) + QLatin1Char('/') + policyName(p.verticalPolicy());
    if (p.horizontalStretch() || p.verticalStretch())
        text +=
            QStringLiteral(", stretch %1/%2").arg(p.horizontalStretch()).arg(p.verticalStretch());
    return text;
}

// Qt's rules for a margin or spacing left unset (-1): a layout set on a widget asks the style,
// a nested layout has no margin and takes its spacing from the outer layout.
int defaultMargin(const QLayout* layout, QStyle::PixelMetric metric)
{
    auto* owner = qobject_cast<QWidget*>(layout->parent());
    return owner ? owner->style()->pixelMetric(metric, nullptr, owner) : 0;
}

int defaultSpacing(const QLayout* layout, QStyle::PixelMetric metric)
{
    QObject* parent = layout->parent();
    if (!parent)
        return -1;
    if (parent->isWidgetType()) {
        auto* owner = static_cast<QWidget*>(parent);
        return owner->style()->pixelMetric(metric, nullptr, owner);
    }
    return static_cast<QLayout*>(parent)->spacing();
}

bool isVerticalBox(const QLayout* layout)
{
    auto* box = qobject_cast<const QBoxLayout*>(layout);
    return box && (box->direction() == QBoxLayout::TopToBottom ||
                   box->direction() == QBoxLayout::BottomToTop);
}

QStringList splitList(const QString& text) // "0, default, 24, 0"
{
    QStringList parts;
    for (const QString& part : text.split(QLatin1Char(',')))
        parts << part.trimmed();
    return parts;
}

void checkMargins(QLayout* layout, const QString& wanted)
{
    const QStringList want = splitList(wanted);
    QCOMPARE(want.size(), 4);
    const QMargins m = layout->contentsMargins();
    const int actual[4] = {m.left(), m.top(), m.right(), m.bottom()};
    const QStyle::PixelMetric metrics[4] = {QStyle::PM_LayoutLeftMargin, QStyle::PM_LayoutTopMargin,
                                            QStyle::PM_LayoutRightMargin,
                                            QStyle::PM_LayoutBottomMargin};
    for (int i = 0; i < 4; ++i) {
        const int expected = want[i] == QLatin1String("default") ? defaultMargin(layout, metrics[i])
                                                                 : want[i].toInt();
        QVERIFY2(actual[i] == expected,
                 qPrintable(QStringLiteral("%1 margin %2 is %3, expected %4 (%5)")
                                .arg(layout->objectName())
                                .arg(i)
                                .arg(actual[i])
                                .arg(expected)
                                .arg(wanted)));
    }
}

void checkSpacing(QLayout* layout, const QString& key, const QString& wanted)
{
    int actual = 0;
    QStyle::PixelMetric metric = QStyle::PM_LayoutHorizontalSpacing;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        if (key == QLatin1String("verticalSpacing")) {
            actual = grid->verticalSpacing();
            metric = QStyle::PM_LayoutVerticalSpacing;
        } else {
            actual = grid->horizontalSpacing();
        }
    } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        if (key == QLatin1String("verticalSpacing")) {
            actual = form->verticalSpacing();
            metric = QStyle::PM_LayoutVerticalSpacing;
        } else {
            actual = form->horizontalSpacing();
        }
    } else {
        actual = layout->spacing();
        if (isVerticalBox(layout))
            metric = QStyle::PM_LayoutVerticalSpacing;
    }
    const int expected =
        wanted == QLatin1String("default") ? defaultSpacing(layout, metric) : wanted.toInt();
    QVERIFY2(actual == expected, qPrintable(QStringLiteral("%1 %2 is %3, expected %4 (%5)")
                                                .arg(layout->objectName(), key)
                                                .arg(actual)
                                                .arg(expected)
                                                .arg(wanted)));
}

// "Muli, 10, bold", "Muli, 10, regular", "Muli, regular", "Muli, 10, bold, italic off"
void checkFont(QWidget* widget, const QString& wanted)
{
    QVERIFY2(widget->testAttribute(Qt::WA_SetFont), "the widget has no font of its own");
    const QStringList parts = splitList(wanted);
    const QFont font = widget->font();
    QCOMPARE(font.family(), parts.value(0));
    bool sizeGiven = false;
    for (const QString& part : parts.mid(1)) {
        bool isNumber = false;
        const int size = part.toInt(&isNumber);
        if (isNumber) {
            sizeGiven = true;
            QCOMPARE(font.pointSize(), size);
        } else if (part == QLatin1String("bold") || part == QLatin1String("regular")) {
            QVERIFY2(font.bold() == (part == QLatin1String("bold")), qPrintable(wanted));
            QVERIFY2(font.resolve() & QFont::WeightResolved, "the weight is not set explicitly");
        } else if (part == QLatin1String("italic off")) {
            QVERIFY(!font.italic());
            QVERIFY2(font.resolve() & QFont::StyleResolved, "italic is not set explicitly");
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown font attribute '%1'").arg(part)));
        }
    }
    if (!sizeGiven) {
        // The size comes from the parent (or, for the window, from the application).
        const QFont inherited =
            widget->parentWidget() ? widget->parentWidget()->font() : QApplication::font();
        QCOMPARE(font.pointSizeF(), inherited.pointSizeF());
    }
}

QImage iconImage(const QIcon& icon, const QString& path)
{
    const QSize natural = QImage(path).size();
    return icon.pixmap(natural).toImage().convertToFormat(QImage::Format_ARGB32);
}

void checkGenericProperty(QObject* object, const QString& key, const QString& expected)
{
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty(key.toLatin1().constData());
    QVERIFY2(index >= 0, qPrintable(QStringLiteral("%1 has no property %2")
                                        .arg(QString::fromLatin1(meta->className()), key)));
    const QMetaProperty property = meta->property(index);
    const QVariant value = property.read(object);
    if (property.isEnumType() || property.isFlagType()) {
        const QMetaEnum metaEnum = property.enumerator();
        const QByteArray keys = expected.toLatin1();
        const int want = property.isFlagType() ? metaEnum.keysToValue(keys.constData())
                                               : metaEnum.keyToValue(keys.constData());
        QVERIFY2(want != -1,
                 qPrintable(QStringLiteral("unknown value %1 of %2").arg(expected, key)));
        const int actual = *static_cast<const int*>(value.constData());
        QVERIFY2(
            actual == want,
            qPrintable(QStringLiteral("%1 is %2, expected %3")
                           .arg(key)
                           .arg(QString::fromLatin1(property.isFlagType()
                                                        ? metaEnum.valueToKeys(actual)
                                                        : QByteArray(metaEnum.valueToKey(actual))))
                           .arg(expected)));
        return;
    }
    switch (value.userType()) {
    case QMetaType::Bool:
        QCOMPARE(value.toBool() ? QStringLiteral("true") : QStringLiteral("false"), expected);
        break;
    case QMetaType::Int:
        QCOMPARE(value.toInt(), expected.toInt());
        break;
    case QMetaType::QSize:
        QCOMPARE(value.toSize(), parseSize(expected));
        break;
    case QMetaType::QString:
        QCOMPARE(value.toString(), expected);
        break;
    case QMetaType::QCursor: {
        auto* widget = qobject_cast<QWidget*>(object);
        QVERIFY2(widget && widget->testAttribute(Qt::WA_SetCursor), "the widget sets no cursor");
        const QMetaEnum shapes = QMetaEnum::fromType<Qt::CursorShape>();
        QCOMPARE(QString::fromLatin1(shapes.valueToKey(value.value<QCursor>().shape())), expected);
        break;
    }
    default:
        QFAIL(qPrintable(QStringLiteral("no rule to compare property %1").arg(key)));
    }
}

void checkStretch(QLayout* layout, const QString& key, const QString& wanted)
{
    const QList<int> want = parseInts(wanted);
    QList<int> actual;
    if (auto* box = qobject_cast<QBoxLayout*>(layout); box && key == QLatin1String("stretch")) {
        for (int i = 0; i < box->count(); ++i)
            actual << box->stretch(i);
    } else if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        const bool rows = key == QLatin1String("rowStretch");
        const int count = rows ? grid->rowCount() : grid->columnCount();
        for (int i = 0; i < count; ++i)
            actual << (rows ? grid->rowStretch(i) : grid->columnStretch(i));
    } else {
        QFAIL(qPrintable(QStringLiteral("%1 does not apply to %2").arg(key, layout->objectName())));
    }
    QCOMPARE(actual, want);
}

// Props of layouts that fall back to their defaults when a row leaves them out.
void checkLayoutDefaults(QLayout* layout, const FormProps& props)
{
    auto given = [&props](const char* key) {
        for (const auto& prop : props)
            if (prop.first == QLatin1String(key))
                return true;
        return false;
    };
    if (!given("margins"))
        checkMargins(layout, QStringLiteral("default, default, default, default"));
    RETURN_IF_FAILED();
    const bool twoWay = qobject_cast<QGridLayout*>(layout) || qobject_cast<QFormLayout*>(layout);
    if (!given("spacing") && !given("horizontalSpacing"))
        checkSpacing(layout,
                     twoWay ? QStringLiteral("horizontalSpacing") : QStringLiteral("spacing"),
                     QStringLiteral("default"));
    RETURN_IF_FAILED();
    if (twoWay && !given("spacing") && !given("verticalSpacing"))
        checkSpacing(layout, QStringLiteral("verticalSpacing"), QStringLiteral("default"));
    RETURN_IF_FAILED();
    if (auto* box = qobject_cast<QBoxLayout*>(layout); box && !given("stretch")) {
        for (int i = 0; i < box->count(); ++i)
            QVERIFY2(box->stretch(i) == 0,
                     qPrintable(QStringLiteral("item %1 has a stretch").arg(i)));
    }
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        for (int i = 0; !given("rowStretch") && i < grid->rowCount(); ++i)
            QVERIFY2(grid->rowStretch(i) == 0,
                     qPrintable(QStringLiteral("row %1 has a stretch").arg(i)));
        for (int i = 0; !given("columnStretch") && i < grid->columnCount(); ++i)
            QVERIFY2(grid->columnStretch(i) == 0,
                     qPrintable(QStringLiteral("column %1 has a stretch").arg(i)));
    }
}

// The layout item at a cell of a layout, or nullptr.
QLayoutItem* itemAtCell(QLayout* layout, const QString& cell)
{
    static const QRegularExpression itemRe(QStringLiteral("^item (\\d+)$"));
    static const QRegularExpression gridRe(
        QStringLiteral("^row (\\d+), column (\\d+)(?:, spans (\\d+) x (\\d+))?$"));
    static const QRegularExpression formRe(QStringLiteral("^row (\\d+), (label|field|spanning)$"));

    if (const auto m = itemRe.match(cell); m.hasMatch())
        return layout->itemAt(m.captured(1).toInt());
    if (const auto m = gridRe.match(cell); m.hasMatch()) {
        auto* grid = qobject_cast<QGridLayout*>(layout);
        if (!grid)
            return nullptr;
        const int row = m.captured(1).toInt(), column = m.captured(2).toInt();
        const int rowSpan = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        const int columnSpan = m.captured(4).isEmpty() ? 1 : m.captured(4).toInt();
        for (int i = 0; i < grid->count(); ++i) {
            int r, c, rs, cs;
            grid->getItemPosition(i, &r, &c, &rs, &cs);
            if (r == row && c == column)
                return (rs == rowSpan && cs == columnSpan) ? grid->itemAt(i) : nullptr;
        }
        return nullptr;
    }
    if (const auto m = formRe.match(cell); m.hasMatch()) {
        auto* form = qobject_cast<QFormLayout*>(layout);
        if (!form)
            return nullptr;
        const QString role = m.captured(2);
        const QFormLayout::ItemRole itemRole =
            role == QLatin1String("label")   ? QFormLayout::LabelRole
            : role == QLatin1String("field") ? QFormLayout::FieldRole
                                             : QFormLayout::SpanningRole;
        return form->itemAt(m.captured(1).toInt(), itemRole);
    }
    return nullptr;
}

void checkSpacer(QObject* window, const FormObject& e)
{
    auto* layout = qobject_cast<QLayout*>(findFormObject(window, e.container));
    QVERIFY2(layout, qPrintable(QStringLiteral("no layout %1").arg(e.container)));
    QLayoutItem* item = itemAtCell(layout, e.cell);
    QVERIFY2(item && item->spacerItem(), qPrintable(QStringLiteral("no spacer at %1").arg(e.cell)));
    QSpacerItem* spacer = item->spacerItem();
    for (const auto& prop : e.props) {
        if (prop.first == QLatin1String("sizeHint")) {
            QCOMPARE(spacer->sizeHint(), parseSize(prop.second));
        } else if (prop.first == QLatin1String("policy")) {
            const QStringList policies = prop.second.split(QLatin1Char('/'));
            QCOMPARE(spacer->sizePolicy().horizontalPolicy(), parsePolicy(policies.value(0)));
            QCOMPARE(spacer->sizePolicy().verticalPolicy(), parsePolicy(policies.value(1)));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown spacer check %1").arg(prop.first)));
        }
    }
}

void checkPlacement(QObject* window, QObject* object, const FormObject& e)
{
    QObject* container = findFormObject(window, e.container);
    QVERIFY2(container, qPrintable(QStringLiteral("no container %1").arg(e.container)));
    auto* widget = qobject_cast<QWidget*>(object);
    const QString& cell = e.cell;

    if (cell == QLatin1String("layout")) {
        auto* owner = qobject_cast<QWidget*>(container);
        QVERIFY(owner);
        QCOMPARE(static_cast<QObject*>(owner->layout()), object);
    } else if (cell == QLatin1String("content")) {
        auto* area = qobject_cast<QScrollArea*>(container);
        QVERIFY(area);
        QCOMPARE(static_cast<QObject*>(area->widget()), object);
    } else if (cell == QLatin1String("central widget")) {
        auto* mainWindow = qobject_cast<QMainWindow*>(container);
        QVERIFY(mainWindow);
        QCOMPARE(static_cast<QObject*>(mainWindow->centralWidget()), object);
    } else if (cell == QLatin1String("status bar")) {
        auto* mainWindow = qobject_cast<QMainWindow*>(container);
        QVERIFY(mainWindow);
        QCOMPARE(static_cast<QObject*>(
                     mainWindow->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly)),
                 object);
    } else if (cell == QLatin1String("child")) {
        QCOMPARE(object->parent(), container);
    } else if (cell.startsWith(QLatin1String("page "))) {
        auto* stack = qobject_cast<QStackedWidget*>(container);
        QVERIFY2(stack, "pages belong to a QStackedWidget");
        QCOMPARE(stack->indexOf(widget), cell.mid(5).toInt());
    } else if (cell.startsWith(QLatin1String("tab "))) {
        auto* tabs = qobject_cast<QTabWidget*>(container);
        QVERIFY2(tabs, "tabs belong to a QTabWidget");
        QCOMPARE(tabs->indexOf(widget), cell.mid(4).toInt());
    } else {
        auto* layout = qobject_cast<QLayout*>(container);
        QVERIFY2(layout, qPrintable(QStringLiteral("%1 is not a layout").arg(e.container)));
        // "row 2, column 0, alignment AlignHCenter": the alignment of the item in its cell.
        const int alignedAt = cell.indexOf(QLatin1String(", alignment "));
        QLayoutItem* item = itemAtCell(layout, alignedAt < 0 ? cell : cell.left(alignedAt));
        QVERIFY2(item, qPrintable(QStringLiteral("nothing at %1 of %2").arg(cell, e.container)));
        if (alignedAt >= 0) {
            const QByteArray keys = cell.mid(alignedAt + 12).toLatin1();
            QCOMPARE(int(item->alignment()),
                     QMetaEnum::fromType<Qt::Alignment>().keysToValue(keys.constData()));
        }
        QObject* held = item->widget() ? static_cast<QObject*>(item->widget())
                                       : static_cast<QObject*>(item->layout());
        QVERIFY2(held == object,
                 qPrintable(QStringLiteral("%1 of %2 holds %3")
                                .arg(cell, e.container,
                                     held ? held->objectName() : QStringLiteral("a spacer"))));
    }
}

} // namespace

QString FormObject::label() const
{
    return describe(*this);
}

QObject* findFormObject(QObject* window, const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    if (window->objectName() == name)
        return window;
    const QList<QObject*> found = window->findChildren<QObject*>(name);
    return found.size() == 1 ? found.first() : nullptr;
}

static QTabWidget* tabWidgetOf(QWidget* page)
{
    QWidget* stack = page->parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

bool readFormText(QObject* object, QString* text)
{
    if (auto* w = qobject_cast<QMainWindow*>(object))
        *text = w->windowTitle();
    else if (auto* a = qobject_cast<QAction*>(object))
        *text = a->text();
    else if (auto* l = qobject_cast<QLabel*>(object))
        *text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(object))
        *text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(object))
        *text = g->title();
    else if (auto* e = qobject_cast<QLineEdit*>(object))
        *text = e->text();
    else if (auto* page = qobject_cast<QWidget*>(object); page && tabWidgetOf(page))
        *text = tabWidgetOf(page)->tabText(tabWidgetOf(page)->indexOf(page));
    else
        return false;
    return true;
}

bool writeFormText(QObject* object, const QString& text)
{
    if (auto* w = qobject_cast<QMainWindow*>(object))
        w->setWindowTitle(text);
    else if (auto* a = qobject_cast<QAction*>(object))
        a->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(object))
        l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(object))
        b->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(object))
        g->setTitle(text);
    else if (auto* e = qobject_cast<QLineEdit*>(object))
        e->setText(text);
    else if (auto* page = qobject_cast<QWidget*>(object); page && tabWidgetOf(page))
        tabWidgetOf(page)->setTabText(tabWidgetOf(page)->indexOf(page), text);
    else
        return false;
    return true;
}

static void checkProp(QObject* object, const QString& key, const QString& value)
{
    auto* widget = qobject_cast<QWidget*>(object);
    auto* layout = qobject_cast<QLayout*>(object);
    if (key == QLatin1String("font")) {
        QVERIFY(widget);
        checkFont(widget, value);
    } else if (key == QLatin1String("sizePolicy")) {
        QVERIFY(widget);
        QCOMPARE(policyText(widget->sizePolicy()), value);
    } else if (key == QLatin1String("margins")) {
        QVERIFY(layout);
        checkMargins(layout, value);
    } else if (layout &&
               (key == QLatin1String("spacing") || key == QLatin1String("horizontalSpacing") ||
                key == QLatin1String("verticalSpacing"))) {
        if (key == QLatin1String("spacing") &&
            (qobject_cast<QGridLayout*>(layout) || qobject_cast<QFormLayout*>(layout))) {
            checkSpacing(layout, QStringLiteral("horizontalSpacing"), value);
            RETURN_IF_FAILED();
            checkSpacing(layout, QStringLiteral("verticalSpacing"), value);
        } else {
            checkSpacing(layout, key, value);
        }
    } else if (key == QLatin1String("stretch") || key == QLatin1String("rowStretch") ||
               key == QLatin1String("columnStretch")) {
        QVERIFY(layout);
        checkStretch(layout, key, value);
    } else if (key == QLatin1String("pixmap")) {
        auto* label = qobject_cast<QLabel*>(object);
        QVERIFY(label && !label->pixmap(Qt::ReturnByValue).isNull());
        const QImage expected = QImage(value).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!expected.isNull(), qPrintable(QStringLiteral("no picture %1").arg(value)));
        QCOMPARE(label->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32),
                 expected);
    } else if (key == QLatin1String("icon")) {
        auto* button = qobject_cast<QAbstractButton*>(object);
        QVERIFY(button && !button->icon().isNull());
        QVERIFY2(!QImage(value).isNull(), qPrintable(QStringLiteral("no picture %1").arg(value)));
        QCOMPARE(iconImage(button->icon(), value), iconImage(QIcon(value), value));
    } else if (key == QLatin1String("windowIcon")) {
        QVERIFY(widget);
        QVERIFY(!widget->windowIcon().isNull());
        QCOMPARE(widget->windowIcon().availableSizes(), QIcon(value).availableSizes());
    } else if (key == QLatin1String("buttons")) {
        auto* group = qobject_cast<QButtonGroup*>(object);
        QVERIFY(group);
        QStringList names;
        for (QAbstractButton* button : group->buttons())
            names << button->objectName();
        QCOMPARE(names.join(QStringLiteral(", ")), value);
        for (QAbstractButton* button : group->buttons())
            QCOMPARE(group->id(button) < 0, true); // automatic ids are negative
    } else {
        checkGenericProperty(object, key, value);
    }
}

void checkFormObject(QObject* window, const FormObject& e)
{
    if (e.className == QLatin1String("QSpacerItem")) {
        checkSpacer(window, e);
        return;
    }

    QObject* object = findFormObject(window, e.name);
    QVERIFY2(object, qPrintable(QStringLiteral("no single object named %1").arg(e.name)));
    QCOMPARE(QString::fromLatin1(object->metaObject()->className()), e.className);

    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && !e.parent.isEmpty()) {
        QVERIFY2(widget->parentWidget(), "the widget has no parent");
        QCOMPARE(widget->parentWidget()->objectName(), e.parent);
    }
    if (!e.container.isEmpty()) {
        checkPlacement(window, object, e);
        RETURN_IF_FAILED();
    }

    QString text;
    if (readFormText(object, &text)) {
        QCOMPARE(text, e.text.value_or(QString()));
    } else {
        QVERIFY2(!e.text.has_value(), "this class carries no text");
    }

    bool sheetGiven = false, fontGiven = false, enabledGiven = false;
    for (const auto& prop : e.props) {
        sheetGiven = sheetGiven || prop.first == QLatin1String("styleSheet");
        fontGiven = fontGiven || prop.first == QLatin1String("font");
        enabledGiven = enabledGiven || prop.first == QLatin1String("enabled");
        checkProp(object, prop.first, prop.second);
        if (QTest::currentTestFailed()) {
            qWarning("while checking %s of %s", qPrintable(prop.first), qPrintable(e.name));
            return;
        }
    }

    if (widget) {
        if (!sheetGiven)
            QVERIFY2(widget->styleSheet().isEmpty(), qPrintable(widget->styleSheet()));
        if (!fontGiven && widget != window)
            QVERIFY2(!widget->testAttribute(Qt::WA_SetFont), "the widget has a font of its own");
        // Pages of a stack or tab widget are hidden by their container; nothing else is hidden
        // by the form, and only what a row says is disabled.
        const bool page =
            e.cell.startsWith(QLatin1String("page ")) || e.cell.startsWith(QLatin1String("tab "));
        if (!page)
            QVERIFY2(!(widget->testAttribute(Qt::WA_WState_ExplicitShowHide) && widget->isHidden()),
                     "the form hides this widget");
        if (!enabledGiven)
            QVERIFY2(widget->isEnabled(), "the form disables this widget");
    }
    if (auto* layout = qobject_cast<QLayout*>(object))
        checkLayoutDefaults(layout, e.props);
}

const QVector<FormArea>& formAreas()
{
    static const QVector<FormArea> areas{
        {QStringLiteral("frame"), frameObjects},
        {QStringLiteral("menu column and key page"), menuAndKeyPageObjects},
        {QStringLiteral("dashboard page"), dashboardPageObjects},
        {QStringLiteral("images page"), imagesPageObjects},
        {QStringLiteral("status, notifications, trends and raw data pages"), statusPagesObjects},
        {QStringLiteral("table page"), tablePageObjects},
        {QStringLiteral("command page"), commandPageObjects},
        {QStringLiteral("settings page"), settingsPageObjects},
    };
    return areas;
}
