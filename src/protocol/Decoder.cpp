#include "protocol/Decoder.h"
#include "transport/MidiPort.h"

using namespace base;
using namespace transport;

namespace protocol {

namespace {

constexpr int kTb = 0x80;    // Tb bits 0-17
constexpr int kTa = 0x90;    // Ta bits 0-16, Tb bit 18
constexpr int kTib = 0xA0;   // Tib bits 0-17
constexpr int kTss = 0xB0;   // Tss bits 0-16, Tib bit 18
constexpr int kMode = 0xD0;  // mode answers
constexpr int kClose = 0xE0; // the two status bytes that close a revolution

// The kind a message of one revolution's burst must follow; 0 for 0x80 (which follows
// anything) and for kinds that are not part of a burst.
int burstPredecessor(int kind) {
    switch (kind) {
    case kTa:
        return kTb;
    case kTib:
        return kTa;
    case kTss:
        return kTib;
    case kClose:
        return kTss;
    default:
        return 0;
    }
}

int bit(int value, int n) {
    return (value >> n) & 1;
}

std::string hexText(int status, int data1, int data2) {
    return hexByte(status) + hexByte(data1) + hexByte(data2);
}

} // namespace

Decoder::Decoder(MidiPort& port, AppState& app, Notifier& notifier, DecoderTargets& targets)
    : port_(port), app_(app), notifier_(notifier), targets_(targets) {
    row_.text.reserve(kRowLength);
    rowText_.reserve(kRowLength);
}

void Decoder::inputGap() {
    LastKind = 0;
}

void Decoder::resetMeasurement() {
    LastKind = 0;
    Synced = false;
    TbPrev = 0;
}

void Decoder::enableDecoding() {
    if (!port_.MIDIInDecode) {
        resetMeasurement();
        RotText.clear();
    }
    port_.MIDIInDecode = true;
}

void Decoder::newMeasurement() {
    RowCounter = 0;
    ElapsedUs = 0;
}

void Decoder::fault() {
    port_.MIDIInDecode = false;
    notifier_.notice("Errore: MIV" + std::to_string(app_.TraceStep));
}

void Decoder::DecodeMIDIIn(uint32_t message) {
    if (!port_.MIDIInDecode) return;
    if (targets_.main) targets_.main->inputActivity();

    app_.TraceStep = StepSplit;
    RxStatus = static_cast<int>(message & 0xFF);
    RxKind = RxStatus & 0xF0;
    RxData1 = static_cast<int>((message >> 8) & 0xFF);
    RxData2 = static_cast<int>((message >> 16) & 0xFFFF);
    // Data bytes are 7-bit: anything else is not a message of the unit and would push the
    // rebuilt values past their fields.
    if (RxData1 > 0x7F || RxData2 > 0x7F) return;
    // The windows that expect the unit's messages, as they were when it arrived: a mode
    // answer may end a window's turn, but that answer is still its own.
    const std::bitset<base::WindowCount + 1> expecting = targets_.expecting;
    // A listener may end its wait and leave the list while it is offered the message.
    const std::vector<ReplyListener*> listeners = targets_.replies;
    for (ReplyListener* l : listeners)
        l->offer(message);

    // Among the windows that expect data, the first in this order takes the message.
    auto takes = [&expecting](int slot) { return expecting.test(static_cast<size_t>(slot)); };
    if (takes(base::BatteryWindow)) {
        batteryBranch();
        return;
    }
    if (takes(base::PanelWindow)) {
        panelBranch();
        return;
    }
    for (int slot = base::FirstCurveWindow; slot <= base::LastCurveWindow; ++slot) {
        if (takes(slot)) {
            curveBranch();
            return;
        }
    }
    if (takes(base::RotationWindow)) {
        measurementBranch(targets_.rotation,
                          takes(base::AdvanceWindow) ? targets_.advance : nullptr);
        return;
    }
    if (takes(base::AdvanceWindow)) measurementBranch(targets_.advance, nullptr);
}

// Tb of a 0x80 message, completed by the 0x90 that follows it.
void Decoder::completeTb() {
    const uint32_t high = static_cast<uint32_t>((PrevStatus & 12) / 4 + 4 * bit(RxStatus, 3));
    Tb += high * 65536;
}

void Decoder::takeTa() {
    Ta = static_cast<uint32_t>((RxData2 + 128 * bit(RxStatus, 1)) * 256 + RxData1 +
                               128 * bit(RxStatus, 0) + 65536 * bit(RxStatus, 2));
    Tc = Tb + Ta;
}

void Decoder::measurementBranch(MeasurementSink* sink, MeasurementSink* alsoAdvance) {
    app_.TraceStep = StepMeasure;
    if (!sink || !sink->running()) return;
    if (!Synced) {
        if (RxKind != kTb) {
            TbPrev = 0;
            return;
        }
        Synced = true;
    }
    // A message out of its place in the burst (a duplicate, or the tail of a burst that lost
    // its head) drops the revolution in progress, so what follows cannot close a row with the
    // values already taken; nothing but the next 0x80 starts again.
    if (const int before = burstPredecessor(RxKind); before != 0 && LastKind != before) {
        LastKind = 0;
        return;
    }
    const uint32_t value = static_cast<uint32_t>((RxData2 + 128 * bit(RxStatus, 1)) * 256 +
                                                 RxData1 + 128 * bit(RxStatus, 0));
    switch (RxKind) {
    case kTb:
        // A 0x80 always opens a new burst: whatever was left of a broken one is dropped, so
        // a row never mixes two revolutions.
        app_.TraceStep = StepTb;
        Tb = value;
        PrevStatus = RxStatus;
        LastKind = kTb;
        return;
    case kTa: {
        app_.TraceStep = StepTa;
        completeTb();
        TbText = rightAligned(formatMillisGrouped(ticksToMicros(Tb)), TbWidth);
        const int64_t change = static_cast<int64_t>(Tb) - static_cast<int64_t>(TbPrev);
        DTbText = rightAligned(formatSignedMillis(ticksToMicros(change)), DTbWidth);
        takeTa();
        TaText = rightAligned(formatMillisGrouped(ticksToMicros(Ta)), TaWidth);
        LastKind = kTa;
        return;
    }
    case kTib:
        app_.TraceStep = StepTib;
        Tib = value;
        PrevStatus = RxStatus;
        LastKind = kTib;
        return;
    case kTss:
        app_.TraceStep = StepTss;
        Tib += static_cast<uint32_t>((PrevStatus & 12) / 4 + 4 * bit(RxStatus, 3)) * 65536;
        TibText = rightAligned(formatMillisGrouped(ticksToMicros(Tib)), TibWidth);
        Tss = value + 65536 * static_cast<uint32_t>(bit(RxStatus, 2));
        if (Tss > Ta) Tss = Ta;
        TssText = rightAligned(formatMillis(ticksToMicros(Tss)), TssWidth);
        LastKind = kTss;
        return;
    case kClose:
        app_.TraceStep = StepClose;
        LastKind = kClose;
        if (!closeCycle(sink, alsoAdvance)) fault();
        return;
    default:
        return;
    }
}

// The closing 0xE0: the row of the revolution. False on a value that does not fit; the
// revolution is then dropped and the counters stay as they were.
bool Decoder::closeCycle(MeasurementSink* sink, MeasurementSink* alsoAdvance) {
    A1 = RxData1 + 128 * bit(RxStatus, 0);
    A2 = RxData2 + 128 * bit(RxStatus, 1);
    Tc = Tb + Ta;
    const int64_t tcUs = ticksToMicros(Tc);
    if (Tc == 0) {
        TcText.assign(TcWidth, ' ');
        RotText.clear();
    } else {
        TcText = rightAligned(formatMillisGrouped(tcUs), TcWidth);
        RotText = rightAligned(formatGrouped(rpmFromTicks(Tc)), RotWidth);
    }
    const int64_t elapsed = ElapsedUs + tcUs;
    const int64_t rowNo = RowCounter + 1;

    app_.TraceStep = StepRow;
    RowFields fields;
    fields.rowNo = rowNo;
    fields.RotText = RotText;
    fields.TcText = TcText;
    fields.TbText = TbText;
    fields.DTbText = DTbText;
    fields.TaText = TaText;
    fields.TibText = TibText;
    fields.TssText = TssText;
    fields.A1 = A1;
    fields.A2 = A2;
    fields.elapsedUs = elapsed;
    if (!composeRow(fields, rowText_)) return false;

    ElapsedUs = elapsed;
    RowCounter = rowNo;
    TbPrev = Tb; // DTb compares rows, not bursts that never became one
    row_.text.swap(rowText_);
    row_.rowNo = rowNo;
    row_.Tb = Tb;
    row_.Ta = Ta;
    row_.Tib = Tib;
    row_.Tss = Tss;
    row_.Tc = Tc;
    row_.A1 = A1;
    row_.A2 = A2;
    row_.elapsedUs = elapsed;
    sink->addRow(row_);
    if (alsoAdvance) alsoAdvance->addRow(row_);
    return true;
}

// The programming-mode answers; the editor that asked hears them from the link.
void Decoder::curveBranch() {
    app_.TraceStep = StepCurve;
    if (RxKind != kMode) return;
    if (RxStatus == 0xD0)
        ProgAckD0 = true;
    else if (RxStatus == 0xD1)
        ProgOnAck = true;
}

void Decoder::logLine(const std::string& hex, const char* label) {
    app_.TraceStep = StepPanelLog;
    PanelSink* panel = targets_.panel;
    if (RxLineNo < 1 || RxLineNo > LastLogLine) RxLineNo = 1;
    std::string line = rightAligned(std::to_string(RxLineNo), 6);
    line += ' ';
    line += hex;
    line += label;
    line += "\r\n";
    panel->appendLog(line);
    if (++RxLineNo > LastLogLine) {
        RxLineNo = 1;
        panel->clearLog();
    }
}

void Decoder::panelBranch() {
    app_.TraceStep = StepPanel;
    PanelSink* panel = targets_.panel;
    if (!panel) return;
    panel->enableClearText1();
    const std::string hex = hexText(RxStatus, RxData1, RxData2);

    if (RxKind == kMode) {
        app_.TraceStep = StepPanelMode;
        const char* label = nullptr;
        switch (RxStatus) {
        case 0xD2:
        case 0xD4:
            label = "  EEPROM DATI/PROG";
            EEPROMAccess = true;
            break;
        case 0xD3:
            label = "  EEPROM NO";
            EEPROMAccess = false;
            break;
        case 0xD0:
            label = "  EEPROM DATI/PROG NO";
            break;
        default:
            return;
        }
        panel->setPMIDIIn(hex);
        logLine(hex, label);
        return;
    }

    if (!EEPROMAccess) return;
    app_.TraceStep = StepPanelData;
    panel->setPMIDIIn(hex);
    const char* label = "";
    bool readAck = false;
    switch (RxStatus & 0xFC) {
    case 0x98:
        label = "  MDX PROG";
        readAck = true;
        break;
    case 0x9C:
        label = "  MSX PROG";
        readAck = true;
        break;
    case 0x88:
        label = "  MDX DATI";
        readAck = true;
        break;
    case 0x80:
        label = "  MDX DATI";
        break;
    case 0x8C:
    case 0x84:
        label = "  MSX DATI";
        break;
    default:
        break;
    }
    if (*label != '\0') {
        panel->setRdDAT(hexByte(RxData2 + 128 * bit(RxStatus, 0)));
        if (readAck) EEPROMReadAck = true;
    }
    logLine(hex, label);
}

void Decoder::batteryBranch() {
    app_.TraceStep = StepBattery;
    if (RxKind == kMode) {
        app_.TraceStep = StepBatteryMode;
        if (RxStatus == 0xD5) {
            BatteryRun = true;
            BatterySamples = 0;
        } else if (RxStatus == 0xD0) {
            // The link ends the window's turn and the input with it.
            BatteryRun = false;
        }
        return;
    }

    app_.TraceStep = StepBatteryCycle;
    const uint32_t value = static_cast<uint32_t>((RxData2 + 128 * bit(RxStatus, 1)) * 256 +
                                                 RxData1 + 128 * bit(RxStatus, 0));
    BatterySink* battery = targets_.battery;
    switch (RxKind) {
    case kTb:
        Tb = value;
        PrevStatus = RxStatus;
        LastKind = kTb;
        return;
    case kTa:
        if (LastKind != kTb) return;
        LastKind = kTa;
        completeTb();
        takeTa();
        if (Tc > 0) {
            RotText = rightAligned(formatGrouped(rpmFromTicks(Tc)), RotWidth);
            if (RotText.size() > static_cast<size_t>(RotWidth)) {
                fault();
                return;
            }
        } else {
            RotText.clear();
        }
        if (battery) battery->setRevolutions(Tc > 0 ? RotText : std::string("0"));
        return;
    case kTib:
        if (LastKind == kTa) LastKind = kTib;
        return;
    case kTss:
        if (LastKind == kTib) LastKind = kTss;
        return;
    case kClose:
        if (LastKind != kTss) return;
        LastKind = kClose;
        if (BatterySamples >= BatteryMaxSamples) return;
        app_.TraceStep = StepBatterySample;
        ++BatterySamples;
        A1 = RxData1 + 128 * bit(RxStatus, 0);
        A2 = RxData2 + 128 * bit(RxStatus, 1);
        if (battery) {
            battery->setStatus((A1 / 16) & 3, bit(A1, 6) ? "ON" : "OFF");
            // A2 * 0.0797 V in hundredths, to the nearest hundredth.
            battery->MisVBatProc((A2 * 797 + 50) / 100);
        }
        return;
    default:
        return;
    }
}

} // namespace protocol
