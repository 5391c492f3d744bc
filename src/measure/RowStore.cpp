#include "measure/RowStore.h"
#include <algorithm>
#include <cstring>

namespace measure {

void RowStore::append(std::string_view text) {
    const size_t slot = count_ % RowsPerChunk;
    if (slot == 0 && count_ / RowsPerChunk == chunks_.size())
        chunks_.push_back(std::make_unique<char[]>(RowsPerChunk * width_));
    char* dest = chunks_[count_ / RowsPerChunk].get() + slot * width_;
    const size_t n = std::min(text.size(), width_);
    if (n) std::memcpy(dest, text.data(), n);
    std::memset(dest + n, ' ', width_ - n);
    ++count_;
}

void RowStore::clear() {
    chunks_.clear();
    chunks_.shrink_to_fit();
    count_ = 0;
}

size_t RowStore::memoryBytes() const {
    return chunks_.size() * (RowsPerChunk * width_ + sizeof(std::unique_ptr<char[]>)) +
           sizeof(*this);
}

} // namespace measure
