#pragma once
#include "measure/RowStore.h"
#include <QAbstractListModel>

// A list view's rows over a RowStore: rows appended to the store show up at the next sync(),
// in one insertion, so a fast stream costs the view one update per screen refresh.
class frmMisAntRows : public QAbstractListModel {
    Q_OBJECT
public:
    frmMisAntRows(const RowStore& store, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Tells the view about the rows appended since the last call.
    void sync();
    // The store was emptied or filled anew.
    void reset();

private:
    const RowStore& store_;
    int shown_ = 0;
};
