// The dashboard page laid out in a shown window: the design size shows the three columns side by
// side with nothing overlapping; spare width and height go where the page puts them; the two
// pictures keep their minimum sizes and the wind picture never scrolls; the status row keeps its
// pictures at their own size; the legend buttons do nothing when clicked.

#include "tests/support/testsupport.h"

#include "formcheck.h"
#include "formhost.h"
#include "forms/formresources.h"
#include "formtestwindow.h"

#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>

#include <memory>

class TestDashboardPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void designSizeShowsThreeColumnsSideBySide();
    void designSizeOverlapsNothing();
    void scrollBarsOnlyWhenTheFrameDoesNotFit_data();
    void scrollBarsOnlyWhenTheFrameDoesNotFit();
    void spareWidthGoesToTheRightColumn();
    void spareHeightStaysBelowTheGrids();
    void windPictureNeverScrollsOrShrinks();
    void statusPicturesKeepTheirSize();
    void timestampNoteWrapsToTheGroup();
    void legendButtonsDoNothing();

private:
    // A fresh window with the form, shown at the given size on the dashboard page; the helpers
    // below look into it.
    struct Shown {
        std::unique_ptr<FormTestWindow> window{new FormTestWindow};
        FormHost host{window.get()};
    };
    bool show(const QSize& size);
    template <typename T> T* get(const char* name) const;
    QRect inPage(const QWidget* widget) const;
    QRect inPage(const QLayout* layout) const;

    std::unique_ptr<Shown> m_shown;
};

void TestDashboardPage::initTestCase()
{
    QVERIFY(registerFormFonts());
}

bool TestDashboardPage::show(const QSize& size)
{
    m_shown = std::make_unique<Shown>();
    m_shown->window->resize(size);
    m_shown->window->show();
    if (!QTest::qWaitForWindowExposed(m_shown->window.get()))
        return false;
    QCoreApplication::processEvents(); // the scroll area lays out its content
    auto* pages = get<QStackedWidget>("stackedWidget_mainPages");
    return pages && pages->currentWidget() == get<QWidget>("pageDashboardTrends");
}

template <typename T> T* TestDashboardPage::get(const char* name) const
{
    return qobject_cast<T*>(findFormObject(m_shown->window.get(), QString::fromLatin1(name)));
}

QRect TestDashboardPage::inPage(const QWidget* widget) const
{
    auto* page = get<QWidget>("scrollAreaWidgetContents_2");
    return QRect(widget->mapTo(page, QPoint()), widget->size());
}

QRect TestDashboardPage::inPage(const QLayout* layout) const
{
    auto* page = get<QWidget>("scrollAreaWidgetContents_2");
    const QWidget* owner = layout->parentWidget();
    return layout->geometry().translated(owner->mapTo(page, QPoint()));
}

void TestDashboardPage::designSizeShowsThreeColumnsSideBySide()
{
    QVERIFY(show(QSize(1656, 877)));
    QCOMPARE(m_shown->window->size(), QSize(1656, 877));
    auto* area = get<QScrollArea>("scrollArea");
    QVERIFY(!area->horizontalScrollBar()->isVisible());

    const QRect left = inPage(get<QLayout>("verticalLayout_15"));
    const QRect middle = inPage(get<QLayout>("verticalLayout_17"));
    const QRect right = inPage(get<QLayout>("verticalLayout_16"));
    QVERIFY(left.right() < middle.left());
    QVERIFY(middle.right() < right.left());
    QVERIFY(right.right() < area->viewport()->width());
    // The headers of the first section of each column stand on one line at the top.
    const int top = inPage(get<QWidget>("labelHeaderTime")).top();
    QCOMPARE(inPage(get<QWidget>("labelHeaderStatus")).top(), top);
    QCOMPARE(inPage(get<QWidget>("labelHeaderClouds")).top(), top);
    QCOMPARE(top, get<QFrame>("frame_5")->contentsRect().top());
}

void TestDashboardPage::designSizeOverlapsNothing()
{
    QVERIFY(show(QSize(1656, 877)));
    auto* frame = get<QWidget>("frame_5");
    int grids = 0;
    for (QLayout* layout : frame->findChildren<QLayout*>()) {
        QVector<QWidget*> widgets;
        for (int i = 0; i < layout->count(); ++i)
            if (QWidget* widget = layout->itemAt(i)->widget(); widget && widget->isVisible())
                widgets << widget;
        for (int i = 0; i < widgets.size(); ++i) {
            for (int j = i + 1; j < widgets.size(); ++j)
                QVERIFY2(!widgets[i]->geometry().intersects(widgets[j]->geometry()),
                         qPrintable(widgets[i]->objectName() + QStringLiteral(" overlaps ") +
                                    widgets[j]->objectName()));
        }
        grids += qobject_cast<QGridLayout*>(layout) ? 1 : 0;
    }
    QCOMPARE(grids, 18);

    // Every caption, heading, unit and strike label shows its whole text on one line.
    for (QLabel* label : frame->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->wordWrap())
            continue;
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
        QVERIFY2(label->height() >= label->sizeHint().height(), qPrintable(label->objectName()));
    }
}

