#include "reports/criteriatablemodel.h"

#include <utility>

namespace
{

const QString kVisibility = QStringLiteral("Visibility");
const QString kCeiling = QStringLiteral("Ceiling");
const QString kDisabledHeader = QStringLiteral("Disabled?");

// A threshold cell holds -1 when the criterion has no value.
constexpr int kBlank = -1;
// Cells of a row: the thresholds, then the disabled flag.
constexpr int kCellsPerRow = 2;

QVector<QVariant> criterionRow(int threshold, bool disabled)
{
    return {QVariant(threshold), QVariant(disabled)};
}

} // namespace

SPECITableModel::SPECITableModel(QString type, QObject* parent)
    : QAbstractTableModel(parent), type(std::move(type))
{
    QVector<int> defaults;
    if (this->type == kVisibility)
        defaults = {4800, 3200, 2400, 1600, 1200, 800, 400};
    else if (this->type == kCeiling)
        defaults = {3000, 2000, 1500, 1000, 800, 700, 500, 300, 200, 100};
    for (int threshold : defaults)
        rows.append(criterionRow(threshold, false));
}

SPECITableModel::~SPECITableModel() = default;

// A table: no cell has children, or a tree view or proxy would see every cell as a parent.
int SPECITableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows.size();
}

int SPECITableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || rows.isEmpty() ? 0 : rows.first().size();
}

QVariant SPECITableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows.size() ||
        index.column() >= rows.at(index.row()).size())
        return {};
    const QVector<QVariant>& row = rows.at(index.row());
    const bool flagColumn = index.column() == row.size() - 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (flagColumn)
            return QVariant(row.at(index.column()).toBool());
        if (row.at(index.column()).toInt() == kBlank)
            return {};
        return QVariant(row.at(index.column()).toInt());
    case Qt::CheckStateRole:
        if (!flagColumn)
            return {};
        return QVariant(int(row.at(index.column()).toBool() ? Qt::Checked : Qt::Unchecked));
    default:
        return {};
    }
}

bool SPECITableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= rows.size() ||
        index.column() >= rows.at(index.row()).size())
        return false;
    QVector<QVariant>& row = rows[index.row()];
    const bool flagColumn = index.column() == row.size() - 1;

    if (flagColumn && role == Qt::CheckStateRole) {
        bool isInt = false;
        const int state = value.toInt(&isInt);
        row[index.column()] = QVariant(isInt && state == Qt::Checked);
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }
    if (flagColumn || role != Qt::EditRole)
        return false;

    bool isInt = false;
    const int threshold = value.toInt(&isInt);
    if (!isInt)
        return false;
    int highest = 0;
    if (type == kVisibility)
        highest = 15999;
    else if (type == kCeiling)
        highest = 24999;
    if (highest > 0 && (threshold == 0 || threshold < kBlank || threshold > highest)) {
        emit validationSPECIFailed(index.row(), QStringLiteral("(1-%1)").arg(highest));
        return false;
    }
    row[index.column()] = QVariant(threshold);
    emit dataChanged(index, index, {Qt::EditRole});
    return true;
}

void SPECITableModel::setUnitThreshold(int row, int threshold)
{
    if (row < 0 || row >= rows.size() || rows.at(row).size() < kCellsPerRow)
        return;
    rows[row][0] = QVariant(threshold);
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::EditRole});
}

QVariant SPECITableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section == 0) {
            if (type == kVisibility)
                return QStringLiteral("meters");
            if (type == kCeiling)
                return QStringLiteral("feet");
            return kDisabledHeader;
        }
        if (section == 1)
            return kDisabledHeader;
        return {};
    }
    if (orientation == Qt::Vertical)
        return QStringLiteral("Index %1").arg(section);
    return {};
}

bool SPECITableModel::insertRows(int row, int count, const QModelIndex&)
{
    if (count <= 0)
        return true;
    row = qBound(0, row, rows.size());
    // A table emptied by the operator keeps its two columns, so that a new row can be filled.
    const int cells = rows.isEmpty() ? kCellsPerRow : columnCount();
    beginInsertRows(QModelIndex(), row, row + count - 1);
    QVector<QVariant> blank(cells, QVariant(kBlank));
    if (cells > 0)
        blank.last() = QVariant(true); // a new criterion starts disabled
    rows.insert(row, count, blank);
    endInsertRows();
    return true;
}

bool SPECITableModel::removeRows(int row, int count, const QModelIndex&)
{
    if (count <= 0)
        return true;
    if (row < 0 || row + count > rows.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    rows.remove(row, count);
    endRemoveRows();
    return true;
}

Qt::ItemFlags SPECITableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags editable = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    if (index.column() == columnCount() - 1)
        return editable | Qt::ItemIsUserCheckable;
    return editable;
}
