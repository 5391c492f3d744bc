// A minute of live measurement: the simulated unit streams a 10,000 rpm engine ten times
// faster than real time (16,667 revolutions, 83,333 messages a second) into the input ring
// from its own thread; the main window's poller decodes, the rotation window records with
// live display on (data view for the first half, graph view for the second). Counts the
// rows lost and measures the longest the event loop was away.
#include "base/AppState.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "measure/CurrentMeasurement.h"
#include "measure/ui/frmMisRot.h"
#include "protocol/Decoder.h"
#include "shell/ui/WindowRegistry.h"
#include "shell/ui/frmMain.h"
#include "support/FakeMidiSystem.h"
#include "timing/PrecisionClock.h"
#include "timing/backends/ThreadTimerSource.h"
#include "transport/MidiPort.h"
#include "unit/SimulatedUnit.h"
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>

using namespace base;
using namespace timing;
using namespace transport;
using namespace protocol;
using namespace unit;
using namespace measure;
using namespace shell;

namespace {

struct NullNotifier : Notifier {
    void warning(const std::string&, const std::string&) override {}
    Answer question(const std::string&, const std::string&) override { return Answer::No; }
    void notice(const std::string&) override {}
};

// One input device whose messages come from a simulated unit advanced by `speed` times the
// real time that passed, every millisecond, on a thread of its own while input is started.
class FastUnitSystem : public FakeMidiSystem {
public:
    explicit FastUnitSystem(double speed) : speed_(speed) {
        inNames = {"Fast unit"};
        outNames = {"Fast unit"};
        unit_.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 10000});
    }
    ~FastUnitSystem() override { halt(); }

    int inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) override {
        callback_ = callback;
        user_ = user;
        return FakeMidiSystem::inOpen(id, handle, callback, user);
    }
    int inStart(uint32_t handle) override {
        const int r = FakeMidiSystem::inStart(handle);
        if (r == transport::MidiOk && !thread_.joinable()) {
            go_ = true;
            thread_ = std::thread([this] { run(); });
        }
        return r;
    }
    int inStop(uint32_t handle) override {
        halt();
        return FakeMidiSystem::inStop(handle);
    }
    uint64_t sent() const { return sent_.load(); }

private:
    void halt() {
        go_ = false;
        if (thread_.joinable()) thread_.join();
    }
    void run() {
        auto last = std::chrono::steady_clock::now();
        double carryUs = 0;
        while (go_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const auto now = std::chrono::steady_clock::now();
            carryUs += std::chrono::duration<double, std::micro>(now - last).count() * speed_;
            last = now;
            const auto us = static_cast<uint64_t>(carryUs);
            carryUs -= static_cast<double>(us);
            unit_.advance(us);
            for (const uint32_t msg : unit_.takeOutput()) {
                callback_(user_, transport::MidiInData, msg);
                sent_.fetch_add(1, std::memory_order_relaxed);
            }
        }
    }
    double speed_;
    SimulatedUnit unit_;
    MidiInCallback callback_ = nullptr;
    void* user_ = nullptr;
    std::atomic<bool> go_{false};
    std::atomic<uint64_t> sent_{0};
    std::thread thread_;
};

void BM_LiveRunTenTimesA10000RpmEngine(benchmark::State& state) {
    const int seconds = static_cast<int>(state.range(0));
    for (auto _ : state) {
        AppState app;
        Texts texts;
        NullNotifier notifier;
        MessageService messages(texts, notifier);
        PrecisionClock clock;
        ThreadTimerSource timerSource;
        modTimerExact timer(clock, timerSource);
        FastUnitSystem unit(10.0);
        MidiPort midi(unit, messages, clock);
        midi.MIDIInDevice = 0;
        midi.MIDIOutDevice = 0;
        midi.OpenMIDIIn();
        midi.OpenMIDIOut();
        DecoderTargets targets;
        Decoder decoder(midi, app, notifier, targets);
        WindowContext ctx{app, texts, messages, midi, timer, nullptr, &decoder, &targets};
        CurrentMeasurement measurement;
        ctx.measurement = &measurement;
        frmMain main(ctx, decoder);
        targets.main = &main;
        registerWindows(main, nullptr);
        main.MDIForm_Load();
        main.resize(1300, 900);
        main.show();
        main.action("mnuMisRot")->trigger();
        auto* w = main.findChild<frmMisRot*>();
        auto* stop = w->findChild<QPushButton*>("ComStop");
        auto* view = w->findChild<QPushButton*>("ComDatiGrafico");
        QApplication::processEvents();

        // The event loop's pulse: a 1 ms timer; the longest pause between its ticks.
        QElapsedTimer since;
        qint64 worstGapMs[2] = {0, 0}; // data view, graph view
        qint64 settledGapMs = 0;       // either view, after its first second
        bool switched = false;
        QElapsedTimer run;
        qint64 viewShownMs = 0;
        QTimer pulse;
        pulse.setTimerType(Qt::PreciseTimer);
        pulse.setInterval(1);
        QObject::connect(&pulse, &QTimer::timeout, [&] {
            const qint64 gap = since.restart();
            qint64& worst = worstGapMs[switched ? 1 : 0];
            worst = std::max(worst, gap);
            if (run.elapsed() - viewShownMs > 1000) settledGapMs = std::max(settledGapMs, gap);
        });

        stop->click();
        since.start();
        pulse.start();
        run.start();
        while (run.elapsed() < seconds * 1000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            if (!switched && run.elapsed() >= seconds * 500) {
                view->click();
                switched = true;
                viewShownMs = run.elapsed();
            }
        }
        pulse.stop();
        stop->click(); // stops the unit's input and takes in what was still in the ring
        QApplication::processEvents();

        const uint64_t sent = unit.sent();
        const double rows = static_cast<double>(w->measurement().rows.size());
        state.counters["seconds"] = seconds;
        state.counters["messages_sent"] = static_cast<double>(sent);
        state.counters["rows"] = rows;
        // Each revolution is five messages; one burst may be cut by Start and one by Stop.
        state.counters["rows_lost"] = static_cast<double>(sent / 5) - rows;
        state.counters["ring_overruns"] = midi.ring.overruns();
        state.counters["worst_gap_data_view_ms"] = static_cast<double>(worstGapMs[0]);
        state.counters["worst_gap_graph_view_ms"] = static_cast<double>(worstGapMs[1]);
        state.counters["worst_gap_settled_ms"] = static_cast<double>(settledGapMs);
        main.close();
    }
}
BENCHMARK(BM_LiveRunTenTimesA10000RpmEngine)
    ->Arg(60)
    ->Arg(10)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
