#pragma once
#include "base/AppState.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "base/ui/WindowContext.h"
#include "measure/CurrentMeasurement.h"
#include "protocol/Decoder.h"
#include "protocol/DecoderSinks.h"
#include "protocol/UnitLink.h"
#include "timing/PrecisionClock.h"
#include "timing/modTimerExact.h"
#include "transport/MidiPort.h"
#include <QSize>
#include <memory>
#include <string>
#include <vector>

namespace base {
class Notifier;
class QtNotifier;
} // namespace base
namespace transport {
class MidiSystem;
class PollClock;
class SerialMidiSystem;
} // namespace transport
namespace unit {
class SimulatedUnitSystem;
} // namespace unit

namespace shell {

class frmMain;

// What differs between the program a user starts, the guide's pictures and the window tests.
struct WorkbenchOptions {
    // The start folder (native path, UTF-8): settings, notebook, the simulated unit's memory.
    std::string folder;
    // The settings are taken from the folder (a missing file is written fresh); otherwise the
    // run starts from the defaults and writes nothing at start.
    bool loadSettings = true;
    // Another session writes into the folder: this one reads its files and writes none.
    bool folderShared = false;
    // The simulated unit (device 0) for output and input, as "--simulated" asks.
    bool simulated = false;
    // 1 Italian, 2 English; 0: as the settings say.
    int langCode = 0;
    // The devices: none given, the simulated unit, the system's MIDI ports and the serial ports
    // of the settings; otherwise these alone (a test's unit, driven in unit time).
    transport::MidiSystem* devices = nullptr;
    // With devices given: the simulated unit the Preferences menu's window shows (none: no window).
    unit::SimulatedUnitSystem* simulatedUnit = nullptr;
    // With devices given: the serial ports among them, watched by the frame for a far end
    // hanging up and added to from the Preferences menu (none: no serial ports).
    transport::SerialMidiSystem* serialPorts = nullptr;
    // Where the boxes go: none given, real message boxes; otherwise a recorder.
    base::Notifier* notifier = nullptr;
    // The clock: none given, a timer thread behind Timer Exact and the steady clock for the
    // frame's poller; otherwise these (a test lets them run in unit time).
    timing::PeriodicTimerSource* timerSource = nullptr;
    transport::PollClock* pollClock = nullptr;
    // The frame's size as it is first shown (empty: as its stored placement says).
    QSize frameSize;
};

// The program wired once: every shared object, created in the order of its members, the main
// frame with the window of every menu entry, and the document dispatch. Used by main, the
// guide's screenshot tool and the window tests, each with its options.
class Workbench {
    struct RealDevices;

public:
    explicit Workbench(const WorkbenchOptions& options);
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Says what the start found (a folder shared with another session, documents recovered
    // after a signal, serial ports cut from the settings, a refused memory file of the
    // simulated unit), opens the documents named and ends the start.
    void start(const std::vector<std::string>& documents = {});
    // After the event loop: the last try to keep the simulated unit's memory, said when it fails.
    void finish();

    frmMain& frame() { return *frame_; }

private:
    // Reads the settings and chooses the language of the texts; before any device exists.
    bool readSettings(const WorkbenchOptions& options);
    transport::MidiSystem& devices(const WorkbenchOptions& options);
    unit::SimulatedUnitSystem* simulatedUnit() const;
    // "Errore scrittura EEPROM: " and the simulated unit's memory file.
    std::string eepromFailure() const;

    std::unique_ptr<base::QtNotifier> boxes_;
    base::Notifier& notifier_;

public:
    base::AppState app;
    base::Texts texts;
    base::MessageService messages{texts, notifier_};

private:
    bool settingsRead_;
    std::unique_ptr<timing::PeriodicTimerSource> timerThread_;
    std::unique_ptr<RealDevices> real_;
    unit::SimulatedUnitSystem* simulatedUnit_;

public:
    timing::PrecisionClock clock;
    timing::modTimerExact timer;
    transport::MidiPort midi;
    protocol::DecoderTargets targets;
    protocol::Decoder decoder{midi, app, notifier_, targets};
    protocol::UnitLink link{midi, decoder, targets};
    measure::CurrentMeasurement measurement;
    base::WindowContext ctx{app,     texts,    messages, midi,    timer,
                            nullptr, &decoder, &targets, nullptr, &link};

private:
    std::unique_ptr<frmMain> frame_;
};

} // namespace shell
