#include "base/SerialPortList.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/ui/WindowRegistry.h"
#include "shell/ui/Workbench.h"
#include "shell/ui/frmMain.h"
#include "support/ui/TestContext.h"
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
#include <stdlib.h>
#include <unistd.h>

using namespace base;
using namespace transport;
using namespace shell;

namespace {

class NullDecoder : public MessageDecoder {
public:
    void DecodeMIDIIn(uint32_t) override {}
};

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

// The frame over serial ports only: device 0 is the first port added.
struct SerialFrameTest : ::testing::Test {
    TestContext t;
    SerialMidiSystem serial;
    MidiPort port{serial, t.messages, t.clock};
    WindowContext ctx{t.app, t.texts, t.messages, port, t.timer, nullptr};
    NullDecoder decoder;
    std::unique_ptr<frmMain> main;

    void start() {
        ctx.measurement = &t.measurement;
        main = std::make_unique<frmMain>(ctx, decoder);
        main->setSerialPorts(&serial);
        main->MDIForm_Load();
        main->show();
    }
    QAction* act(const QString& name) { return main->action(name); }
    // Preferences -> add serial port: the path typed into the first box, the speed picked
    // in the second.
    void addPort(const std::string& path, const QString& speed) {
        int step = 0;
        QTimer driver;
        driver.setInterval(5);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            box->setTextValue(step == 0 ? QString::fromStdString(path) : speed);
            box->accept();
            ++step;
        });
        driver.start();
        act("mnuPortaSeriale")->trigger();
        driver.stop();
        ASSERT_EQ(step, 2);
    }
    bool waitUntil(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }
};

TEST_F(SerialFrameTest, APortHungUpAtItsFarEndIsReportedOnceClosedAndUnchecked) {
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    start();
    addPort(pty.path, "31250");
    EXPECT_EQ(serial.ports(), std::vector<std::string>{pty.path});
    EXPECT_EQ(t.app.SerialPortBauds, std::vector<int>{31250});
    act("mnuDevMIDIOut_0")->trigger();
    act("mnuDevMIDIIn_0")->trigger();
    act("mnuMIDIThru")->trigger();
    ASSERT_TRUE(port.MIDIOutOpen && port.MIDIInOpen && port.MIDIThruOn);
    EXPECT_EQ(serial.openLineSpeed(pty.path), 31250);
    port.StartMIDIIn();

    pty.hangUp();
    ASSERT_TRUE(waitUntil([&] { return !port.MIDIOutOpen; }));
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_NE(t.notifier.warnings[0].text.find(pty.path), std::string::npos);
    EXPECT_FALSE(port.MIDIInOpen);
    EXPECT_FALSE(act("mnuDevMIDIOut_0")->isChecked());
    EXPECT_FALSE(port.MIDIThruOn);

    // Later sends raise no box, and nothing else is reported about the port.
    for (int i = 0; i < 3; ++i)
        port.sendCommand(0xD2);
    QTest::qWait(50);
    EXPECT_EQ(t.notifier.warnings.size(), 1u);
}

TEST_F(SerialFrameTest, AnOutputAloneFindsTheHangUpOnItsNextSend) {
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    start();
    addPort(pty.path, "38400");
    act("mnuDevMIDIOut_0")->trigger();
    ASSERT_TRUE(port.MIDIOutOpen);
    EXPECT_EQ(serial.openLineSpeed(pty.path), 38400);

    pty.hangUp();
    port.sendCommand(0xD2); // the send finds the line gone: no box of its own
    port.sendCommand(0xD0);
    ASSERT_TRUE(waitUntil([&] { return !port.MIDIOutOpen; }));
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_NE(t.notifier.warnings[0].text.find(pty.path), std::string::npos);
    port.sendCommand(0xD2);
    EXPECT_EQ(t.notifier.warnings.size(), 1u);
}

// A recording over a port whose far end hangs up: the one notice naming the port, and
// nothing more from Stop, closing the window or the program's end.
TEST(SerialHangUp, StopCloseAndExitSayNothingAfterTheNotice) {
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    SerialMidiSystem serial;
    ASSERT_EQ(serial.addPort(pty.path), 0);
    // The program over the port as its device 0 both ways, boxes recorded.
    QTemporaryDir folder;
    RecordingNotifier notifier;
    FakeTimerSource timerSource;
    WorkbenchOptions options = testOptions(folder, serial, notifier, timerSource);
    options.serialPorts = &serial;
    Workbench program(options);
    MidiPort& port = program.midi;
    frmMain* main = &program.frame();
    ASSERT_TRUE(port.MIDIOutOpen && port.MIDIInOpen);
    main->action("mnuMisRot")->trigger();
    auto* rotation = main->findChild<QWidget*>("frmMisRot");
    ASSERT_NE(rotation, nullptr);
    auto* stop = rotation->findChild<QPushButton*>("ComStop");
    QTest::mouseClick(stop, Qt::LeftButton);
    ASSERT_TRUE(port.MIDIInStarted);

    pty.hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.MIDIInOpen; }, 5000));
    ASSERT_EQ(notifier.warnings.size(), 1u);
    QTest::mouseClick(stop, Qt::LeftButton); // Stop
    EXPECT_EQ(stop->text(), "Start");
    EXPECT_EQ(port.StopMIDIIn(), transport::MidiNoDriver); // the input is gone: nothing to say
    main->mdiArea()->closeAllSubWindows();
    main->close();
    EXPECT_EQ(notifier.warnings.size(), 1u);
    for (const auto& box : notifier.warnings)
        EXPECT_EQ(box.text.find("MMSYSERR"), std::string::npos) << box.text;
}

} // namespace
