// Arbitrary message streams through DecodeMIDIIn, with the windows expecting data or not,
// starting and stopping, and the link asking for modes and letting time pass in between: the
// decoder's state stays within its ranges, every row it hands over is a 95-column row, and
// the link's mode and holder agree.
#include "FuzzCheck.h"
#include "base/AppState.h"
#include "base/Notifier.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "support/FakeMidiSystem.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiPort.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace base;
using namespace timing;
using namespace transport;
using namespace protocol;

namespace {
struct QuietNotifier : Notifier {
    int notices = 0;
    void warning(const std::string&, const std::string&) override {}
    Answer question(const std::string&, const std::string&) override { return Answer::Yes; }
    void notice(const std::string& text) override {
        check(text.rfind("Errore: MIV", 0) == 0);
        ++notices;
    }
};

struct Rows : MeasurementSink {
    bool isRunning = true;
    int64_t lastRow = 0;
    bool running() const override { return isRunning; }
    void addRow(const MeasurementRow& row) override {
        check(row.text.size() == static_cast<size_t>(kRowLength));
        for (char c : row.text)
            check(c >= ' ' && c <= '~');
        check(row.rowNo >= 1 && row.rowNo <= 999'999);
        check(row.Tss <= row.Ta);
        check(row.Tc == row.Tb + row.Ta);
        check(row.A1 >= 0 && row.A1 <= 255 && row.A2 >= 0 && row.A2 <= 255);
        lastRow = row.rowNo;
    }
};

struct Panel : PanelSink {
    void enableClearText1() override {}
    void setPMIDIIn(const std::string& hex) override { check(hex.size() == 6); }
    void setRdDAT(const std::string& hex) override { check(hex.size() == 2); }
    void appendLog(const std::string& line) override {
        check(line.size() >= 9 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    }
    void clearLog() override {}
};

struct Battery : BatterySink {
    void setRevolutions(const std::string& text) override { check(text.size() <= 6); }
    void setStatus(int bits45, const std::string&) override { check(bits45 >= 0 && bits45 <= 3); }
    void MisVBatProc(int hundredths) override { check(hundredths >= 0 && hundredths <= 2033); }
};

// The port and its ring (384 KB) are made once; what the decoder works on is made afresh
// for every input.
struct Link {
    Texts texts;
    QuietNotifier notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    FakeMidiSystem fake;
    MidiPort port{fake, messages, clock};
};

Link& link() {
    static Link* const shared = new Link;
    return *shared;
}

struct Bench {
    Link& l = link();
    MidiPort& port = l.port;
    QuietNotifier& notifier = l.notifier;
    AppState app;
    DecoderTargets targets;
    Rows rotation, advance;
    Panel panel;
    Battery battery;
    Decoder decoder{port, app, notifier, targets};
    UnitLink unitLink{port, decoder, targets};
};

void checkState(const Decoder& d) {
    check(d.Tb <= 0x7FFFF && d.Tib <= 0x7FFFF);
    check(d.Ta <= 0x1FFFF && d.Tss <= 0x1FFFF);
    check(d.TbPrev <= 0x7FFFF && d.Tc <= 0x7FFFF + 0x1FFFF);
    check(d.LastKind == 0 || d.LastKind == 0x80 || d.LastKind == 0x90 || d.LastKind == 0xA0 ||
          d.LastKind == 0xB0 || d.LastKind == 0xE0);
    check(d.RxLineNo >= 1 && d.RxLineNo <= Decoder::LastLogLine);
    check(d.BatterySamples >= 0 && d.BatterySamples <= Decoder::BatteryMaxSamples);
    check(d.RowCounter >= 0 && d.RowCounter <= 999'999);
    check(d.ElapsedUs >= 0);
    check(d.A1 >= 0 && d.A1 <= 255 && d.A2 >= 0 && d.A2 <= 255);
    check(d.TbText.size() <= 9 && d.DTbText.size() <= 8 && d.TaText.size() <= 7);
    check(d.TibText.size() <= 9 && d.TssText.size() <= 7 && d.TcText.size() <= 9);
    check(d.RotText.size() <= 6);
}

// What the link does for a window: ask for a mode, give it back, let time pass, record.
void linkStep(Bench& b, uint8_t op, int winNo) {
    UnitLink& l = b.unitLink;
    switch (op % 7) {
    case 0:
        l.enterMode(winNo, static_cast<UnitMode>(1 + op / 7 % 3), nullptr);
        break;
    case 1:
        l.leaveMode(l.holder());
        break;
    case 2:
        l.elapse(op * 8);
        break;
    case 3:
        l.startRecording(op & 0x10 ? base::AdvanceWindow : base::RotationWindow, op & 0x20);
        break;
    case 4:
        l.stopRecording(op & 0x10 ? base::AdvanceWindow : base::RotationWindow);
        break;
    case 5:
        l.suspend(op & 0x10);
        break;
    default:
        l.windowClosed(winNo);
        break;
    }
    check((l.mode() == UnitMode::Run) == (l.holder() == 0));
    check(l.holder() >= 0 && l.holder() <= base::WindowCount);
}

// A control byte: which windows expect the unit's messages and which are running; or, with
// its top bit in extra, one step of the link.
void applyControl(Bench& b, uint8_t control, uint8_t extra) {
    const int curveSlot = base::FirstCurveWindow + extra % 10;
    if (extra & 0x80) {
        linkStep(b, control, curveSlot);
        return;
    }
    std::bitset<base::WindowCount + 1>& expecting = b.targets.expecting;
    for (int slot = base::FirstCurveWindow; slot <= base::LastCurveWindow; ++slot)
        expecting.reset(static_cast<size_t>(slot));
    expecting.set(base::BatteryWindow, control & 0x01);
    expecting.set(base::PanelWindow, control & 0x02);
    expecting.set(static_cast<size_t>(curveSlot), control & 0x04);
    expecting.set(base::RotationWindow, control & 0x08);
    expecting.set(base::AdvanceWindow, control & 0x10);
    b.rotation.isRunning = control & 0x20;
    b.advance.isRunning = control & 0x40;
    b.app.CurrentWinNo = extra % 44;
    if (control & 0x80) b.decoder.resetMeasurement();
    // Decoding was stopped by a value that did not fit: a window enables it again.
    b.decoder.enableDecoding();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto bench = std::make_unique<Bench>();
    Bench& b = *bench;
    b.targets.rotation = &b.rotation;
    b.targets.advance = &b.advance;
    b.targets.panel = &b.panel;
    b.targets.battery = &b.battery;
    b.port.MIDIInDecode = true;
    b.port.StopMIDIPoll = false;
    if (size > 0 && data[0] & 1) b.decoder.RowCounter = 999'990; // reach the row limit

    // Four bytes per step: a message (status, data1, data2, top byte), or, when the top
    // byte is 0xFF, a change of the windows.
    for (size_t i = 0; i + 4 <= size; i += 4) {
        if (data[i + 3] == 0xFF) {
            applyControl(b, data[i], data[i + 1]);
            continue;
        }
        const uint32_t top = data[i + 3] == 0xFE ? 0x01000000u : 0u;
        b.decoder.DecodeMIDIIn(data[i] | data[i + 1] << 8 | data[i + 2] << 16 | top);
        // After a fault the decoder rests with the value that did not fit until decoding is
        // enabled again.
        if (b.port.MIDIInDecode) checkState(b.decoder);
    }
    return 0;
}
