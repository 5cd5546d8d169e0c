#include "reports/criteriatableview.h"

#include <QAction>
#include <QMenu>

SPECITableView::SPECITableView(QWidget* parent) : QTableView(parent) {}

void SPECITableView::showContextMenu(const QPoint& position)
{
    const QModelIndex clicked = indexAt(position);
    // Checked by class name so that the form library needs nothing from the report code.
    QAbstractItemModel* criteria = model();
    if (!criteria || !criteria->inherits("SPECITableModel"))
        return;

    QMenu menu(this);
    QAction* addRow = nullptr;
    if (criteria->rowCount() < MaxMenuRows)
        addRow = menu.addAction(QStringLiteral("Add Row"));
    QAction* removeRow = menu.addAction(QStringLiteral("Remove Row"));
    removeRow->setEnabled(clicked.isValid());

    QAction* chosen = execMenu(menu, viewport()->mapToGlobal(position));
    if (!chosen)
        return;
    if (chosen == addRow) {
        const int at = clicked.isValid() ? clicked.row() + 1 : criteria->rowCount();
        criteria->insertRows(at, 1);
    } else if (chosen == removeRow && clicked.isValid()) {
        criteria->removeRows(clicked.row(), 1);
    }
}

QAction* SPECITableView::execMenu(QMenu& menu, const QPoint& globalPosition)
{
    return menu.exec(globalPosition);
}
