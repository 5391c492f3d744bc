#pragma once
#include "transport/MidiSystem.h"
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace transport {

// Raw MIDI byte streams as MIDI devices: serial lines (a unit behind a USB-serial bridge),
// ALSA raw MIDI device nodes (/dev/snd/midiC*D*) and pseudo-terminals (a unit emulated by
// another program). Every added path is listed once as an output and once as an input, in
// the order added, under serialDeviceName(path).
//
// Opening opens the file (read and write, no controlling terminal, non-blocking); a
// terminal is put in raw mode at the port's speed, 8 data bits, no parity, no flow control.
// The speed is chosen when the port is added: 38400 baud by default (USB-MIDI serial bridges
// commonly map it onto MIDI's own 31250, and pseudo-terminals ignore it), or 31250 itself
// for an adapter that supports it (opening fails when the driver will not take it). A terminal is
// also made exclusive while open, and gets its earlier settings back when closed. A path opened in
// both directions shares one file (reference counted).
//
// Input: each open input has a thread waiting in poll() on the file and on a wake-up pipe;
// the bytes go through a MidiByteParser and every message reaches the callback with
// MidiInData while the input is started. Once inStop() or inClose() has returned the callback
// is not called again. A line that reports an error or hang-up is no longer read (the
// thread then waits for close without spinning).
//
// Hang-up: a line whose far end closed or whose device disappeared (seen by its input
// thread, or by a send failing with EIO, ENXIO, ENODEV or EPIPE) is lost: the loss handler
// is told once, naming the path, from the thread that noticed; sends to it answer 6 (no
// driver) from then on, until it is closed and opened again.
//
// Output: each message goes out whole with its status byte (no running status). A line that
// takes none of its bytes answers 67 (not ready); one that took only part is given up to
// about 100 ms to take the rest.
//
// Thru: connect() pairs an input with an output of this system; the input then sends every
// message it delivers to that output as well.
//
// Result codes: 2 bad device number or no such file, 4 already open in that direction or
// busy elsewhere, 5 unknown handle, 1 any other failure.
class SerialMidiSystem : public MidiSystem {
public:
    SerialMidiSystem();
    SerialMidiSystem(const SerialMidiSystem&) = delete;
    SerialMidiSystem& operator=(const SerialMidiSystem&) = delete;
    ~SerialMidiSystem() override;

    // Lists a port with its line speed (kSerialDefaultBaud or kSerialMidiBaud); nothing is
    // opened yet. Returns 0, 2 when the path does not fit the settings record
    // (serialPortPathValid) or the speed is neither, 4 when it is listed already, 1 when
    // eight ports are listed.
    int addPort(const std::string& path, int baud = 38400);
    // Takes a port off the list (device numbers after it move down). Returns 0, 2 when it is
    // not listed, 4 while it is open.
    int removePort(const std::string& path);
    std::vector<std::string> ports() const;
    // The line speed of each listed port, in the order of ports().
    std::vector<int> bauds() const;
    // The output speed the driver reports for an open terminal line; 0 when the path is not
    // open or is no terminal.
    int openLineSpeed(const std::string& path) const;

    // Told when an open line hangs up (see above); called on the noticing thread, never
    // while this object's own lock is held. Setting an empty handler waits for a call in
    // progress to end.
    using LossHandler = std::function<void(const std::string& path)>;
    void setLossHandler(LossHandler handler);

    int outCount() override;
    int outCaps(int id, MidiCaps& caps) override;
    int inCount() override;
    int inCaps(int id, MidiCaps& caps) override;
    int outOpen(int id, uint32_t& handle) override;
    int outClose(uint32_t handle) override;
    int outShortMsg(uint32_t handle, uint32_t msg) override;
    int inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) override;
    int inClose(uint32_t handle) override;
    int inStart(uint32_t handle) override;
    int inStop(uint32_t handle) override;
    int connect(uint32_t inHandle, uint32_t outHandle) override;
    int disconnect(uint32_t inHandle, uint32_t outHandle) override;
    void notReadyPause() override;

    struct Line;
    struct Input;

private:
    struct Output {
        std::string path;
        std::shared_ptr<Line> line;
    };

    int acquireLine(const std::string& path, std::shared_ptr<Line>& line);
    void releaseLine(const std::string& path);
    bool pathOpen(const std::string& path) const;
    uint32_t newHandle();
    void reportLost(const std::string& path);

    mutable std::mutex mutex_;
    std::vector<std::string> paths_;
    std::vector<int> bauds_;
    std::map<std::string, std::shared_ptr<Line>> lines_;
    std::map<uint32_t, Output> outs_;
    std::map<uint32_t, std::unique_ptr<Input>> ins_;
    uint32_t nextHandle_ = 1;

    std::mutex lossMutex_;
    LossHandler onLost_;
};

} // namespace transport
