#include "reports/criteriatableview.h"

SPECITableView::SPECITableView(QWidget* parent) : QTableView(parent) {}

void SPECITableView::showContextMenu(const QPoint& position)
{
    Q_UNUSED(position)
}
