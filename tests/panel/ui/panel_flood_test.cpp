// The control panel's monitor on a serial line that floods random bytes (a pseudo-terminal
// stands in for the line): the window keeps logging through the flood and afterwards, and
// says how many messages the full ring lost. Bounded: 1 MB of noise or 10 s, waits of a few
// seconds.
#include "midi/Decoder.h"
#include "midi/MidiPort.h"
#include "midi/backends/SerialMidiSystem.h"
#include "midi/ui/RingPollTimer.h"
#include "panel/ui/frmPannelloControllo.h"
#include "support/ui/LinkPoller.h"
#include "support/ui/TestContext.h"
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
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

TEST(PanelFlood, TheMonitorKeepsLoggingThroughAFloodOfNoise) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    TestContext t;
    SerialMidiSystem serial;
    ASSERT_EQ(serial.addPort(::ptsname(master)), 0);
    MidiPort port{serial, t.messages, t.clock};
    port.MIDIInDevice = 0;
    port.MIDIOutDevice = 0;
    ASSERT_EQ(port.OpenMIDIIn(), 0);
    ASSERT_EQ(port.OpenMIDIOut(), 0);
    WindowContext ctx{t.app, t.texts, t.messages, port, t.timer, &t.frame};
    DecoderTargets targets;
    Decoder decoder{port, t.app, t.notifier, targets};
    UnitLink link{port, decoder, targets};
    LinkPoller frame{port, decoder, link};
    targets.main = &frame;
    ctx.decoder = &decoder;
    ctx.targets = &targets;
    ctx.link = &link;
    auto* w = new frmPannelloControllo(ctx);
    t.openChild(w);
    QTest::mouseClick(w->findChild<QPushButton*>("ComEEPROM"), Qt::LeftButton);
    // The unit grants the access before the noise starts.
    const unsigned char granted[] = {0xD2, 0x00};
    ASSERT_EQ(::write(master, granted, sizeof granted), static_cast<ssize_t>(sizeof granted));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.answersMemory(); }, 5000));

    // The noise: 1 MB, or less when the machine is slow (at most 10 s). What the panel sends
    // comes out at the master's end and is read away so the line stays open.
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    constexpr int kNoise = 1'000'000;
    std::atomic<bool> stop{false};
    std::atomic<int> noise{0};
    std::thread line([&] {
        std::mt19937 random(20261206);
        unsigned char bytes[4096];
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!stop && noise < kNoise && std::chrono::steady_clock::now() < end) {
            for (auto& b : bytes)
                b = static_cast<unsigned char>(random());
            const ssize_t n = ::write(master, bytes, sizeof bytes);
            if (n > 0) noise += static_cast<int>(n);
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
    RingPollTimer* poller = &frame.timer;
    // Half way through and at the end the monitor is still taking lines.
    EXPECT_TRUE(QTest::qWaitFor([&] { return stop || noise >= kNoise / 2; }, 15000));
    const int lineHalfWay = decoder.RxLineNo;
    const int noiseHalfWay = noise;
    EXPECT_TRUE(QTest::qWaitFor([&] { return stop.load(); }, 15000));
    line.join();
    ASSERT_GT(noise, 100'000);
    if (noise > noiseHalfWay + 100'000) {
        EXPECT_NE(decoder.RxLineNo, lineHalfWay);
    }
    EXPECT_TRUE(port.MIDIInStarted);
    EXPECT_TRUE(poller->isActive());

    // Once the noise ends, the unit's answers are logged as ever.
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.ring.empty(); }, 10000));
    const unsigned char answers[] = {0xD2, 0x00, 0x88, 0x05, 0x21};
    ASSERT_EQ(::write(master, answers, sizeof answers), static_cast<ssize_t>(sizeof answers));
    const auto* text1 = w->findChild<QPlainTextEdit*>("Text1");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return text1->toPlainText().endsWith(" 880521  MDX DATI"); }, 5000));
    if (port.ring.overruns() > 0) {
        EXPECT_EQ(w->findChild<QLineEdit*>("Text2")->text(),
                  QString("Messaggi MIDI persi: %1").arg(port.ring.overruns()));
    }

    t.area.closeAllSubWindows();
    port.shutdown();
    ::close(master);
}

} // namespace
