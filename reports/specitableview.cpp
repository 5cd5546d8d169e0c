#include "reports/specitableview.h"

SPECITableView::SPECITableView(QWidget* parent) : QTableView(parent) {}
