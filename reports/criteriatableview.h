#pragma once

#include <QTableView>

class QAction;
class QMenu;

// The view of the two SPECI criteria tables on the settings page. The main window's form creates
// both views as this class.
class SPECITableView : public QTableView
{
    Q_OBJECT

public:
    explicit SPECITableView(QWidget* parent = nullptr);

    // A table never grows past this many rows through the menu.
    static constexpr int MaxMenuRows = 15;

public slots:
    // Right-click menu: add a criterion row below the clicked one, or remove the clicked row.
    void showContextMenu(const QPoint& position);

protected:
    // Shows the menu and returns the chosen entry (nullptr when closed without a choice).
    virtual QAction* execMenu(QMenu& menu, const QPoint& globalPosition);
};
