#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace measure {

// Rows a view, a file or an export reads one by one, oldest first.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual size_t size() const = 0;
    // Row index (0-based). index < size().
    virtual std::string_view row(size_t index) const = 0;
    bool empty() const { return size() == 0; }
};

// Fixed-width text rows held back to back in chunks: a row costs its width in bytes and
// appending never moves the rows already held (no reallocation pause on a long run).
class RowStore final : public RowSource {
public:
    static constexpr size_t RowsPerChunk = 4096;

    explicit RowStore(size_t width = 95) : width_(width) {}

    size_t width() const { return width_; }
    size_t size() const override { return count_; }
    bool empty() const { return count_ == 0; }
    // Row index (0-based), exactly width() characters. index < size().
    std::string_view row(size_t index) const override {
        return {chunks_[index / RowsPerChunk].get() + (index % RowsPerChunk) * width_, width_};
    }
    // Appends text cut or padded with blanks to the row width.
    void append(std::string_view text);
    // Drops every row and gives the memory back.
    void clear();
    // Bytes held for the rows (chunks and their index).
    size_t memoryBytes() const;

private:
    size_t width_;
    size_t count_ = 0;
    std::vector<std::unique_ptr<char[]>> chunks_;
};

} // namespace measure
