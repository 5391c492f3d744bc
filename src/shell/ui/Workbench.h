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

class frmMain;
class MidiSystem;
class Notifier;
class PollClock;
class QtNotifier;
class SerialMidiSystem;
class SimulatedUnitSystem;

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
    MidiSystem* devices = nullptr;
    // With devices given: the simulated unit the Preferences menu's window shows (none: no window).
    SimulatedUnitSystem* simulatedUnit = nullptr;
    // With devices given: the serial ports among them, watched by the frame for a far end
    // hanging up and added to from the Preferences menu (none: no serial ports).
    SerialMidiSystem* serialPorts = nullptr;
    // Where the boxes go: none given, real message boxes; otherwise a recorder.
    Notifier* notifier = nullptr;
    // The clock: none given, a timer thread behind Timer Exact and the steady clock for the
    // frame's poller; otherwise these (a test lets them run in unit time).
    PeriodicTimerSource* timerSource = nullptr;
    PollClock* pollClock = nullptr;
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
    MidiSystem& devices(const WorkbenchOptions& options);
    SimulatedUnitSystem* simulatedUnit() const;
    // "Errore scrittura EEPROM: " and the simulated unit's memory file.
    std::string eepromFailure() const;

    std::unique_ptr<QtNotifier> boxes_;
    Notifier& notifier_;

public:
    AppState app;
    Texts texts;
    MessageService messages{texts, notifier_};

private:
    bool settingsRead_;
    std::unique_ptr<PeriodicTimerSource> timerThread_;
    std::unique_ptr<RealDevices> real_;
    SimulatedUnitSystem* simulatedUnit_;

public:
    PrecisionClock clock;
    modTimerExact timer;
    MidiPort midi;
    DecoderTargets targets;
    Decoder decoder{midi, app, notifier_, targets};
    UnitLink link{midi, decoder, targets};
    CurrentMeasurement measurement;
    WindowContext ctx{app,     texts,    messages, midi,    timer,
                      nullptr, &decoder, &targets, nullptr, &link};

private:
    std::unique_ptr<frmMain> frame_;
};
