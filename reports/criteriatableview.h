#pragma once

#include <QTableView>

// The view of the two SPECI criteria tables on the settings page. The main window's form creates
// both views as this class.
class SPECITableView : public QTableView
{
    Q_OBJECT

public:
    explicit SPECITableView(QWidget* parent = nullptr);

public slots:
    // The right-click menu of the criteria rows comes with the criteria table work.
    void showContextMenu(const QPoint& position);
};
