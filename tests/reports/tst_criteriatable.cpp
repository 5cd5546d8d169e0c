#include "tests/support/testsupport.h"

#include "reports/criteriatablemodel.h"
#include "reports/criteriatableview.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

namespace
{

QVector<QVariant> column(const SPECITableModel& model, int col, int role)
{
    QVector<QVariant> values;
    for (int row = 0; row < model.rowCount(); ++row)
        values << model.data(model.index(row, col), role);
    return values;
}

// Answers the menu instead of the operator and records what it offered.
class ScriptedView : public SPECITableView
{
public:
    QString choice; // entry text to pick; empty closes the menu without a choice
    QStringList offered;
    QList<bool> enabled;

protected:
    QAction* execMenu(QMenu& menu, const QPoint&) override
    {
        offered.clear();
        enabled.clear();
        QAction* picked = nullptr;
        for (QAction* action : menu.actions()) {
            offered << action->text();
            enabled << action->isEnabled();
            if (action->text() == choice)
                picked = action;
        }
        return picked;
    }
};

} // namespace

class TestSpeciTable : public QObject
{
    Q_OBJECT

private slots:
    void defaultRows_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVector<int>>("thresholds");
        QTest::addColumn<QString>("unitHeader");
        QTest::newRow("visibility")
            << "Visibility" << QVector<int>{4800, 3200, 2400, 1600, 1200, 800, 400} << "meters";
        QTest::newRow("ceiling") << "Ceiling" << QVector<int>{3000, 2000, 1500, 1000, 800,
                                                              700,  500,  300,  200,  100}
                                 << "feet";
        QTest::newRow("other type") << "Wind" << QVector<int>{} << "Disabled?";
    }
    void defaultRows()
    {
        QFETCH(QString, type);
        QFETCH(QVector<int>, thresholds);
        QFETCH(QString, unitHeader);
        SPECITableModel model(type);
        QCOMPARE(model.rowCount(), thresholds.size());
        QCOMPARE(model.columnCount(), thresholds.isEmpty() ? 0 : 2);
        for (int row = 0; row < thresholds.size(); ++row) {
            QCOMPARE(model.data(model.index(row, 0)), QVariant(thresholds.at(row)));
            QCOMPARE(model.data(model.index(row, 1), Qt::CheckStateRole),
                     QVariant(int(Qt::Unchecked)));
            QCOMPARE(model.headerData(row, Qt::Vertical).toString(),
                     QStringLiteral("Index %1").arg(row));
        }
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), unitHeader);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Disabled?"));
        QVERIFY(!model.headerData(2, Qt::Horizontal).isValid());
        QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    }

    void thresholdEdits_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("refusedRange"); // empty: no validation signal

        QTest::newRow("visibility top") << "Visibility" << QVariant(15999) << true << "";
        QTest::newRow("visibility 1") << "Visibility" << QVariant(1) << true << "";
        QTest::newRow("visibility text") << "Visibility" << QVariant("1600") << true << "";
        QTest::newRow("visibility blank -1") << "Visibility" << QVariant(-1) << true << "";
        QTest::newRow("visibility 16000")
            << "Visibility" << QVariant(16000) << false << "(1-15999)";
        QTest::newRow("visibility 0") << "Visibility" << QVariant(0) << false << "(1-15999)";
        QTest::newRow("visibility -2") << "Visibility" << QVariant(-2) << false << "(1-15999)";
        QTest::newRow("ceiling top") << "Ceiling" << QVariant(24999) << true << "";
        QTest::newRow("ceiling 25000") << "Ceiling" << QVariant(25000) << false << "(1-24999)";
        QTest::newRow("non-numeric") << "Visibility" << QVariant("abc") << false << "";
        QTest::newRow("empty text") << "Ceiling" << QVariant("") << false << "";
    }
    void thresholdEdits()
    {
        QFETCH(QString, type);
        QFETCH(QVariant, value);
        QFETCH(bool, accepted);
        QFETCH(QString, refusedRange);
        SPECITableModel model(type);
        QSignalSpy changed(&model, &SPECITableModel::dataChanged);
        QSignalSpy refused(&model, &SPECITableModel::validationSPECIFailed);
        const QModelIndex cell = model.index(4, 0);
        const QVariant before = model.data(cell);

        QCOMPARE(model.setData(cell, value, Qt::EditRole), accepted);
        if (accepted) {
            QCOMPARE(changed.count(), 1);
            QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), QVector<int>{Qt::EditRole});
            const int stored = value.toInt();
            // -1 is the blank criterion: shown and edited as an empty cell.
            QCOMPARE(model.data(cell), stored == -1 ? QVariant() : QVariant(stored));
        } else {
            QCOMPARE(changed.count(), 0);
            QCOMPARE(model.data(cell), before);
        }
        QCOMPARE(refused.count(), refusedRange.isEmpty() ? 0 : 1);
        if (!refusedRange.isEmpty()) {
            QCOMPARE(refused.at(0).at(0).toInt(), 4);
            QCOMPARE(refused.at(0).at(1).toString(), refusedRange);
        }
    }

    void disabledFlag()
    {
        SPECITableModel model(QStringLiteral("Visibility"));
        QSignalSpy changed(&model, &SPECITableModel::dataChanged);
        const QModelIndex flag = model.index(2, 1);
        QVERIFY(model.setData(flag, int(Qt::Checked), Qt::CheckStateRole));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), QVector<int>{Qt::CheckStateRole});
        QCOMPARE(model.data(flag, Qt::CheckStateRole), QVariant(int(Qt::Checked)));
        QCOMPARE(model.data(flag, Qt::DisplayRole), QVariant(true));
        QVERIFY(model.setData(flag, int(Qt::PartiallyChecked), Qt::CheckStateRole));
        QCOMPARE(model.data(flag, Qt::DisplayRole), QVariant(false));

        // Roles that do not belong to a column change nothing.
        QVERIFY(!model.setData(flag, true, Qt::EditRole));
        QVERIFY(!model.setData(model.index(2, 0), int(Qt::Checked), Qt::CheckStateRole));
        QVERIFY(!model.setData(QModelIndex(), 100, Qt::EditRole));
        QVERIFY(!model.data(model.index(2, 0), Qt::CheckStateRole).isValid());
        QVERIFY(!model.data(model.index(2, 0), Qt::ToolTipRole).isValid());
        QCOMPARE(changed.count(), 2);

        QCOMPARE(int(model.flags(model.index(0, 1))), 51);
        QCOMPARE(int(model.flags(model.index(0, 0))), 35);
        QCOMPARE(int(model.flags(QModelIndex())), 0);
    }

    void insertAndRemoveRows()
    {
        SPECITableModel model(QStringLiteral("Visibility"));
        QVERIFY(model.insertRows(3, 2));
        QCOMPARE(model.rowCount(), 9);
        QCOMPARE(
            column(model, 0, Qt::DisplayRole),
            (QVector<QVariant>{4800, 3200, 2400, QVariant(), QVariant(), 1600, 1200, 800, 400}));
        QCOMPARE(column(model, 1, Qt::DisplayRole),
                 (QVector<QVariant>{false, false, false, true, true, false, false, false, false}));
        QVERIFY(model.insertRows(0, 0));
        QVERIFY(model.removeRows(0, 0));
        QCOMPARE(model.rowCount(), 9);

        QVERIFY(model.removeRows(0, 9));
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 0);
        QVERIFY(!model.removeRows(0, 1));

        // A table emptied through the menu can be filled again.
        QVERIFY(model.insertRows(0, 1));
        QCOMPARE(model.columnCount(), 2);
        QVERIFY(model.setData(model.index(0, 0), 900, Qt::EditRole));
        QCOMPARE(model.data(model.index(0, 0)), QVariant(900));
    }

    void contextMenu_data()
    {
        QTest::addColumn<int>("extraRows");  // added to the 7 default rows before the click
        QTest::addColumn<int>("clickedRow"); // -1: the empty area below the last row
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<bool>("removeEnabled");
        QTest::addColumn<QVector<QVariant>>("thresholds");

        const QStringList both{"Add Row", "Remove Row"};
        const QVector<QVariant> defaults{4800, 3200, 2400, 1600, 1200, 800, 400};
        QTest::newRow("add below row 2")
            << 0 << 2 << "Add Row" << both << true
            << QVector<QVariant>{4800, 3200, 2400, QVariant(), 1600, 1200, 800, 400};
        QTest::newRow("add in empty area")
            << 0 << -1 << "Add Row" << both << false
            << QVector<QVariant>{4800, 3200, 2400, 1600, 1200, 800, 400, QVariant()};
        QTest::newRow("remove row 0") << 0 << 0 << "Remove Row" << both << true
                                      << QVector<QVariant>{3200, 2400, 1600, 1200, 800, 400};
        QTest::newRow("closed without choice") << 0 << 5 << "" << both << true << defaults;
        QVector<QVariant> fifteen = defaults;
        fifteen.insert(7, 8, QVariant());
        QTest::newRow("full table")
            << 8 << 1 << "Add Row" << QStringList{"Remove Row"} << true << fifteen;
    }
    void contextMenu()
    {
        QFETCH(int, extraRows);
        QFETCH(int, clickedRow);
        QFETCH(QString, choice);
        QFETCH(QStringList, offered);
        QFETCH(bool, removeEnabled);
        QFETCH(QVector<QVariant>, thresholds);

        SPECITableModel model(QStringLiteral("Visibility"));
        model.insertRows(model.rowCount(), extraRows);
        ScriptedView view;
        view.setModel(&model);
        view.resize(400, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.choice = choice;
        QSignalSpy changed(&model, &SPECITableModel::dataChanged);

        const QPoint at = clickedRow >= 0
                              ? view.visualRect(model.index(clickedRow, 0)).center()
                              : QPoint(10, view.rowViewportPosition(model.rowCount() - 1) +
                                               view.rowHeight(0) * 3 / 2);
        QCOMPARE(view.indexAt(at).isValid(), clickedRow >= 0);
        view.showContextMenu(at);

        QCOMPARE(view.offered, offered);
        QCOMPARE(view.enabled.last(), removeEnabled);
        QCOMPARE(column(model, 0, Qt::DisplayRole), thresholds);
        // Row changes are not cell edits: the settings page must not see them as such.
        QCOMPARE(changed.count(), 0);
    }

    void noMenuForOtherModels()
    {
        QStandardItemModel other(3, 2);
        ScriptedView view;
        view.setModel(&other);
        view.choice = QStringLiteral("Add Row");
        view.showContextMenu(QPoint(1, 1));
        QVERIFY(view.offered.isEmpty());
        QCOMPARE(other.rowCount(), 3);
    }
};

QTEST_MAIN(TestSpeciTable)
#include "tst_criteriatable.moc"
