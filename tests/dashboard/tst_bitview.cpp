// The built-in-test status tree fed with weather frame texts: module rows, lamps, detail rows,
// the fault messages, the waiting label and the configuration file's version message.

#include "tests/support/testsupport.h"

#include "dashboard/bitview.h"
#include "forms/formresources.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

namespace
{
const QString green = QStringLiteral(":/resources/greenlight_icon_small.png");
const QString red = QStringLiteral(":/resources/redlight_icon_small.png");

// A controller line as current firmware sends it: eight fields, status last.
QByteArray controllerLine(const char* status)
{
    return QByteArray("B:1:2:3:4:5:6:") + status;
}

QImage lamp(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}
} // namespace

class TestBitView : public QObject
{
    Q_OBJECT

private:
    QTreeView* tree = nullptr;
    QLabel* label = nullptr;
    BITView* view = nullptr;
    QSignalSpy* errors = nullptr;

    QAbstractItemModel* model() const { return tree->model(); }

    QModelIndex moduleRow(const QString& name) const
    {
        for (int row = 0; row < model()->rowCount(); ++row) {
            const QModelIndex index = model()->index(row, 0);
            if (index.data().toString() == name)
                return index;
        }
        return {};
    }

    QStringList moduleNames() const
    {
        QStringList names;
        for (int row = 0; row < model()->rowCount(); ++row)
            names << model()->index(row, 0).data().toString();
        return names;
    }

    QStringList errorTexts() const
    {
        QStringList texts;
        for (const QList<QVariant>& call : *errors)
            texts << call.at(0).toString();
        return texts;
    }

    void feed(const QByteArray& packet) { view->on_bit_packet_received(packet); }

    QImage iconOf(const QModelIndex& index) const
    {
        return lamp(index.data(Qt::DecorationRole).value<QIcon>());
    }

private slots:
    void initTestCase()
    {
        initFormResources();
        QVERIFY(!lamp(QIcon(green)).isNull());
        QVERIFY(!lamp(QIcon(red)).isNull());
        QVERIFY(lamp(QIcon(green)) != lamp(QIcon(red)));
    }

    void init()
    {
        tree = new QTreeView;
        label = new QLabel(QStringLiteral("Waiting for Bit Status Data Packet..."));
        view = new BITView(nullptr, tree, label);
        errors = new QSignalSpy(view, &BITView::error);
    }

    void cleanup()
    {
        delete errors;
        delete view;
        delete tree;
        delete label;
    }

    void startsEmptyWithHeadersAndHiddenLabel()
    {
        QCOMPARE(model()->columnCount(), 2);
        QCOMPARE(model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("BIT Name"));
        QCOMPARE(model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Description"));
        QCOMPARE(model()->rowCount(), 0);
        QVERIFY(label->isHidden());
        QVERIFY(tree->wordWrap());
        QCOMPARE(tree->columnWidth(0), 400);
    }

    void faultIsShownAndAnnounced_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("text");

        QTest::newRow("controller") << controllerLine("07") << "Main Controller"
                                    << "07"
                                    << "Critical + Degraded + Maintenance";
        QTest::newRow("ceilometer") << QByteArray("CL:0:01") << "Ceilometer Module"
                                    << "01"
                                    << "Maintenance issues";
        QTest::newRow("lightning") << QByteArray("LT:12:3:04") << "Lightning Module"
                                   << "04"
                                   << "Critical failure";
        QTest::newRow("iridium") << QByteArray("IR:x:02") << "Iridium Module"
                                 << "02"
                                 << "Degraded performance";
        QTest::newRow("radio") << QByteArray("RA:1:03") << "Radio Module"
                               << "03"
                               << "Maintenance + Degraded";
        QTest::newRow("tph") << QByteArray("TA:1:05") << "Temperature, Pressure & Humidity Module"
                             << "05"
                             << "Critical + Maintenance";
        QTest::newRow("present weather") << QByteArray("PW:1:06") << "Present Weather Module"
                                         << "06"
                                         << "Critical + Degraded";
        QTest::newRow("wind") << QByteArray("WI:1:07") << "Wind Module"
                              << "07"
                              << "Critical + Degraded + Maintenance";
        QTest::newRow("two fields") << QByteArray("PW:04") << "Present Weather Module"
                                    << "04"
                                    << "Critical failure";
        QTest::newRow("unknown status") << QByteArray("WI:1:09") << "Wind Module"
                                        << "09"
                                        << "";
        QTest::newRow("status with letters") << QByteArray("LT:1:A4") << "Lightning Module"
                                             << "A4"
                                             << "";
    }

