#pragma once
#include <QTableView>

namespace measure {

// A list box over a row model that stays quick with a million rows: one column filling the
// width, rows of one fixed height, no headers or grid, whole-row single selection. (A list
// view lays every item out again when rows are added; a table's fixed rows are only
// counted.)
class RowListView : public QTableView {
    Q_OBJECT
public:
    explicit RowListView(QWidget* parent = nullptr);
    // The row height follows the font.
    void setFont(const QFont& font);
};

} // namespace measure
