#pragma once
#include "base/WindowRecord.h"
#include "protocol/MeasurementRow.h"
#include "protocol/UnitReplyWait.h"
#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace protocol {

// What the decoder tells the windows. Each window implements its interface and enters
// itself in DecoderTargets while it exists; the decoder routes a message only to the
// windows that expect the unit's messages now (set by the link) and skips a slot whose
// pointer is not set.

// The rotation (33) or advance (25) measurement window.
class MeasurementSink {
public:
    virtual ~MeasurementSink() = default;
    // ComStop shows "Stop": an acquisition is running.
    virtual bool running() const = 0;
    // One completed revolution.
    virtual void addRow(const MeasurementRow& row) = 0;
};

// The control panel (22).
class PanelSink {
public:
    virtual ~PanelSink() = default;
    virtual void enableClearText1() = 0;
    // PMIDIIn: the last message received, six hex digits.
    virtual void setPMIDIIn(const std::string& hex) = 0;
    // RdDAT: the byte read back, two hex digits.
    virtual void setRdDAT(const std::string& hex) = 0;
    // Text1: one line of the monitor, CR LF included.
    virtual void appendLog(const std::string& line) = 0;
    virtual void clearLog() = 0;
};

// The battery voltage window (36).
class BatterySink {
public:
    virtual ~BatterySink() = default;
    // The revolutions label: RotText, or "0" when the revolution time is 0.
    virtual void setRevolutions(const std::string& text) = 0;
    // Bits 4-5 of A1 as a number, and "ON" / "OFF" for bit 6.
    virtual void setStatus(int bits45, const std::string& onOff) = 0;
    // One voltage sample in hundredths of a volt (the window's current value).
    virtual void MisVBatProc(int hundredths) = 0;
};

// The main window's part in decoding.
class MainWindowSink {
public:
    virtual ~MainWindowSink() = default;
    // A message is being decoded: Label2MIDIIn green (65280), TimerLabel2MIDIIn restores
    // its colour after 300 ms.
    virtual void inputActivity() = 0;
    // Enable the main window's TimerMIDIIn poller.
    virtual void enableInputPoller() {}
};

// The windows the decoder can serve, by window number. Windows set their entry when they
// load and clear it when they unload.
struct DecoderTargets {
    PanelSink* panel = nullptr;          // 22
    MeasurementSink* advance = nullptr;  // 25
    MeasurementSink* rotation = nullptr; // 33
    BatterySink* battery = nullptr;      // 36
    MainWindowSink* main = nullptr;      // 1
    // The windows that take the unit's messages now, by window number (the link sets them):
    // an open window that expects nothing takes nothing.
    std::bitset<base::WindowCount + 1> expecting;
    // Waits for the unit's replies (curve and coil transfers): offered every message
    // before routing, whatever windows are open.
    std::vector<ReplyListener*> replies;

    void addReplyListener(ReplyListener* l) {
        if (std::find(replies.begin(), replies.end(), l) == replies.end()) replies.push_back(l);
    }
    void removeReplyListener(ReplyListener* l) {
        replies.erase(std::remove(replies.begin(), replies.end(), l), replies.end());
    }
};

} // namespace protocol
