#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QVariant>
#include <QVector>

// One SPECI criteria table ("Visibility" or "Ceiling"): a threshold and a disabled flag per row.
class SPECITableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SPECITableModel(QString type, QObject* parent = nullptr);
    ~SPECITableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A threshold as the unit holds it: stored without the operator's range check, so that the
    // table shows what the unit sent. -1 leaves the cell blank.
    void setUnitThreshold(int row, int threshold);

signals:
    void validationSPECIFailed(int row, QString range);

private:
    QVector<QVector<QVariant>> rows;
    QString type;
};