void TestDashboardPage::scrollBarsOnlyWhenTheFrameDoesNotFit_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<int>("areaWidth"); // 0: as the page gives it
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("horizontal");
    QTest::newRow("narrower than the frame") << QSize(1000, 600) << 400 << true << true;
    QTest::newRow("window minimum") << QSize(1000, 600) << 0 << true << false;
    QTest::newRow("design size") << QSize(1656, 877) << 0 << true << false;
    QTest::newRow("large screen") << QSize(2560, 1600) << 0 << false << false;
}

void TestDashboardPage::scrollBarsOnlyWhenTheFrameDoesNotFit()
{
    QFETCH(QSize, windowSize);
    QFETCH(int, areaWidth);
    QFETCH(bool, vertical);
    QFETCH(bool, horizontal);
    QVERIFY(show(windowSize));
    auto* area = get<QScrollArea>("scrollArea");
    if (areaWidth > 0)
        area->setMaximumWidth(areaWidth);
    auto* contents = get<QWidget>("scrollAreaWidgetContents_2");
    QTRY_COMPARE(area->verticalScrollBar()->isVisible(), vertical);
    QCOMPARE(area->horizontalScrollBar()->isVisible(), horizontal);
    // The contents fill the visible width, but never fall below the frame's minimum of 492
    // pixels; the height is what the wrapped labels need at that width, or more.
    QCOMPARE(contents->minimumSizeHint().width(), 492);
    QCOMPARE(contents->width(), qMax(area->viewport()->width(), 492));
    QCOMPARE(contents->height(), qMax(area->viewport()->height(),
                                      contents->layout()->heightForWidth(contents->width())));
}

void TestDashboardPage::spareWidthGoesToTheRightColumn()
{
    QVERIFY(show(QSize(2400, 1600)));
    const int left = get<QLayout>("verticalLayout_15")->geometry().width();
    const int middle = get<QLayout>("verticalLayout_17")->geometry().width();
    const int right = get<QLayout>("verticalLayout_16")->geometry().width();
    const int timeCaption = get<QWidget>("label_TimestampUtc")->width();
    const int timeValue = get<QWidget>("labelUTC")->width();
    const int lightning = get<QWidget>("graphicsView_Lightning")->width();

    QVERIFY(show(QSize(2800, 1600)));
    QCOMPARE(get<QLayout>("verticalLayout_15")->geometry().width(), left);
    QCOMPARE(get<QLayout>("verticalLayout_17")->geometry().width(), middle);
    QCOMPARE(get<QLayout>("verticalLayout_16")->geometry().width(), right + 400);
    QCOMPARE(get<QWidget>("graphicsView_Lightning")->width(), lightning + 400);
    // In the timestamp grid the value column has the stretch; here it only keeps its share.
    QCOMPARE(get<QWidget>("label_TimestampUtc")->width(), timeCaption);
    QCOMPARE(get<QWidget>("labelUTC")->width(), timeValue);
    QVERIFY(timeValue > timeCaption);

    // Pressure values share the group's width; captions and units keep their own.
    for (const char* unit : {"label_UnitAltimeterInHg", "label_UnitAltimeterHpa", "label_UnitPAM"})
        QCOMPARE(get<QWidget>(unit)->width(), get<QWidget>(unit)->sizeHint().width());
    QVERIFY(get<QWidget>("labelALSTG_inHg")->width() > get<QWidget>("label_58")->width());
}

