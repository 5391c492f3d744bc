#include "measure/ui/frmMisAntRows.h"

frmMisAntRows::frmMisAntRows(const RowStore& store, QObject* parent)
    : QAbstractListModel(parent), store_(store) {}

int frmMisAntRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

QVariant frmMisAntRows::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_) return {};
    const std::string_view row = store_.row(static_cast<size_t>(index.row()));
    return QString::fromLatin1(row.data(), static_cast<qsizetype>(row.size()));
}

void frmMisAntRows::sync() {
    const int count = static_cast<int>(store_.size());
    if (count <= shown_) return;
    beginInsertRows({}, shown_, count - 1);
    shown_ = count;
    endInsertRows();
}

void frmMisAntRows::reset() {
    beginResetModel();
    shown_ = static_cast<int>(store_.size());
    endResetModel();
}
