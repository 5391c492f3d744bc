// The control panel's monitor on a serial line that floods random bytes at 1 MB/s (a
// pseudo-terminal stands in for the line): the window keeps showing the latest lines through
// the flood, keeps its input and says how many messages and lines it could not show.
// Bounded: the flood lasts at most 4 s, waits are a few seconds.
#include "panel/ui/frmPannelloControllo.h"
#include "protocol/Decoder.h"
#include "support/ui/TestContext.h"
#include "transport/MidiPort.h"
#include "transport/backends/SerialMidiSystem.h"
#include "transport/ui/RingPollTimer.h"
#include "shell/ui/Workbench.h"
#include "shell/ui/frmMain.h"
#include "support/ui/UnitTimeWorkbench.h"
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTextBlock>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

TEST(PanelFlood, TheMonitorShowsTheLatestLinesThroughAFloodOfNoise) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    SerialMidiSystem serial;
    ASSERT_EQ(serial.addPort(::ptsname(master)), 0);
    // The program over the line as its device 0 both ways, boxes recorded.
    QTemporaryDir folder;
    RecordingNotifier notifier;
    FakeTimerSource timerSource;
    Workbench bench(testOptions(folder, serial, notifier, timerSource));
    MidiPort& port = bench.midi;
    UnitLink& link = bench.link;
    ASSERT_TRUE(port.MIDIInOpen && port.MIDIOutOpen);
    auto* w = dynamic_cast<frmPannelloControllo*>(bench.frame().openChild("mnuPannelloControllo"));
    ASSERT_NE(w, nullptr);
    const auto* text1 = w->findChild<QPlainTextEdit*>("Text1");
    const auto lastLine = [text1] { return text1->document()->lastBlock().text(); };
    QTest::mouseClick(w->findChild<QPushButton*>("ComEEPROM"), Qt::LeftButton);
    // The unit grants the access before the noise starts.
    const unsigned char granted[] = {0xD2, 0x00};
    ASSERT_EQ(::write(master, granted, sizeof granted), static_cast<ssize_t>(sizeof granted));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.answersMemory(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lastLine().isEmpty(); }, 5000));

    // The noise: 1 MB/s, as the line's clock allows, for 4 s at most. What the panel sends
    // comes out at the master's end and is read away so the line stays open.
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    constexpr double kBytesPerSecond = 1e6;
    std::atomic<bool> stop{false};
    std::atomic<long> noise{0};
    std::thread line([&] {
        std::mt19937 random(20261206);
        unsigned char bytes[4096];
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            const std::chrono::duration<double> since = std::chrono::steady_clock::now() - start;
            if (stop || since.count() > 4.0) break;
            if (noise > since.count() * kBytesPerSecond) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            for (auto& b : bytes)
                b = static_cast<unsigned char>(random());
            const ssize_t n = ::write(master, bytes, sizeof bytes);
            if (n > 0) noise += n;
            char sink[256];
            while (::read(master, sink, sizeof sink) > 0) {
            }
            pollfd writable{master, POLLOUT, 0};
            if (n <= 0) ::poll(&writable, 1, 10);
        }
        stop = true;
    });
    const auto finish = qScopeGuard([&] {
        stop = true;
        if (line.joinable()) line.join();
    });

    // While the noise lasts the monitor is never found empty, and its last line moves on
    // (every line carries its running number).
    const QString before = lastLine();
    int emptyLooks = 0;
    bool movedDuringFlood = false;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            if (lastLine().isEmpty() && text1->blockCount() <= 1) ++emptyLooks;
            movedDuringFlood = movedDuringFlood || (!stop && lastLine() != before);
            return stop.load();
        },
        15000));
    line.join();
    ASSERT_GT(noise, 1'000'000);
    EXPECT_TRUE(movedDuringFlood);
    EXPECT_EQ(emptyLooks, 0);
    EXPECT_TRUE(port.MIDIInStarted);
    EXPECT_TRUE(bench.frame().findChild<RingPollTimer*>("TimerMIDIIn")->isActive());

    // Once the noise ends, the unit's answers are shown as ever, and Text2 says what was
    // lost on the way: messages the full ring dropped, lines the monitor could not show.
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.ring.empty(); }, 10000));
    const unsigned char answers[] = {0xD2, 0x00, 0x88, 0x05, 0x21};
    ASSERT_EQ(::write(master, answers, sizeof answers), static_cast<ssize_t>(sizeof answers));
    EXPECT_TRUE(QTest::qWaitFor([&] { return lastLine().endsWith(" 880521  MDX DATI"); }, 5000));
    const QString said = w->findChild<QLineEdit*>("Text2")->text();
    if (port.ring.overruns() > 0) {
        EXPECT_TRUE(said.startsWith(QString("Messaggi MIDI persi: %1").arg(port.ring.overruns())))
            << said.toStdString();
    }

    // The window goes while the link and the port it uses still exist.
    bench.frame().mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    port.shutdown();
    ::close(master);
}

} // namespace
