#pragma once
#include "protocol/UnitMode.h"
#include "protocol/UnitReplyWait.h"
#include "transport/MidiPoller.h"
#include <cstdint>
#include <string>
#include <vector>

namespace transport {
class MidiPort;
} // namespace transport

namespace protocol {

class Decoder;
struct DecoderTargets;

// A window that asked the unit for a mode hears how it went (user-interface thread).
class ModeHolder {
public:
    virtual ~ModeHolder() = default;
    // The unit's answer: 0xD1 (programming), 0xD2 / 0xD4 (EEPROM access), 0xD3 (no EEPROM
    // access); 0xD0 means it refused (or ended a battery recording by itself): it is in run
    // mode, and the window no longer holds it.
    virtual void modeAnswered(int status) = 0;
    // No answer within AnswerLimitMs: 0xD0 went out and the window no longer holds the unit.
    virtual void modeTimedOut() = 0;
};

// Told whenever the unit's mode or the set of recordings changes.
class LinkObserver {
public:
    virtual ~LinkObserver() = default;
    virtual void linkChanged() = 0;
};

// The one owner of the link to the unit. The input runs while at least one window expects
// the unit's messages and stops when the last one lets go; the decoder routes a message
// only to windows that expect it. The link knows the unit's mode and which window holds it,
// and runs the one mode hand-shake: the command (0xD1, 0xD2 or 0xD5), its answer within
// about a second, and 0xD0 however the mode ends (left, refused, timed out, window closed,
// program ended), so the unit always comes back to run mode.
//
// Time passes through elapse(), called by the poller on every tick while the input runs.
class UnitLink : public ReplyListener, public transport::PollTimeUser {
public:
    static constexpr int AnswerLimitMs = 1000;

    UnitLink(transport::MidiPort& port, Decoder& decoder, DecoderTargets& targets);
    ~UnitLink() override;
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;

    // --- who takes the unit's messages
    bool expecting(int winNo) const;
    bool inputWanted() const override;

    // --- recordings (rotation 33, advance 25): revolutions in run mode
    // The window whose mode keeps revolutions from coming (0: none): a held programming
    // mode or EEPROM access, or a battery recording. A closed-loop read-back of the advance
    // window is not counted: a recording ends it.
    int recordingBlocker() const;
    // A recording starts: the window takes revolutions, the decoder waits for the next 0x80.
    // follow: the window joins a recording already started by another (no decoder reset).
    void startRecording(int winNo, bool follow = false);
    // Ends a recording: when it was the last user the input stops first, and what is still
    // in the ring is decoded for it before it lets go.
    void stopRecording(int winNo);
    bool recording(int winNo) const;
    int anyRecording() const;
    // Paused recordings keep the input running but take nothing; going on they wait for
    // the next whole revolution.
    void suspend(bool paused);
    bool suspended() const { return paused_; }
    // A new measurement: the row counter and elapsed time start again from 0.
    void newMeasurement();
    // A battery recording starts: 0xD5, the decoder counting samples from 0. False (nothing
    // sent) while modeBlocker(36) is not 0.
    bool startBatteryRecording(ModeHolder* holder);

    // --- modes
    UnitMode mode() const { return mode_; }
    int holder() const { return holder_; }
    // The hand-shake is waiting for the unit's answer.
    bool answerPending() const { return phase_ == Phase::Asking; }
    // The unit answers memory reads and writes: programming mode or EEPROM access granted.
    bool answersMemory() const;
    // The window (0: none) that keeps winNo from asking for a mode now: another window's
    // mode or a recording.
    int modeBlocker(int winNo) const;
    // Sends the mode's command and waits for the answer; false (nothing sent) while
    // modeBlocker(winNo) is not 0. The window takes the unit's messages from now on.
    bool enterMode(int winNo, UnitMode mode, ModeHolder* holder);
    // Sends 0xD0 when winNo holds the unit. The window still takes the unit's answer (at
    // most AnswerLimitMs) before it lets go.
    void leaveMode(int winNo);
    // A window closes: its mode left, its recording ended, at once.
    void windowClosed(int winNo);
    // The program ends: 0xD0 when the unit is out of run mode, the input stopped.
    void shutdown();
    // A holder that goes away is told nothing more (its window may be released without its
    // close handler).
    void forget(const ModeHolder* holder) {
        if (holderSink_ == holder) holderSink_ = nullptr;
    }

    void addObserver(LinkObserver* o);
    void removeObserver(LinkObserver* o);

    void elapse(int ms) override;
    void offer(uint32_t message) override;

private:
    enum class Phase { Idle, Asking, Held, Leaving };
    void expect(int winNo);
    void release(int winNo);
    void startInput();
    void stopInput();
    void drainRing();
    void endMode(bool sendRunMode);
    // The holder loses the unit (0xD0 sent or not) and lets the input go; its sink, to tell.
    ModeHolder* dropHolder(bool sendRunMode);
    // The window that gave the unit back stops waiting for its answer.
    void letGoOfLeaving(bool releaseInput);
    void notify();

    transport::MidiPort& port_;
    Decoder& decoder_;
    DecoderTargets& targets_;
    UnitMode mode_ = UnitMode::Run;
    int holder_ = 0;
    ModeHolder* holderSink_ = nullptr;
    Phase phase_ = Phase::Idle;
    int answer_ = 0;    // the unit's answer to the held mode's command
    int askLeftMs_ = 0; // time left for the answer
    int leavingWin_ = 0;
    int leavingLeftMs_ = 0;
    int runAnswersDue_ = 0; // answers to our 0xD0 still to come
    int runAnswerLeftMs_ = 0;
    std::vector<int> users_;      // windows that keep the input running
    std::vector<int> recordings_; // windows recording revolutions
    bool paused_ = false;
    std::vector<LinkObserver*> observers_;
};

// What a refused Start, PROG ON or EEPROM access says: which window holds the unit and
// what to press there (UTF-8, Italian for LangOffset 0, English for 200). blocker is
// the window a blocker routine named.
std::string unitHeldNotice(const UnitLink& link, int blocker, int langOffset);
// The unit answered 0xD0 to a mode request, or left the mode by itself.
std::string modeRefusedNotice(int langOffset);

} // namespace protocol
