#include "reports/specitableview.h"

SPECITableView::SPECITableView(QWidget* parent) : QTableView(parent) {}

void SPECITableView::showContextMenu(const QPoint& position)
{
    Q_UNUSED(position)
}
