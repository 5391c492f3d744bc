#pragma once
#include <cstdint>

namespace protocol {

// Offered every message the decoder takes, before it routes it by the open windows, so a
// waiting transfer gets its reply whatever windows are open.
class ReplyListener {
public:
    virtual ~ReplyListener() = default;
    virtual void offer(uint32_t message) = 0;
};

// One wait for the unit's answer to a request. A memory reply is matched to its request by
// its kind (read 0x88 / 0x8C, write echo 0x80 / 0x84), the echoed address and the module;
// a reply of the right kind and address from the other module ends the wait as WrongModule;
// anything else is left alone. Time passes through elapse(); the wait gives up after its
// limit.
class UnitReplyWait : public ReplyListener {
public:
    static constexpr int DefaultLimitMs = 1000;
    enum class State { Idle, Waiting, Answered, WrongModule, TimedOut };

    void expectRead(bool master, int address, int limitMs = DefaultLimitMs);
    void expectWrite(bool master, int address, int limitMs = DefaultLimitMs);
    void cancel() { state_ = State::Idle; }

    void offer(uint32_t message) override;
    void elapse(int ms);

    State state() const { return state_; }
    bool waiting() const { return state_ == State::Waiting; }
    // The answer's status byte and its data byte (data2 + 128 x status bit 0).
    int status() const { return status_; }
    int value() const { return value_; }

private:
    enum class Kind { Read, Write };
    void expect(Kind kind, bool master, int address, int limitMs);

    State state_ = State::Idle;
    Kind kind_ = Kind::Read;
    bool master_ = true;
    int address_ = 0;
    int leftMs_ = 0;
    int status_ = 0;
    int value_ = 0;
};

} // namespace protocol
