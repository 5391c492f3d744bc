#pragma once
#include "curve/CurveModel.h"
#include "measure/AdvanceRow.h"
#include "measure/RowStore.h"
#include "protocol/UnitLink.h"
#include "protocol/UnitReplyWait.h"
#include <cstddef>
#include <optional>
#include <vector>

namespace transport {
class MidiPort;
} // namespace transport

namespace measure {

// The closed-loop check of the advance window: the curve programmed in the unit against
// the advance the unit actually produced.

// The unit times a revolution from the table entry of the 100 rpm step at or below its
// speed (entry 12 is 500 rpm, entry 106 9,900 rpm, held at both ends); the entry's count
// of 3.2 us is the advance time. The advance in degrees that makes at rpm; nothing when
// the entry holds 0.
std::optional<double> programmedAdvance(const curve::Table& table, double rpm);

// The programmed curve as the diagram draws it: for every entry that holds a count, its
// advance at both ends of its 100 rpm step (rpm, tenths of a degree), in speed order.
std::vector<AdvancePoint> referenceCurve(const curve::Table& table);

struct ClosedLoopSummary {
    std::size_t compared = 0; // rows with a measured and a programmed advance
    double largest = 0;       // the difference largest in size, degrees (measured - programmed)
    int64_t rpmOfLargest = 0;

    // Compares one advance row with the table: its difference (nothing where the row has no
    // advance or the table no entry), counted and kept when it is the largest in size.
    std::optional<double> add(std::string_view advanceRow, const curve::Table& table);
};

// Reads a curve's table back from a module. The unit answers memory requests only in
// programming mode, so the read-back first asks the link for it (0xD1 and the unit's 0xD1,
// on behalf of the advance window); then one read request per entry (addresses 6.. for
// curve 1, 113.. for curve 2), each sent when the previous one was answered; at the end,
// however it ends, the link puts the unit back in run mode, where it streams its revolutions
// again. Time passes through tick(); an answer that does not come within its wait ends the
// read-back.
class TableReadBack : public protocol::ModeHolder {
public:
    enum class Outcome {
        Running,
        Completed,
        WrongModule, // the other module answered a read
        Refused,     // the unit answered 0xD0 to 0xD1: it stays in run mode
        NoAnswer,    // the mode answer or a read's reply did not come in time
    };

    // Without a link to the unit a read-back never starts.
    TableReadBack(transport::MidiPort& port, protocol::UnitReplyWait& wait,
                  protocol::UnitLink* link)
        : port_(port), wait_(wait), link_(link) {}
    ~TableReadBack() override {
        if (link_) link_->forget(this);
    }
    TableReadBack(const TableReadBack&) = delete;
    TableReadBack& operator=(const TableReadBack&) = delete;
    void start(bool master, int curveNo);
    Outcome tick(int ms);
    // Ends a running read-back now, the unit sent back to run mode.
    void stop();
    bool running() const { return phase_ != Phase::Idle; }
    int entriesRead() const { return next_; }
    const curve::Table& table() const { return table_; }

    void modeAnswered(int status) override { modeAnswer_ = status; }
    void modeTimedOut() override { modeTimedOut_ = true; }

private:
    enum class Phase { Idle, EnteringMode, Reading };
    void requestNext();
    Outcome finish(Outcome outcome);

    transport::MidiPort& port_;
    protocol::UnitReplyWait& wait_;
    protocol::UnitLink* link_;
    int modeAnswer_ = 0;
    bool modeTimedOut_ = false;
    bool master_ = true;
    int base_ = 6;
    int next_ = 0;
    Phase phase_ = Phase::Idle;
    curve::Table table_{};
};

} // namespace measure
