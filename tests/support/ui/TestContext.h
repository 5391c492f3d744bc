#pragma once
#include "../FakeTimerSource.h"
#include "../RecordingNotifier.h"
#include "base/AppState.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "base/ui/WindowContext.h"
#include "measure/CurrentMeasurement.h"
#include "support/FakeMidiSystem.h"
#include "transport/MidiPort.h"
#include <QMdiArea>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <vector>

using namespace measure;

class QMdiSubWindow;

// The main window as a child window sees it: records menu switches, unloads and Edit menu
// pop-ups.
class TestFrame : public MainFrame {
public:
    explicit TestFrame(QMdiArea& area) : area_(area) {}

    int unloaded = 0;
    std::map<QString, bool> menuEnabled; // last state of each entry switched
    std::vector<QPoint> editMenuPopups;
    std::vector<QString> statusMessages;

    void ChildActivated() override {}
    void ChildUnloaded() override { ++unloaded; }
    void setMenuEntryEnabled(const QString& objectName, bool enabled) override {
        menuEnabled[objectName] = enabled;
    }
    QMdiArea* mdiArea() override { return &area_; }
    void popupEditMenu(const QPoint& globalPos) override { editMenuPopups.push_back(globalPos); }
    void showStatusMessage(const QString& text) override { statusMessages.push_back(text); }
    ChildWindow* openChild(const QString&) override { return nullptr; }
    // True unless the entry was last disabled.
    bool isEnabled(const QString& objectName) const;

private:
    QMdiArea& area_;
};

// Everything a window needs, owned in one place: shared state with its start folder in a
// fresh temporary folder, texts, recorded message boxes, the clock with a fake timer, a
// MIDI port over the fake system, and a shown MDI area of 1200 x 900 pixels inside a frame
// that records what the windows ask of it. Twips per pixel are 15 in both directions.
struct TestContext {
    TestContext();
    ~TestContext();
    TestContext(const TestContext&) = delete;
    TestContext& operator=(const TestContext&) = delete;

    QTemporaryDir folder;
    AppState app;
    Texts texts;
    RecordingNotifier notifier;
    MessageService messages{texts, notifier};
    PrecisionClock clock;
    FakeTimerSource timerSource;
    modTimerExact timer{clock, timerSource};
    FakeMidiSystem midiSystem;
    MidiPort midi{midiSystem, messages, clock};
    QMdiArea area;
    TestFrame frame{area};
    CurrentMeasurement measurement;
    WindowContext ctx{app, texts, messages, midi, timer, &frame};

    // Opens a window the way the main window does: into the area, load, show.
    template <class W> W* open() {
        W* w = new W(ctx);
        openChild(w);
        return w;
    }
    QMdiSubWindow* openChild(ChildWindow* w);
    // A path inside the start folder (8-bit).
    std::string path(const std::string& name) const;
};
