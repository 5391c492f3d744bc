#include "protocol/UnitLink.h"
#include "base/WindowRecord.h"
#include "protocol/Decoder.h"
#include "protocol/DecoderSinks.h"
#include "transport/MidiPoller.h"
#include "transport/MidiPort.h"
#include <algorithm>

using namespace transport;

namespace protocol {

namespace {

constexpr int kRunMode = 0xD0;

bool contains(const std::vector<int>& v, int x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}
void erase(std::vector<int>& v, int x) {
    v.erase(std::remove(v.begin(), v.end(), x), v.end());
}

int commandOf(UnitMode mode) {
    switch (mode) {
    case UnitMode::Programming:
        return 0xD1;
    case UnitMode::EepromAccess:
        return 0xD2;
    case UnitMode::Battery:
        return 0xD5;
    case UnitMode::Run:
        break;
    }
    return kRunMode;
}

// The answers the unit gives to a mode's command.
bool answers(UnitMode mode, int status) {
    if (status == kRunMode) return true;
    switch (mode) {
    case UnitMode::Programming:
        return status == 0xD1;
    case UnitMode::EepromAccess:
        return status >= 0xD2 && status <= 0xD4;
    case UnitMode::Battery:
        return status == 0xD5;
    case UnitMode::Run:
        break;
    }
    return false;
}

} // namespace

UnitLink::UnitLink(MidiPort& port, Decoder& decoder, DecoderTargets& targets)
    : port_(port), decoder_(decoder), targets_(targets) {
    // Offered every message first, before any window: the mode answers are the link's.
    targets_.replies.insert(targets_.replies.begin(), this);
    targets_.expecting.reset();
}

UnitLink::~UnitLink() {
    targets_.removeReplyListener(this);
}

bool UnitLink::expecting(int winNo) const {
    return winNo >= 0 && winNo <= base::WindowCount &&
           targets_.expecting.test(static_cast<size_t>(winNo));
}

bool UnitLink::inputWanted() const {
    return !users_.empty();
}

// --- input --------------------------------------------------------------------------------

void UnitLink::expect(int winNo) {
    if (winNo < 0 || winNo > base::WindowCount) return;
    const bool first = users_.empty();
    if (!contains(users_, winNo)) users_.push_back(winNo);
    if (!(paused_ && contains(recordings_, winNo)))
        targets_.expecting.set(static_cast<size_t>(winNo));
    // A decoder that stopped on a fault starts again with whoever comes next.
    decoder_.enableDecoding();
    if (first) startInput();
}

void UnitLink::release(int winNo) {
    // A window that records keeps the input until its recording ends.
    if (winNo < 0 || winNo > base::WindowCount || contains(recordings_, winNo)) return;
    targets_.expecting.reset(static_cast<size_t>(winNo));
    if (!contains(users_, winNo)) return;
    erase(users_, winNo);
    if (users_.empty()) stopInput();
}

void UnitLink::startInput() {
    // Whatever waits in the ring was meant for no one here, and answers the unit gave while
    // the input was stopped are gone.
    port_.ring.discard();
    runAnswersDue_ = 0;
    port_.StopMIDIPoll = false;
    if (!port_.MIDIInStarted && port_.MIDIInOpen) port_.StartMIDIIn();
    if (targets_.main) targets_.main->enableInputPoller();
}

void UnitLink::stopInput() {
    port_.StopMIDIPoll = true;
    if (port_.MIDIInStarted) port_.StopMIDIIn();
}

void UnitLink::drainRing() {
    pollRing(port_, decoder_, MidiRing::Size);
}

// --- recordings ---------------------------------------------------------------------------

int UnitLink::recordingBlocker() const {
    if (holder_ != 0 && holder_ != base::AdvanceWindow) return holder_;
    return 0;
}

void UnitLink::startRecording(int winNo, bool follow) {
    if (recordings_.empty()) paused_ = false;
    if (!contains(recordings_, winNo)) recordings_.push_back(winNo);
    if (!follow) decoder_.resetMeasurement();
    expect(winNo);
    notify();
}

void UnitLink::stopRecording(int winNo) {
    if (!contains(recordings_, winNo)) return;
    // The input stops first; what the unit sent before that still belongs to the recording.
    if (users_.size() == 1 && users_.front() == winNo) stopInput();
    if (expecting(winNo)) drainRing();
    erase(recordings_, winNo);
    release(winNo);
    notify();
}

bool UnitLink::recording(int winNo) const {
    return contains(recordings_, winNo);
}

int UnitLink::anyRecording() const {
    return recordings_.empty() ? 0 : recordings_.front();
}

void UnitLink::suspend(bool paused) {
    paused_ = paused;
    for (const int winNo : recordings_)
        targets_.expecting.set(static_cast<size_t>(winNo), !paused);
    // The burst cut by the pause is not whole: wait for the next 0x80. DTb still compares
    // with the last row recorded.
    if (!paused) decoder_.LastKind = 0;
}

void UnitLink::newMeasurement() {
    decoder_.newMeasurement();
}

bool UnitLink::startBatteryRecording(ModeHolder* holder) {
    if (modeBlocker(base::BatteryWindow) != 0) return false;
    decoder_.resetMeasurement();
    decoder_.BatterySamples = 0;
    return enterMode(base::BatteryWindow, UnitMode::Battery, holder);
}

// --- modes --------------------------------------------------------------------------------

bool UnitLink::answersMemory() const {
    if (phase_ != Phase::Held) return false;
    return mode_ == UnitMode::Programming || (mode_ == UnitMode::EepromAccess && answer_ != 0xD3);
}

int UnitLink::modeBlocker(int winNo) const {
    if (holder_ != 0 && holder_ != winNo) return holder_;
    if (!recordings_.empty()) return recordings_.front();
    return 0;
}

bool UnitLink::enterMode(int winNo, UnitMode mode, ModeHolder* holder) {
    if (mode == UnitMode::Run || modeBlocker(winNo) != 0) return false;
    if (holder_ == winNo) endMode(true);
    if (phase_ == Phase::Leaving) letGoOfLeaving(leavingWin_ != winNo);
    // A late answer to an earlier command must not pass for the answer to this one.
    if (users_.empty() || (users_.size() == 1 && users_.front() == winNo)) port_.ring.discard();
    mode_ = mode;
    holder_ = winNo;
    holderSink_ = holder;
    answer_ = 0;
    expect(winNo);
    port_.sendCommand(static_cast<uint8_t>(commandOf(mode)));
    // A battery recording has no answer to wait for: its samples, or their absence, say it.
    if (mode == UnitMode::Battery) {
        phase_ = Phase::Held;
    } else {
        phase_ = Phase::Asking;
        askLeftMs_ = AnswerLimitMs;
    }
    notify();
    return true;
}

void UnitLink::endMode(bool sendRunMode) {
    if (sendRunMode) {
        port_.sendCommand(kRunMode);
        // The unit answers 0xD0 with 0xD0: that answer, coming late, is no news.
        ++runAnswersDue_;
        runAnswerLeftMs_ = AnswerLimitMs;
    }
    mode_ = UnitMode::Run;
    holder_ = 0;
    holderSink_ = nullptr;
    answer_ = 0;
    phase_ = Phase::Idle;
    notify();
}

ModeHolder* UnitLink::dropHolder(bool sendRunMode) {
    ModeHolder* sink = holderSink_;
    const int winNo = holder_;
    endMode(sendRunMode);
    release(winNo);
    return sink;
}

void UnitLink::letGoOfLeaving(bool releaseInput) {
    const int winNo = leavingWin_;
    phase_ = Phase::Idle;
    leavingWin_ = 0;
    if (releaseInput) release(winNo);
}

void UnitLink::leaveMode(int winNo) {
    if (holder_ != winNo || winNo == 0) return;
    endMode(true);
    phase_ = Phase::Leaving;
    leavingWin_ = winNo;
    leavingLeftMs_ = AnswerLimitMs;
}

void UnitLink::windowClosed(int winNo) {
    if (holder_ == winNo && winNo != 0) endMode(true);
    if (phase_ == Phase::Leaving && leavingWin_ == winNo) letGoOfLeaving(false);
    const bool wasRecording = contains(recordings_, winNo);
    erase(recordings_, winNo);
    release(winNo);
    if (wasRecording) notify();
}

void UnitLink::shutdown() {
    if (holder_ != 0) endMode(true);
    phase_ = Phase::Idle;
    leavingWin_ = 0;
    recordings_.clear();
    paused_ = false;
    users_.clear();
    targets_.expecting.reset();
    stopInput();
}

void UnitLink::addObserver(LinkObserver* o) {
    if (std::find(observers_.begin(), observers_.end(), o) == observers_.end())
        observers_.push_back(o);
}

void UnitLink::removeObserver(LinkObserver* o) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

void UnitLink::notify() {
    decoder_.EEPROMMode = answersMemory();
    // An observer may leave the list while it is told.
    const std::vector<LinkObserver*> observers = observers_;
    for (LinkObserver* o : observers)
        o->linkChanged();
}

// --- time and answers ---------------------------------------------------------------------

void UnitLink::elapse(int ms) {
    if (runAnswersDue_ > 0 && (runAnswerLeftMs_ -= ms) <= 0) runAnswersDue_ = 0;
    if (phase_ == Phase::Asking) {
        askLeftMs_ -= ms;
        if (askLeftMs_ > 0) return;
        if (ModeHolder* sink = dropHolder(true)) sink->modeTimedOut();
    } else if (phase_ == Phase::Leaving) {
        leavingLeftMs_ -= ms;
        if (leavingLeftMs_ <= 0) letGoOfLeaving(true);
    }
}

void UnitLink::offer(uint32_t message) {
    const int status = static_cast<int>(message & 0xFF);
    if ((status & 0xF0) != 0xD0) return;
    if (status == kRunMode && runAnswersDue_ > 0) {
        --runAnswersDue_;
        if (phase_ == Phase::Leaving) letGoOfLeaving(true);
        return;
    }
    switch (phase_) {
    case Phase::Asking: {
        if (!answers(mode_, status)) return;
        ModeHolder* sink = holderSink_;
        if (status == kRunMode) {
            dropHolder(true); // refused: the unit stays in run mode
        } else {
            phase_ = Phase::Held;
            answer_ = status;
            notify();
        }
        if (sink) sink->modeAnswered(status);
        return;
    }
    case Phase::Held: {
        // A 0xD0 nobody asked for (noise on the line) does not end programming or EEPROM
        // access behind the user's back; a battery recording ends with it.
        if (status == kRunMode && mode_ != UnitMode::Battery) return;
        if (status != kRunMode) {
            // EEPROM access granted after all (0xD3 then 0xD4), a repeated answer.
            if (answers(mode_, status) && status != answer_) {
                answer_ = status;
                notify();
                if (holderSink_) holderSink_->modeAnswered(status);
            }
            return;
        }
        // The unit ended the battery recording by itself.
        if (ModeHolder* sink = dropHolder(false)) sink->modeAnswered(status);
        return;
    }
    case Phase::Leaving:
    case Phase::Idle:
        return;
    }
}

// --- what a refusal says (UTF-8, as the message boxes take it) -----------------------------

std::string unitHeldNotice(const UnitLink& link, int blocker, int langOffset) {
    const bool it = langOffset == 0;
    auto say = [it](const char* italian, const char* english) {
        return std::string(it ? italian : english);
    };
    if (blocker == link.holder()) {
        if (blocker >= base::FirstCurveWindow && blocker <= base::LastCurveWindow)
            return say("L'unità è in modo programmazione (finestra Curva Anticipo): premere "
                       "PROG OFF in quella finestra",
                       "The unit is in programming mode (Curva Anticipo window): press PROG OFF "
                       "there");
        if (blocker == base::AdvanceWindow)
            return say("L'unità sta rileggendo la curva (finestra Misura Anticipo): attendere "
                       "la fine della verifica",
                       "The unit is reading its curve back (Misura Anticipo window): wait for the "
                       "check to end");
        if (blocker == base::PanelWindow)
            return say("L'unità è in accesso EEPROM (finestra Pannello di controllo): "
                       "premere EEPROM DATI/PROG EXIT in quella finestra",
                       "The unit is in EEPROM access (Pannello di controllo window): press EEPROM "
                       "DATI/PROG EXIT there");
        if (blocker == base::BatteryWindow)
            return say("È in corso la misura della tensione batteria (finestra Misura Dinamica "
                       "Tensione Batteria): premere Stop in quella finestra",
                       "A battery voltage recording is running (Misura Dinamica Tensione Batteria "
                       "window): press Stop there");
    }
    if (blocker == base::AdvanceWindow)
        return say("È in corso una misura (finestra Misura Anticipo): premere Stop in quella "
                   "finestra",
                   "A measurement is being recorded (Misura Anticipo window): press Stop there");
    return say("È in corso una misura (finestra Misura Rotazione): premere Stop in quella "
               "finestra",
               "A measurement is being recorded (Misura Rotazione window): press Stop there");
}

std::string modeRefusedNotice(int langOffset) {
    return langOffset == 0 ? "L'unità ha risposto 0xD0: è in modo normale (programmazione "
                             "non attiva)"
                           : "The unit answered 0xD0: it is in run mode (programming not active)";
}

} // namespace protocol
