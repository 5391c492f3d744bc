#pragma once
#include <cstdint>
#include <string>

namespace protocol {

// What a window that waits for the unit tells the user about its input.

// Notices when no data has come for a while: a recording waiting on a silent unit shows it
// instead of an endless 0. Times are milliseconds from any origin.
class InputSilence {
public:
    static constexpr int64_t LimitMs = 3000;

    // Waiting begins (a recording starts) / ends.
    void start(int64_t nowMs) {
        waiting_ = true;
        last_ = nowMs;
    }
    void stop() { waiting_ = false; }
    void arrived(int64_t nowMs) { last_ = nowMs; }
    // Whole seconds without data once LimitMs have passed while waiting, else 0.
    int64_t silentSeconds(int64_t nowMs) const;

private:
    bool waiting_ = false;
    int64_t last_ = 0;
};

// "Nessun dato dall'unità da 4 s" (LangOffset 0) / "No data from the unit for 4 s" (200);
// 8-bit text.
std::string noDataNotice(int64_t seconds, int langOffset);
// "Messaggi MIDI persi: 5" / "MIDI messages lost: 5": messages the full input ring lost.
std::string lostMessagesNotice(uint32_t lost, int langOffset);
// "Righe non mostrate: 7" / "Lines not shown: 7": monitor lines that came faster than the
// monitor shows them and were dropped, the oldest first.
std::string linesNotShownNotice(uint64_t lines, int langOffset);

} // namespace protocol
