#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLabel;
class QTreeView;

// Built-in-test status of the unit's modules, read from every ORVA weather frame and shown as a
// tree on the "Bit Status" page.
class BITView : public QObject
{
    Q_OBJECT

public:
    BITView(QObject* parent, QTreeView* treeView, QLabel* waitingLabel);
    ~BITView() override;

    void loadBitConfig();

signals:
    void info(QString message);
    void error(QString message);

public slots:
    void on_bit_packet_received(QByteArray packet);

private:
    QTreeView* treeView = nullptr;
    QLabel* waitingLabel = nullptr;
};
