#include "panel/BatteryRecording.h"

namespace panel {

BatteryRecording::BatteryRecording() : values_(Slots, 0), stamps_(Slots, 0) {}

void BatteryRecording::start() {
    phase_ = 0;
    count_ = 0;
    stored_ = 0;
    displayCounter_ = 0;
    maximum_ = 0;
    minimum_ = 100;
    measuring_ = true;
}

BatterySampleStep BatteryRecording::add(int value, uint32_t& stamp) {
    BatterySampleStep step;
    // Samples still in the input after STOP or after the recording filled up would
    // overwrite the last one or run past slot 32000.
    if (!measuring_) return step;

    if (phase_ == 1) stamp += SamplePeriodMs;
    values_[static_cast<std::size_t>(count_)] = value;
    stamps_[static_cast<std::size_t>(count_)] = stamp;
    stored_ = count_ + 1;
    step.stored = true;
    if (count_ == LastIndex) {
        // Slot 32000 is the last one: the recording ends here, this sample included.
        measuring_ = false;
        step.full = true;
        return step;
    }
    ++count_;

    if (phase_ == 0) {
        phase_ = 1;
        maximum_ = value;
        minimum_ = value;
        step.first = true;
        step.newMaximum = true;
        step.newMinimum = true;
    } else {
        if (value > maximum_) {
            maximum_ = value;
            step.newMaximum = true;
        }
        if (value < minimum_) {
            minimum_ = value;
            step.newMinimum = true;
        }
    }

    step.showValue = displayCounter_ == 0;
    displayCounter_ = (displayCounter_ + 1) % DisplayEvery;
    return step;
}

bool BatteryRecording::stop() {
    if (!measuring_) return false;
    measuring_ = false;
    count_ = stored_ > 0 ? stored_ - 1 : 0;
    return true;
}

} // namespace panel
