#pragma once
#include "base/AppState.h"
#include "base/Notifier.h"
#include "protocol/DecoderSinks.h"
#include "protocol/MeasurementRow.h"
#include "transport/MidiPoller.h"
#include <cstdint>
#include <string>

namespace transport {
class MidiPort;
} // namespace transport

namespace protocol {

// DecodeMIDIIn: splits each message the unit sends, routes it among the windows that expect
// the unit's messages now (battery 36, control panel 22, the first curve editor 2-11,
// rotation 33, advance 25: the first of them takes it), rebuilds the values packed into the
// status nibble and serves the window.
//
// Unit to PC, the status nibble carries value bits: bit 0 is bit 7 of data1, bit 1 bit 7
// of data2; on 0x80 / 0xA0 bits 2-3 are bits 16-17 of the value, whose bit 18 arrives as
// bit 3 of the following 0x90 / 0xB0; on 0x90 / 0xB0 bit 2 is bit 16 of their own value.
class Decoder : public transport::MessageDecoder {
public:
    // Battery samples the window can hold: slots 0-32000.
    static constexpr int BatteryMaxSamples = 32001;
    // Control panel monitor lines 1-4999.
    static constexpr int LastLogLine = 4999;

    // Steps reached, shown as "Errore: MIV" + TraceStep on an internal fault.
    enum Step : int {
        StepSplit = 1,
        StepBattery = 10,
        StepBatteryMode = 11,
        StepBatteryCycle = 12,
        StepBatterySample = 13,
        StepPanel = 20,
        StepPanelMode = 21,
        StepPanelData = 22,
        StepPanelLog = 23,
        StepCurve = 30,
        StepMeasure = 40,
        StepTb = 41,
        StepTa = 42,
        StepTib = 43,
        StepTss = 44,
        StepClose = 45,
        StepRow = 46,
    };

    Decoder(transport::MidiPort& port, base::AppState& app, base::Notifier& notifier,
            DecoderTargets& targets);

    void DecodeMIDIIn(uint32_t message) override;
    // Messages were lost before the next one: the revolution in progress is dropped and the
    // next 0x80 starts again (DTb still compares with the last row).
    void inputGap() override;

    // A measurement or battery acquisition starts: wait for the next 0x80 and measure
    // DTb against 0.
    void resetMeasurement();
    // A new measurement: row counter and elapsed time back to 0.
    void newMeasurement();
    // Decoding on; after a fault stopped it, the half-built revolution and its texts are
    // dropped first.
    void enableDecoding();

    // Split fields of the message being decoded.
    int RxKind = 0;
    int RxStatus = 0;
    int RxData1 = 0;
    int RxData2 = 0;

    // Measurement sequence
    int LastKind = 0;
    bool Synced = false;
    int PrevStatus = 0;
    uint32_t Tb = 0, Ta = 0, Tib = 0, Tss = 0; // ticks of 1.6 us
    uint32_t TbPrev = 0;
    uint32_t Tc = 0;
    int A1 = 0, A2 = 0;
    int64_t RowCounter = 0; // number of the last row
    int64_t ElapsedUs = 0;  // sum of the rows' revolution times, us

    // Display strings, right-aligned in their widths
    std::string TbText, DTbText, TaText, TibText, TssText, TcText, RotText;

    // Mode and panel dialogue
    bool ProgOnAck = false;
    bool ProgAckD0 = false;
    bool EEPROMMode = false;
    bool EEPROMAccess = false;
    bool EEPROMReadAck = false;
    int RxLineNo = 1;

    // Battery acquisition
    bool BatteryRun = false;
    int BatterySamples = 0;

private:
    void batteryBranch();
    void panelBranch();
    void curveBranch();
    void measurementBranch(MeasurementSink* sink, MeasurementSink* alsoAdvance);
    bool closeCycle(MeasurementSink* sink, MeasurementSink* alsoAdvance);
    void completeTb();
    void takeTa();
    void logLine(const std::string& hex, const char* label);
    void fault();

    transport::MidiPort& port_;
    base::AppState& app_;
    base::Notifier& notifier_;
    DecoderTargets& targets_;
    MeasurementRow row_;
    std::string rowText_;
};

} // namespace protocol
