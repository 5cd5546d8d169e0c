// A SPECI criteria table on its own: defaults, the operator's range check, the disabled flag, and
// the row menu of its view.

#include "tests/support/testsupport.h"

#include "reports/criteriatablemodel.h"
#include "reports/criteriatableview.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

namespace
{

// The thresholds, "-" for a blank row, "x" after a disabled one.
QString rows(const SPECITableModel& model)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QVariant value = model.data(model.index(row, 0));
        out << (value.isValid() ? value.toString() : "-") +
                   (model.data(model.index(row, 1)).toBool() ? "x" : "");
    }
    return out.join(' ');
}

// Answers the menu instead of the operator and records what it offered.
class ScriptedView : public SPECITableView
{
public:
    QString choice; // entry text to pick; empty closes the menu without a choice
    QStringList offered;

protected:
    QAction* execMenu(QMenu& menu, const QPoint&) override
    {
        offered.clear();
        QAction* picked = nullptr;
        for (QAction* action : menu.actions()) {
            offered << action->text() + (action->isEnabled() ? "" : " (off)");
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
    void defaultsAndHeaders()
    {
        SPECITableModel visibility("Visibility");
        SPECITableModel ceiling("Ceiling");
        SPECITableModel other("Wind");
        QCOMPARE(rows(visibility), QString("4800 3200 2400 1600 1200 800 400"));
        QCOMPARE(rows(ceiling), QString("3000 2000 1500 1000 800 700 500 300 200 100"));
        QCOMPARE(other.rowCount() + other.columnCount(), 0);
        QCOMPARE(visibility.headerData(0, Qt::Horizontal).toString(), QString("meters"));
        QCOMPARE(ceiling.headerData(0, Qt::Horizontal).toString(), QString("feet"));
        QCOMPARE(other.headerData(0, Qt::Horizontal).toString(), QString("Disabled?"));
        QCOMPARE(ceiling.headerData(1, Qt::Horizontal).toString(), QString("Disabled?"));
        QVERIFY(!ceiling.headerData(2, Qt::Horizontal).isValid());
        QVERIFY(!ceiling.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
        QCOMPARE(ceiling.headerData(9, Qt::Vertical).toString(), QString("Index 9"));
        QCOMPARE(ceiling.data(ceiling.index(9, 1), Qt::CheckStateRole), QVariant(0));
        QCOMPARE(ceiling.rowCount(ceiling.index(0, 0)) + ceiling.columnCount(ceiling.index(0, 0)),
                 0);
    }

    void thresholdEdits_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("refused"); // the range the refusal names; "-": no signal
        QTest::newRow("visibility top") << "Visibility" << QVariant(15999) << "";
        QTest::newRow("visibility 1") << "Visibility" << QVariant(1) << "";
        QTest::newRow("visibility text") << "Visibility" << QVariant("1600") << "";
        QTest::newRow("visibility blank -1") << "Visibility" << QVariant(-1) << "";
        QTest::newRow("visibility 16000") << "Visibility" << QVariant(16000) << "(1-15999)";
        QTest::newRow("visibility 0") << "Visibility" << QVariant(0) << "(1-15999)";
        QTest::newRow("visibility -2") << "Visibility" << QVariant(-2) << "(1-15999)";
        QTest::newRow("ceiling top") << "Ceiling" << QVariant(24999) << "";
        QTest::newRow("ceiling 25000") << "Ceiling" << QVariant(25000) << "(1-24999)";
        QTest::newRow("non-numeric") << "Visibility" << QVariant("abc") << "-";
        QTest::newRow("empty text") << "Ceiling" << QVariant("") << "-";
    }
    void thresholdEdits()
    {
        QFETCH(QString, type);
        QFETCH(QVariant, value);
        QFETCH(QString, refused);
        SPECITableModel model(type);
        QSignalSpy changed(&model, &SPECITableModel::dataChanged);
        QSignalSpy refusals(&model, &SPECITableModel::validationSPECIFailed);
        const QModelIndex cell = model.index(4, 0);
        const QVariant before = model.data(cell);
        QCOMPARE(model.setData(cell, value, Qt::EditRole), refused.isEmpty());
        QCOMPARE(changed.count(), refused.isEmpty() ? 1 : 0);
        // -1 is the blank criterion: shown and edited as an empty cell.
        const QVariant stored = value.toInt() == -1 ? QVariant() : QVariant(value.toInt());
        QCOMPARE(model.data(cell), refused.isEmpty() ? stored : before);
        QCOMPARE(refusals.count(), refused.size() > 1 ? 1 : 0);
        if (refused.size() > 1)
            QCOMPARE(refusals.at(0), (QList<QVariant>{4, refused}));
    }

    void disabledFlag()
    {
        SPECITableModel model("Visibility");
        QSignalSpy changed(&model, &SPECITableModel::dataChanged);
        const QModelIndex flag = model.index(2, 1);
        QVERIFY(model.setData(flag, int(Qt::Checked), Qt::CheckStateRole));
        QCOMPARE(model.data(flag, Qt::CheckStateRole), QVariant(int(Qt::Checked)));
        QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), QVector<int>{Qt::CheckStateRole});
        QVERIFY(model.setData(flag, int(Qt::PartiallyChecked), Qt::CheckStateRole));
        QCOMPARE(model.data(flag, Qt::DisplayRole), QVariant(false));
        // Roles that do not belong to a column change nothing.
        QVERIFY(!model.setData(flag, true, Qt::EditRole));
        QVERIFY(!model.setData(model.index(2, 0), int(Qt::Checked), Qt::CheckStateRole));
        QVERIFY(!model.setData(QModelIndex(), 100, Qt::EditRole));
        QVERIFY(!model.data(model.index(2, 0), Qt::CheckStateRole).isValid());
        QVERIFY(!model.data(model.index(2, 0), Qt::ToolTipRole).isValid());
        // An index handed over from a wider model, past the end of this model's rows.
        QStandardItemModel wider(7, 3);
        QVERIFY(!model.data(wider.index(2, 2)).isValid());
        QVERIFY(!model.setData(wider.index(2, 2), 100, Qt::EditRole));
        QCOMPARE(changed.count(), 2);
        const Qt::ItemFlags editable =
            Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
        QCOMPARE(model.flags(model.index(0, 1)), editable | Qt::ItemIsUserCheckable);
        QCOMPARE(model.flags(model.index(0, 0)), editable);
        QCOMPARE(model.flags(QModelIndex()), Qt::NoItemFlags);
    }

