#pragma once
#include "transport/MidiSystem.h"
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace transport {

// Real MIDI devices through RtMidi (ALSA sequencer on Linux, the multimedia MIDI services on
// Windows, CoreMIDI on macOS). Where the system offers no MIDI service at all (no ALSA
// sequencer) both lists are empty and every call answers with a result code; nothing throws.
//
// The device lists are read when outCount() / inCount() are called; a device is opened by
// its listed name, so a list that changed since does not open the wrong port (a device that
// has gone answers 2). Result codes: 2 bad device number or device gone, 4 already open
// here, 5 unknown handle, 1 any other failure.
//
// Input: each open input delivers its short messages on RtMidi's thread as
// status + data1 * 256 + data2 * 65536 with MidiInData, only while started. System exclusive,
// timing clock and active sensing are ignored. Thru: connect() pairs an input with an
// output and that input's callback sends every message it receives while started to the
// output as well; disconnect() or closing either side ends the pairing.
class RtMidiSystem : public MidiSystem {
public:
    explicit RtMidiSystem(std::string clientName = "ZEPHALON");
    RtMidiSystem(const RtMidiSystem&) = delete;
    RtMidiSystem& operator=(const RtMidiSystem&) = delete;
    ~RtMidiSystem() override;

    // False when no MIDI service could be reached (the lists stay empty).
    bool available() const;

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

    // Bytes of the short message that starts with this status byte: 1-3, or 0 when the
    // byte starts no short message (a data byte, system exclusive, an undefined code).
    static int messageLength(uint8_t status);
    // status + data1 * 256 + data2 * 65536 of a 1-3 byte message; 0 when size is 0 or > 3.
    static uint32_t packMessage(const unsigned char* bytes, std::size_t size);
    // The name as the 32-character capability field holds it: at most 31 bytes, never
    // ending inside a UTF-8 sequence.
    static std::string capsName(std::string_view name);

    struct OutPort;
    struct InPort;
    struct Backend;

private:
    uint32_t newHandle();
    OutPort* findOut(uint32_t handle);
    InPort* findIn(uint32_t handle);

    std::string clientName_;
    std::unique_ptr<Backend> backend_;
    std::mutex mutex_;
    std::vector<std::string> outNames_;
    std::vector<std::string> inNames_;
    std::map<uint32_t, std::unique_ptr<OutPort>> outs_;
    std::map<uint32_t, std::unique_ptr<InPort>> ins_;
    uint32_t nextHandle_ = 1;
};

} // namespace transport