void TestDashboardPage::spareHeightStaysBelowTheGrids()
{
    QVERIFY(show(QSize(2400, 1200)));
    const int pressureGrid = get<QLayout>("gridLayout_13")->geometry().height();
    const int pressureGroup = get<QWidget>("groupBox_8")->height();
    const int history = get<QLayout>("gridLayout_8")->geometry().top();
    const int weatherBottom = get<QWidget>("groupBox_9")->geometry().bottom();
    const int windGroup = get<QWidget>("groupBox_6")->height();

    QVERIFY(show(QSize(2400, 1500)));
    // The pressure group is the one group of the left column that grows; its rows do not.
    QCOMPARE(get<QWidget>("groupBox_8")->height(), pressureGroup + 300);
    QCOMPARE(get<QLayout>("gridLayout_13")->geometry().height(), pressureGrid);
    for (const char* group : {"groupBox_5", "groupBox_7", "groupBox_11", "groupBox_4"})
        QCOMPARE(get<QWidget>(group)->height(), get<QWidget>(group)->sizeHint().height());
    // In the wind group only the bottom spacer takes the extra height.
    QCOMPARE(get<QWidget>("groupBox_6")->height(), windGroup + 300);
    QCOMPARE(get<QLayout>("gridLayout_8")->geometry().top(), history);
    QCOMPARE(get<QWidget>("groupBox_9")->geometry().bottom(), weatherBottom);
}

void TestDashboardPage::windPictureNeverScrollsOrShrinks()
{
    QVERIFY(show(QSize(1000, 600)));
    auto* wind = get<QGraphicsView>("graphicsViewWind");
    auto* lightning = get<QGraphicsView>("graphicsView_Lightning");
    QVERIFY(!wind->scene());
    QVERIFY(!lightning->scene());

    QGraphicsScene scene(0, 0, 4000, 4000);
    wind->setScene(&scene);
    QCoreApplication::processEvents();
    QVERIFY(!wind->horizontalScrollBar()->isVisible());
    QVERIFY(!wind->verticalScrollBar()->isVisible());
    QVERIFY(wind->width() >= 270 && wind->height() >= 250);
    QVERIFY(lightning->height() >= 300);
    QVERIFY(get<QWidget>("groupBox_4")->width() >= 200);
    wind->setScene(nullptr);
}

void TestDashboardPage::statusPicturesKeepTheirSize()
{
    QVERIFY(show(QSize(1656, 877)));
    const struct {
        const char* picture;
        const char* caption;
        QSize size;
    } columns[] = {{"labelWarning", "label_StatusWarning", {53, 46}},
                   {"labelRain", "label_StatusRain", {53, 48}},
                   {"labelLightning", "label_StatusLightning", {29, 52}},
                   {"labelCamera", "label_StatusCamera", {53, 42}},
                   {"labelBattery", "label_StatusBattery", {29, 52}}};
    int lastLeft = -1;
    for (const auto& column : columns) {
        auto* picture = get<QLabel>(column.picture);
        auto* caption = get<QLabel>(column.caption);
        QCOMPARE(picture->pixmap(Qt::ReturnByValue).size(), column.size);
        QVERIFY(picture->width() >= column.size.width() &&
                picture->height() >= column.size.height());
        QVERIFY(caption->geometry().top() > picture->geometry().bottom());
        QVERIFY(qAbs(caption->geometry().center().x() - picture->geometry().center().x()) <= 1);
        QVERIFY(picture->x() > lastLeft);
        lastLeft = picture->x();
        QVERIFY(!caption->isEnabled());
    }
    // The clear button stands centred under the tampering caption.
    auto* clear = get<QPushButton>("pushButton_ClearTamperingWarning");
    auto* tampering = get<QWidget>("label_StatusWarning");
    QVERIFY(clear->geometry().top() > tampering->geometry().bottom());
    QVERIFY(qAbs(clear->geometry().center().x() - tampering->geometry().center().x()) <= 1);
    QCOMPARE(clear->width(), clear->sizeHint().width());
}

void TestDashboardPage::timestampNoteWrapsToTheGroup()
{
    QVERIFY(show(QSize(1656, 877)));
    auto* note = get<QLabel>("label_TimestampWarning");
    auto* group = get<QWidget>("groupBox_5");
    const int oneLine = note->height();
    note->setText(QStringLiteral("The unit's clock reads a date in 2000; set its date and time "
                                 "before relying on the observation times shown here."));
    QTRY_VERIFY(note->height() > oneLine);
    QVERIFY(inPage(note).right() <= inPage(group).right());
}

void TestDashboardPage::legendButtonsDoNothing()
{
    QVERIFY(show(QSize(1656, 877)));
    m_shown->window->calls.clear();
    for (const char* name : {"pushButton_lightninglegend_red", "pushButton_lightninglegend_yellow",
                             "pushButton_lightninglegend_green"}) {
        auto* button = get<QPushButton>(name);
        QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->isChecked());
        QCOMPARE(button->iconSize(), QSize(12, 12));
    }
    QVERIFY(m_shown->window->calls.isEmpty());
}

QTEST_MAIN(TestDashboardPage)
#include "tst_dashboardpage.moc"
