#pragma once
#include "auxiliary/TransferProgress.h"
#include "curve/CurveModel.h"
#include "protocol/UnitReplyWait.h"
#include <string>

namespace transport {
class MidiPort;
} // namespace transport

namespace curve {

// Writes a curve's unit table and the maximum rpm into a module, byte by byte, then reads
// them back and compares. One step per tick of the window's 80 ms timer:
//   0 start; 1 maximum rpm to address 5; 2 one table entry per tick (6.. or 113..; in
//   both-curves mode curve 1 then curve 2); 4 flags byte 4 read, its curve bits cleared,
//   written back; 5 address 5 read back; 6 one entry read back per tick.
// Writes are paced by the timer alone; each read and the flags write wait for the matching
// reply, at most about a second.
class CurveTransfer {
public:
    static constexpr int TickMs = 80;

    enum class Outcome {
        Running,
        Completed,
        Failed,   // wrong module or a different value read back
        NoAnswer, // a reply did not come in time
    };

    struct Setup {
        bool master = true;
        int choice = 1; // 1, 2 or 12 (both)
        int maxRpm = 0; // sent as maxRpm \ 100
        Table table1{};
        Table table2{};
    };

    CurveTransfer(transport::MidiPort& port, protocol::UnitReplyWait& wait)
        : port_(port), wait_(wait) {}

    void start(const Setup& setup);
    // One timer tick; tickMs of time have passed since the last one.
    Outcome tick(int tickMs = TickMs);
    void stop();
    bool running() const { return running_; }

    // ProgState, ProgIndex, ProgCurve, ProgBoth
    int ProgState = 0;
    int ProgIndex = 0;
    int ProgCurve = 1;
    bool ProgBoth = false;

    // The progress window: its caption and bar position (range 0..108).
    const std::string& progressCaption() const { return caption_; }
    int progressPosition() const { return position_; }
    // The whole job: the maximum rpm, each table entry and the flags byte written, then
    // the maximum rpm and each entry read back.
    const auxiliary::TransferProgress& progress() const { return progress_; }
    // Reading back (states 5 and 6), else writing.
    bool verifying() const { return ProgState >= 5; }

private:
    void write(int address, int value);
    void read(int address);
    int entry(int curve, int index) const;
    void setCaption(bool verifying);
    Outcome finish(Outcome outcome);
    // The wait's end: Running while it goes on, or a failure.
    Outcome waitOutcome(int tickMs, bool& answered);

    transport::MidiPort& port_;
    protocol::UnitReplyWait& wait_;
    Setup setup_;
    bool running_ = false;
    int flagsStep_ = 0; // state 4: 0 send the read, 1 await it, 2 await the write echo
    std::string caption_;
    int position_ = 0;
    auxiliary::TransferProgress progress_;
};

} // namespace curve
