#include "reports/criteriatablemodel.h"

// Rows, editing and range checks come with the SPECI tables' own work.

SPECITableModel::SPECITableModel(QString type, QObject* parent)
    : QAbstractTableModel(parent), type(std::move(type))
{
}

SPECITableModel::~SPECITableModel() = default;

int SPECITableModel::rowCount(const QModelIndex&) const
{
    return rows.size();
}

int SPECITableModel::columnCount(const QModelIndex&) const
{
    return rows.isEmpty() ? 0 : rows.first().size();
}

QVariant SPECITableModel::data(const QModelIndex&, int) const
{
    return {};
}
