#include "protocol/InputNotices.h"

int64_t InputSilence::silentSeconds(int64_t nowMs) const {
    if (!waiting_ || nowMs - last_ < LimitMs) return 0;
    return (nowMs - last_) / 1000;
}

std::string noDataNotice(int64_t seconds, int langOffset) {
    const std::string n = std::to_string(seconds);
    return langOffset == 0 ? "Nessun dato dall'unit\xE0 da " + n + " s"
                           : "No data from the unit for " + n + " s";
}

std::string lostMessagesNotice(uint32_t lost, int langOffset) {
    const std::string n = std::to_string(lost);
    return langOffset == 0 ? "Messaggi MIDI persi: " + n : "MIDI messages lost: " + n;
}

std::string linesNotShownNotice(uint64_t lines, int langOffset) {
    const std::string n = std::to_string(lines);
    return langOffset == 0 ? "Righe non mostrate: " + n : "Lines not shown: " + n;
}