    // New rows are blank and disabled; a table emptied through the menu can be filled again.
    void insertAndRemoveRows()
    {
        SPECITableModel model("Visibility");
        // Views rely on the model's change notices: each names the rows it inserted or removed.
        QStringList notices;
        connect(&model, &QAbstractItemModel::rowsInserted, [&](const QModelIndex&, int a, int b) {
            notices << QString("+%1-%2").arg(a).arg(b);
        });
        connect(&model, &QAbstractItemModel::rowsRemoved, [&](const QModelIndex&, int a, int b) {
            notices << QString("-%1-%2").arg(a).arg(b);
        });
        QVERIFY(model.insertRows(3, 2));
        QCOMPARE(rows(model), QString("4800 3200 2400 -x -x 1600 1200 800 400"));
        QVERIFY(model.insertRows(0, 0) && model.removeRows(0, 0));
        QVERIFY(model.insertRows(99, 1) && model.insertRows(-5, 1)); // at the end, at the front
        QCOMPARE(rows(model), QString("-x 4800 3200 2400 -x -x 1600 1200 800 400 -x"));
        QVERIFY(model.removeRows(10, 1) && model.removeRows(0, 1));
        QCOMPARE(notices, (QStringList{"+3-4", "+9-9", "+0-0", "-10-10", "-0-0"}));
        QVERIFY(model.removeRows(7, 2));
        QVERIFY(!model.removeRows(6, 2));
        QVERIFY(model.removeRows(0, 7));
        QCOMPARE(model.columnCount(), 0);
        QVERIFY(!model.removeRows(0, 1));
        QVERIFY(model.insertRows(0, 1));
        QCOMPARE(model.columnCount(), 2);
        QVERIFY(model.setData(model.index(0, 0), 900, Qt::EditRole));
        QCOMPARE(rows(model), QString("900x"));
    }

    void contextMenu_data()
    {
        QTest::addColumn<int>("extraRows");  // added to the 7 default rows before the click
        QTest::addColumn<int>("clickedRow"); // -1: the empty area below the last row
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("after");
        const QStringList both{"Add Row", "Remove Row"};
        const QString defaults = "4800 3200 2400 1600 1200 800 400";
        QTest::newRow("add below row 2")
            << 0 << 2 << "Add Row" << both << "4800 3200 2400 -x 1600 1200 800 400";
        QTest::newRow("add in empty area")
            << 0 << -1 << "Add Row" << QStringList{"Add Row", "Remove Row (off)"}
            << defaults + " -x";
        QTest::newRow("remove row 0")
            << 0 << 0 << "Remove Row" << both << "3200 2400 1600 1200 800 400";
        QTest::newRow("closed without choice") << 0 << 5 << "" << both << defaults;
        QTest::newRow("full table") << 8 << 1 << "Add Row" << QStringList{"Remove Row"}
                                    << defaults + QString(" -x").repeated(8);
    }
    void contextMenu()
    {
        QFETCH(int, extraRows);
        QFETCH(int, clickedRow);
        QFETCH(QString, choice);
        QFETCH(QStringList, offered);
        QFETCH(QString, after);
        SPECITableModel model("Visibility");
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
        view.showContextMenu(at);
        QCOMPARE(view.offered, offered);
        QCOMPARE(rows(model), after);
        // Row changes are not cell edits: the settings page must not see them as such.
        QCOMPARE(changed.count(), 0);

        QStandardItemModel other(3, 2);
        view.setModel(&other);
        view.offered.clear();
        view.showContextMenu(at);
        QVERIFY(view.offered.isEmpty());
        QCOMPARE(other.rowCount(), 3);
    }
};

QTEST_MAIN(TestSpeciTable)
#include "tst_criteriatable.moc"