    void faultIsShownAndAnnounced()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, name);
        QFETCH(QString, status);
        QFETCH(QString, text);

        feed("T:21.4\r\n" + line + "\r\nH:55\r\n");

        QCOMPARE(errorTexts(),
                 QStringList{"BIT DETECTED (" + name + ") - " + status + ": " + text});
        QCOMPARE(moduleNames(), QStringList{name});
        const QModelIndex module = moduleRow(name);
        QCOMPARE(iconOf(module), lamp(QIcon(red)));
        QVERIFY(!(model()->flags(module) & Qt::ItemIsEditable));
        QVERIFY(model()->flags(module) & Qt::ItemIsSelectable);
        QCOMPARE(model()->rowCount(module), 1);
        const QModelIndex code = model()->index(0, 0, module);
        const QModelIndex meaning = model()->index(0, 1, module);
        QCOMPARE(code.data().toString(), status);
        QCOMPARE(meaning.data().toString(), text);
        QVERIFY(!(model()->flags(code) & Qt::ItemIsEditable));
        QVERIFY(!(model()->flags(meaning) & Qt::ItemIsEditable));
        QVERIFY(tree->isExpanded(module));
        QVERIFY(label->isHidden());
    }

    void persistingFaultIsRepeatedAndReplaced()
    {
        feed("LT:1:04\r\n");
        feed("LT:1:04\r\n");
        feed("LT:1:02\r\n");

        QCOMPARE(errorTexts(),
                 (QStringList{"BIT DETECTED (Lightning Module) - 04: Critical failure",
                              "BIT DETECTED (Lightning Module) - 04: Critical failure",
                              "BIT DETECTED (Lightning Module) - 02: Degraded performance"}));
        const QModelIndex module = moduleRow(QStringLiteral("Lightning Module"));
        QCOMPARE(model()->rowCount(), 1);
        QCOMPARE(model()->rowCount(module), 1);
        QCOMPARE(model()->index(0, 0, module).data().toString(), QStringLiteral("02"));
        QCOMPARE(model()->index(0, 1, module).data().toString(),
                 QStringLiteral("Degraded performance"));
    }

    void clearedFaultIsAnnouncedOnce()
    {
        feed("LT:1:04\r\n");
        errors->clear();

        feed("LT:1:00\r\n");
        QCOMPARE(errorTexts(), QStringList{"BIT CLEARED (Lightning Module) - 04"});
        const QModelIndex module = moduleRow(QStringLiteral("Lightning Module"));
        QCOMPARE(model()->rowCount(module), 0);
        QCOMPARE(iconOf(module), lamp(QIcon(green)));

        feed("LT:1:00\r\n");
        QCOMPARE(errors->count(), 1);
        QCOMPARE(model()->rowCount(), 1);
    }

    void firstSeenHealthyIsGreenWithoutMessage()
    {
        feed(controllerLine("00") + "\r\nWI:1:00\r\n");

        QCOMPARE(errors->count(), 0);
        QCOMPARE(moduleNames(), (QStringList{"Main Controller", "Wind Module"}));
        QCOMPARE(iconOf(moduleRow(QStringLiteral("Wind Module"))), lamp(QIcon(green)));
        QCOMPARE(model()->rowCount(moduleRow(QStringLiteral("Wind Module"))), 0);
        QVERIFY(label->isHidden());
    }

    void rowsKeepOrderOfFirstAppearance()
    {
        feed("WI:1:00\r\nLT:1:04\r\n");
        feed("CL:1:00\r\nWI:1:01\r\n");
        QCOMPARE(moduleNames(),
                 (QStringList{"Wind Module", "Lightning Module", "Ceilometer Module"}));
        QCOMPARE(iconOf(moduleRow(QStringLiteral("Wind Module"))), lamp(QIcon(red)));
        QCOMPARE(iconOf(moduleRow(QStringLiteral("Lightning Module"))), lamp(QIcon(red)));
    }

    void malformedLinesAreSkipped_data()
    {
        QTest::addColumn<QByteArray>("packet");
        QTest::newRow("unknown code") << QByteArray("XX:1:04\r\n");
        QTest::newRow("code only") << QByteArray("LT\r\n");
        QTest::newRow("one-digit status") << QByteArray("LT:1:4\r\n");
        QTest::newRow("three-digit status") << QByteArray("LT:1:004\r\n");
        QTest::newRow("empty status") << QByteArray("LT:1:\r\n");
        QTest::newRow("lower-case code") << QByteArray("lt:1:04\r\n");
        QTest::newRow("empty packet") << QByteArray();
    }

    void malformedLinesAreSkipped()
    {
        QFETCH(QByteArray, packet);
        feed(packet);
        QCOMPARE(errors->count(), 0);
        QCOMPARE(model()->rowCount(), 0);
    }

    void deprecatedControllerStopsThePacket()
    {
        feed("LT:1:04\r\nB:1:2:3:4:5:06\r\nWI:1:04\r\n");

        QCOMPARE(errorTexts(),
                 QStringList{"BIT DETECTED (Lightning Module) - 04: Critical failure"});
        QCOMPARE(moduleNames(), QStringList{"Lightning Module"});
    }

    void deprecatedControllerLeavesTheLabelAlone()
    {
        feed("T:21.4\r\n");
        QVERIFY(!label->isHidden());

        feed("B:1:2:3:4:5:06\r\nWI:1:04\r\n");
        QCOMPARE(model()->rowCount(), 0);
        QVERIFY(!label->isHidden());
    }

    void waitingLabelFollowsTheRows()
    {
        feed("T:21.4\r\nH:55\r\n");
        QVERIFY(!label->isHidden());

        feed("PW:1:00\r\n");
        QVERIFY(label->isHidden());

        feed("T:21.4\r\n");
        QVERIFY(label->isHidden());
        QCOMPARE(moduleNames(), QStringList{"Present Weather Module"});
    }

    void configVersionIsAnnounced_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");

        QTest::newRow("fraction") << QByteArray(R"({"modules":[{"a":1}],"version":1.5})")
                                  << "INFO: Bit Status Config File Version 1.5 Loaded";
        QTest::newRow("whole") << QByteArray(R"({"modules":[],"version":2})")
                               << "INFO: Bit Status Config File Version 2 Loaded";
        QTest::newRow("missing") << QByteArray(R"({"modules":[]})")
                                 << "INFO: Bit Status Config File Version 0 Loaded";
        QTest::newRow("six digits") << QByteArray(R"({"version":1.23456789})")
                                    << "INFO: Bit Status Config File Version 1.23457 Loaded";
        QTest::newRow("not json") << QByteArray("version=3")
                                  << "INFO: Bit Status Config File Version 0 Loaded";
    }

    void configVersionIsAnnounced()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QFile file(dir.filePath(QStringLiteral("bit_json.json")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        QSignalSpy infos(view, &BITView::info);
        view->loadBitConfig();
        QDir::setCurrent(previous);

        QCOMPARE(infos.count(), 1);
        QCOMPARE(infos.at(0).at(0).toString(), message);
        QCOMPARE(errors->count(), 0);
    }

    void missingConfigIsSilent()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));

        QSignalSpy infos(view, &BITView::info);
        view->loadBitConfig();
        QDir::setCurrent(previous);

        QCOMPARE(infos.count(), 0);
        QCOMPARE(errors->count(), 0);
        feed("LT:1:04\r\n");
        QCOMPARE(model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestBitView)
#include "tst_bitview.moc"
