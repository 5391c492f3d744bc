#include "measure/ui/RowListModel.h"
#include <climits>

namespace measure {

RowListModel::RowListModel(const RowSource& rows, QObject* parent, Derive derive)
    : QAbstractListModel(parent), rows_(rows), derive_(std::move(derive)) {}

int RowListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

QVariant RowListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_) return {};
    const std::string_view row = rows_.row(static_cast<size_t>(index.row()));
    if (derive_) {
        const std::string text = derive_(row);
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
    return QString::fromLatin1(row.data(), static_cast<qsizetype>(row.size()));
}

void RowListModel::publish() {
    const int total = static_cast<int>(std::min<size_t>(rows_.size(), INT_MAX));
    if (total < shown_) {
        resetRows();
        return;
    }
    if (total == shown_) return;
    beginInsertRows(QModelIndex(), shown_, total - 1);
    shown_ = total;
    endInsertRows();
}

void RowListModel::resetRows() {
    beginResetModel();
    shown_ = static_cast<int>(std::min<size_t>(rows_.size(), INT_MAX));
    endResetModel();
}

} // namespace measure
