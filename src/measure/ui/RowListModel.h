#pragma once
#include "measure/RowStore.h"
#include <QAbstractListModel>
#include <functional>
#include <string>

namespace measure {

// A list view's model over the rows of a RowSource: the rows themselves, or a text derived
// from each row when it is asked for (the extended table), so a million rows cost the view
// nothing until they are shown. Rows appended to the store appear when publish() is called.
class RowListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using Derive = std::function<std::string(std::string_view row)>;

    explicit RowListModel(const RowSource& rows, QObject* parent = nullptr, Derive derive = {});

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Shows the rows appended since the last call.
    void publish();
    // The store was emptied or replaced.
    void resetRows();

private:
    const RowSource& rows_;
    Derive derive_;
    int shown_ = 0;
};

} // namespace measure
