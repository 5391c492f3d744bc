#pragma once
#include "transport/MidiSystem.h"
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace transport;

// A scriptable MidiSystem for tests: named devices, forced result codes, captured output
// and input injected on the caller's thread. Without forced results it behaves like a
// well-mannered driver: a bad device number gives 2, opening a device twice gives 4, an
// unknown handle gives 5.
class FakeMidiSystem : public MidiSystem {
public:
    std::vector<std::string> outNames;
    std::vector<std::string> inNames;
    // Result of the capability query of single devices (missing: 0).
    std::map<int, int> outCapsResult;

    // Forced results: 0 lets the call do its normal work, anything else is returned as
    // it stands and the call changes nothing.
    int outOpenResult = 0;
    int outCloseResult = 0;
    int inOpenResult = 0;
    int inCloseResult = 0;
    int inStartResult = 0;
    int inStopResult = 0;
    int connectResult = 0;
    int disconnectResult = 0;
    // One result per outShortMsg call, taken from the front (e.g. 67, 67, 67, 0); once the
    // queue is empty every call answers outShortMsgDefault.
    std::deque<int> outShortMsgResults;
    int outShortMsgDefault = 0;

    struct Calls {
        int outOpen = 0, outClose = 0, outShortMsg = 0;
        int inOpen = 0, inClose = 0, inStart = 0, inStop = 0;
        int connect = 0, disconnect = 0, notReadyPause = 0;
    };
    Calls calls;
    std::vector<uint32_t> sent; // messages accepted by outShortMsg

    // Delivers one short message to the input callback, as a started device would.
    // Returns false (nothing delivered) while no input is started.
    bool inject(uint32_t msg);

    bool outputOpen() const { return outOpenId_ >= 0; }
    bool inputOpen() const { return inOpenId_ >= 0; }
    bool inputStarted() const { return inStarted_; }
    bool thruConnected() const { return connected_; }

    int outCount() override { return static_cast<int>(outNames.size()); }
    int outCaps(int id, MidiCaps& caps) override;
    int inCount() override { return static_cast<int>(inNames.size()); }
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
    void notReadyPause() override { ++calls.notReadyPause; }

private:
    // Counts the call; a forced result or a bad handle is answered as it stands, otherwise
    // effect runs and the call succeeds.
    static int call(int& count, int forced, bool handleValid, const std::function<void()>& effect);
    bool outHandleValid(uint32_t h) const { return outOpenId_ >= 0 && h == outHandle_; }
    bool inHandleValid(uint32_t h) const { return inOpenId_ >= 0 && h == inHandle_; }

    int outOpenId_ = -1;
    int inOpenId_ = -1;
    uint32_t outHandle_ = 0;
    uint32_t inHandle_ = 0;
    uint32_t nextHandle_ = 0x1000;
    bool inStarted_ = false;
    bool connected_ = false;
    MidiInCallback callback_ = nullptr;
    void* user_ = nullptr;
};
