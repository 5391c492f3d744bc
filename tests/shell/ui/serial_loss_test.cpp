#include "shell/ui/frmMain.h"
#include "support/ui/UnitTimeWorkbench.h"
#include "transport/backends/SerialMidiSystem.h"
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <stdlib.h>
#include <unistd.h>

namespace {

// A pseudo-terminal: the workbench opens its slave side as a serial port; closing the
// master is the far end hanging up.
struct Pty {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    std::string path;
    Pty() {
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            path = ::ptsname(master);
    }
    ~Pty() { hangUp(); }
    void hangUp() {
        if (master >= 0) ::close(master);
        master = -1;
    }
};

// The program over serial ports only, boxes recorded: device 0 is the first port added.
struct SerialFrameTest : ::testing::Test {
    Pty pty;
    SerialMidiSystem serial;
    QTemporaryDir folder;
    RecordingNotifier notifier;
    FakeTimerSource timerSource;
    std::optional<Workbench> program;
    frmMain* main = nullptr;

    void SetUp() override { ASSERT_FALSE(pty.path.empty()); }
    void start() {
        WorkbenchOptions options = testOptions(folder, serial, notifier, timerSource);
        options.serialPorts = &serial;
        program.emplace(options);
        main = &program->frame();
    }
    MidiPort& port() { return program->midi; }
    QAction* act(const char* name) { return main->action(name); }
    // Preferences -> add serial port: the path typed into the first box, the speed picked
    // in the second.
    void addPort(const QString& speed) {
        int step = 0;
        QTimer driver;
        driver.setInterval(5);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            box->setTextValue(step == 0 ? QString::fromStdString(pty.path) : speed);
            box->accept();
            ++step;
        });
        driver.start();
        act("mnuPortaSeriale")->trigger();
        driver.stop();
        ASSERT_EQ(step, 2);
    }
    bool waitUntil(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }
    // The one box since the start names the port.
    void expectOneBoxNamingThePort(size_t atStart) {
        ASSERT_EQ(notifier.warnings.size(), atStart + 1);
        EXPECT_NE(notifier.warnings.back().text.find(pty.path), std::string::npos);
    }
};

// Started with no device at all: the output menus wait for the first port added.
TEST_F(SerialFrameTest, APortHungUpAtItsFarEndIsReportedOnceClosedAndUnchecked) {
    start();
    EXPECT_FALSE(act("mnuMIDIOut")->isEnabled());
    const size_t atStart = notifier.warnings.size();
    addPort("31250");
    EXPECT_TRUE(act("mnuMIDIOut")->isEnabled());
    EXPECT_EQ(serial.ports(), std::vector<std::string>{pty.path});
    EXPECT_EQ(program->app.SerialPortBauds, std::vector<int>{31250});
    act("mnuDevMIDIOut_0")->trigger();
    act("mnuDevMIDIIn_0")->trigger();
    act("mnuMIDIThru")->trigger();
    ASSERT_TRUE(port().MIDIOutOpen && port().MIDIInOpen && port().MIDIThruOn);
    EXPECT_EQ(serial.openLineSpeed(pty.path), 31250);
    port().StartMIDIIn();

    pty.hangUp();
    ASSERT_TRUE(waitUntil([&] { return !port().MIDIOutOpen; }));
    expectOneBoxNamingThePort(atStart);
    EXPECT_FALSE(port().MIDIInOpen);
    EXPECT_FALSE(act("mnuDevMIDIOut_0")->isChecked());
    EXPECT_FALSE(port().MIDIThruOn);

    // Later sends raise no box, and nothing else is reported about the port.
    for (int i = 0; i < 3; ++i)
        port().sendCommand(0xD2);
    QTest::qWait(50);
    EXPECT_EQ(notifier.warnings.size(), atStart + 1);
}

TEST_F(SerialFrameTest, AnOutputAloneFindsTheHangUpOnItsNextSend) {
    start();
    const size_t atStart = notifier.warnings.size();
    addPort("38400");
    act("mnuDevMIDIOut_0")->trigger();
    ASSERT_TRUE(port().MIDIOutOpen);
    EXPECT_EQ(serial.openLineSpeed(pty.path), 38400);

    pty.hangUp();
    port().sendCommand(0xD2); // the send finds the line gone: no box of its own
    port().sendCommand(0xD0);
    ASSERT_TRUE(waitUntil([&] { return !port().MIDIOutOpen; }));
    expectOneBoxNamingThePort(atStart);
    port().sendCommand(0xD2);
    EXPECT_EQ(notifier.warnings.size(), atStart + 1);
}

// A recording over a port whose far end hangs up: the one notice naming the port, and
// nothing more from Stop, closing the window or the program's end.
TEST_F(SerialFrameTest, StopCloseAndExitSayNothingAfterTheNotice) {
    ASSERT_EQ(serial.addPort(pty.path), 0); // device 0 both ways from the start
    start();
    ASSERT_TRUE(port().MIDIOutOpen && port().MIDIInOpen);
    act("mnuMisRot")->trigger();
    auto* rotation = main->findChild<QWidget*>("frmMisRot");
    ASSERT_NE(rotation, nullptr);
    auto* stop = rotation->findChild<QPushButton*>("ComStop");
    QTest::mouseClick(stop, Qt::LeftButton);
    ASSERT_TRUE(port().MIDIInStarted);

    pty.hangUp();
    ASSERT_TRUE(waitUntil([&] { return !port().MIDIInOpen; }));
    expectOneBoxNamingThePort(0);
    QTest::mouseClick(stop, Qt::LeftButton); // Stop
    EXPECT_EQ(stop->text(), "Start");
    EXPECT_EQ(port().StopMIDIIn(), MidiNoDriver); // the input is gone: nothing to say
    main->mdiArea()->closeAllSubWindows();
    main->close();
    EXPECT_EQ(notifier.warnings.size(), 1u);
    for (const auto& box : notifier.warnings)
        EXPECT_EQ(box.text.find("MMSYSERR"), std::string::npos) << box.text;
}

} // namespace
