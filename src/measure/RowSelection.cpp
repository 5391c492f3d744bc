#include "measure/RowSelection.h"
#include <algorithm>

namespace measure {

void RowSelection::follow(const RowStore& store) {
    store_ = &store;
    closed_.clear();
    closedRows_ = 0;
    open_ = true;
    openFrom_ = store.size();
}

void RowSelection::showAll(const RowStore& store) {
    follow(store);
    openFrom_ = 0;
}

void RowSelection::pause() {
    if (!open_ || !store_) return;
    const size_t count = store_->size() - openFrom_;
    if (count > 0) {
        closed_.push_back({openFrom_, count, closedRows_});
        closedRows_ += count;
    }
    open_ = false;
}

void RowSelection::resume() {
    if (open_ || !store_) return;
    open_ = true;
    openFrom_ = store_->size();
}

void RowSelection::clear() {
    const bool wasOpen = open_;
    closed_.clear();
    closedRows_ = 0;
    open_ = wasOpen;
    openFrom_ = store_ ? store_->size() : 0;
}

size_t RowSelection::size() const {
    if (!store_) return 0;
    return closedRows_ + (open_ ? store_->size() - openFrom_ : 0);
}

std::string_view RowSelection::row(size_t index) const {
    if (index >= closedRows_) return store_->row(openFrom_ + index - closedRows_);
    const auto run = std::upper_bound(closed_.begin(), closed_.end(), index,
                                      [](size_t i, const Run& r) { return i < r.before; }) -
                     1;
    return store_->row(run->from + index - run->before);
}

} // namespace measure
