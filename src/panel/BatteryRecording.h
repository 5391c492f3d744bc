#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace panel {

// What one sample did to the recording, so the window knows what to show.
struct BatterySampleStep {
    bool stored = false;     // the sample was kept
    bool first = false;      // first sample of the recording: both extremes set, new grid
    bool full = false;       // the sample filled slot 32000: the recording stopped itself
    bool newMaximum = false; // the maximum moved (the first sample moves both)
    bool newMinimum = false;
    bool showValue = false; // LabVBatt's turn: the first sample and every eleventh after it
};

// The battery voltage recording: slots 0..32000 of raw value (hundredths of a volt) and time
// stamp (ms), the index of the next sample, the phase (0 before the first sample), the
// extremes and the running flag. The unit samples every 26 ms, so after the first sample
// each one is stamped 26 ms after its predecessor.
class BatteryRecording {
public:
    static constexpr int LastIndex = 32000;
    static constexpr int Slots = LastIndex + 1;
    static constexpr uint32_t SamplePeriodMs = 26;
    // LabVBatt shows every eleventh sample.
    static constexpr int DisplayEvery = 11;

    BatteryRecording();

    // START: phase 0, next index 0, extremes reset (maximum 0, minimum 100), running.
    void start();
    // MisVBatProc's bookkeeping for one sample. stamp is BatteryStamp: the first sample of
    // a recording takes it as it stands, every later one advances it by 26 ms first. A
    // sample that arrives while no recording runs is not kept.
    BatterySampleStep add(int value, uint32_t& stamp);
    // STOP: the recording ends with the last sample stored. Returns false when it had
    // already ended (it filled up, or STOP was pressed before).
    bool stop();

    bool measuring() const { return measuring_; }
    // Index of the next sample while recording (the value HScrollTempoMem follows).
    int count() const { return count_; }
    // Index of the last sample stored, -1 when the recording is empty.
    int lastIndex() const { return stored_ - 1; }
    int phase() const { return phase_; }
    int maximum() const { return maximum_; }
    int minimum() const { return minimum_; }
    int value(int i) const { return values_[static_cast<std::size_t>(i)]; }
    uint32_t stamp(int i) const { return stamps_[static_cast<std::size_t>(i)]; }

private:
    std::vector<int> values_;
    std::vector<uint32_t> stamps_;
    int count_ = 0;
    int stored_ = 0;
    int phase_ = 0;
    int maximum_ = 0;
    int minimum_ = 0;
    int displayCounter_ = 0; // 0..10
    bool measuring_ = false;
};

} // namespace panel
