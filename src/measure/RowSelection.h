#pragma once
#include "measure/RowStore.h"
#include <cstddef>
#include <vector>

namespace measure {

// The rows one window shows of a store another window fills: the advance window reads the
// rotation window's rows, from the row that came when it began following on, less the rows
// that came while it was suspended. It holds no row itself, only where its runs begin and
// end.
class RowSelection final : public RowSource {
public:
    // Shows the rows of store appended from now on (none yet).
    void follow(const RowStore& store);
    // Shows every row of store, those to come included.
    void showAll(const RowStore& store);
    const RowStore* store() const { return store_; }
    // Rows appended while paused are left out.
    void pause();
    void resume();
    bool paused() const { return !open_; }
    // Nothing shown; rows appended later are, unless paused.
    void clear();

    size_t size() const override;
    std::string_view row(size_t index) const override;

private:
    struct Run {
        size_t from = 0; // in the store
        size_t count = 0;
        size_t before = 0; // rows of the runs before this one
    };
    const RowStore* store_ = nullptr;
    std::vector<Run> closed_;
    bool open_ = false;
    size_t openFrom_ = 0;
    size_t closedRows_ = 0;
};

} // namespace measure
