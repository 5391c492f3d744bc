#include "measure/ui/RowListView.h"
#include <QFontMetrics>
#include <QHeaderView>

namespace measure {

RowListView::RowListView(QWidget* parent) : QTableView(parent) {
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setFont(font());
}

void RowListView::setFont(const QFont& font) {
    QTableView::setFont(font);
    const int h = QFontMetrics(font).height() + 2;
    verticalHeader()->setMinimumSectionSize(h);
    verticalHeader()->setDefaultSectionSize(h);
}

} // namespace measure
