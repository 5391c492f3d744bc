#pragma once
#include <cstdint>
#include <string>

namespace unit {

// When the simulated unit's EEPROM goes to its file. A change is saved once changes have
// rested for the save delay. A failed save (full disk, read-only folder) is reported once,
// until a save succeeds again; the change stays pending and is tried again as soon as the
// EEPROM changes again, after the retry delay, and when the unit stops. Times are
// milliseconds from any origin.
class DeferredSave {
public:
    DeferredSave(int64_t delayMs, int64_t retryMs) : delay_(delayMs), retry_(retryMs) {}

    // The EEPROM's revision as it stands now; a save loaded from the file counts as saved.
    void observe(uint64_t revision, int64_t nowMs);
    // Whether to write now; force when the unit stops.
    bool due(int64_t nowMs, bool force) const;
    // A write of revision has ended, error empty on success. True when this failure is to
    // be reported (the first since the last success).
    bool finished(uint64_t revision, const std::string& error, int64_t nowMs);

    bool pending() const { return latest_ != saved_; }
    bool failing() const { return failing_; }

private:
    int64_t delay_;
    int64_t retry_;
    uint64_t latest_ = 0;
    uint64_t saved_ = 0;
    int64_t changedAt_ = 0;
    bool failing_ = false;
    uint64_t failedRevision_ = 0;
    int64_t failedAt_ = 0;
};

} // namespace unit
