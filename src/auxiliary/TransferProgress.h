#pragma once
#include <string>

namespace auxiliary {

// How far a transfer into the unit has come, and what its progress window and the main
// window's status bar say about it. Time is the transfer's own: the ticks it was given.
struct TransferProgress {
    int total = 0;      // steps of the whole job: every byte written and every byte read back
    int done = 0;       // steps finished
    long elapsedMs = 0; // time the transfer has run

    void start(int steps) { *this = TransferProgress{steps, 0, 0}; }
    // Whole per cent of the job done: 100 only once every step is finished.
    int percent() const;
    // Whole seconds still to go at the pace so far, rounded up; -1 before the first step.
    int secondsLeft() const;
};

// What a transfer writes: a curve (1 or 2; 12 for both) or the coil pulse program.
struct TransferSubject {
    enum class Kind { Curve, CoilPulse };
    Kind kind = Kind::Curve;
    int curve = 1;
    bool master = true; // MDX, else MSX
};

// The phase in words: "Scrittura curva 1 in MDX", "Verifica curva 1 in MDX" ("Writing
// curve 1 into MDX", "Verifying curve 1 in MDX"), by the string table half (LangOffset).
std::string transferPhaseText(const TransferSubject& subject, bool verifying, int langOffset);
// The percentage and the time left: "42% - mancano 1 min 05 s" ("42% - 1 min 05 s left");
// the percentage alone while the pace is not known.
std::string transferProgressText(const TransferProgress& progress, int langOffset);
// The status bar after a transfer that ended well: "Curva 1 scritta in MDX e verificata in
// 17,6 s" ("Curve 1 written into MDX and verified in 17.6 s").
std::string transferDoneText(const TransferSubject& subject, long elapsedMs, int langOffset);

} // namespace auxiliary
