#pragma once

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QLabel;
class QStandardItem;
class QStandardItemModel;
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
    static QString moduleName(const QString& code);
    static QString statusText(const QString& status);
    QStandardItem* findOrAddModuleItem(const QString& name);
    void setModuleFault(const QString& name, const QString& status, const QString& text);
    void setModuleStatusIcon(const QString& name);

    QTreeView* treeView = nullptr;
    QLabel* waitingLabel = nullptr;
    QStandardItemModel* model = nullptr;
    QFile configFile;
    QJsonArray modules;
    QStringList moduleCodes;
};
