#include "unit/DeferredSave.h"

namespace unit {

void DeferredSave::observe(uint64_t revision, int64_t nowMs) {
    if (revision == latest_) return;
    latest_ = revision;
    changedAt_ = nowMs;
}

bool DeferredSave::due(int64_t nowMs, bool force) const {
    if (!pending()) return false;
    if (force) return true;
    const bool rested = nowMs - changedAt_ >= delay_;
    if (!failing_) return rested;
    // After a failure: not again and again, but at every new change and now and then.
    return (latest_ != failedRevision_ && rested) || nowMs - failedAt_ >= retry_;
}

bool DeferredSave::finished(uint64_t revision, const std::string& error, int64_t nowMs) {
    if (error.empty()) {
        if (revision > saved_) saved_ = revision;
        failing_ = false;
        return false;
    }
    const bool first = !failing_;
    failing_ = true;
    failedRevision_ = revision;
    failedAt_ = nowMs;
    return first;
}

} // namespace unit
