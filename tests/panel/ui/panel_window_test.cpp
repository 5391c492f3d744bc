#include "base/FileStore.h"
#include "panel_fixture.h"
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

constexpr uint32_t msg(uint32_t status, uint32_t data1, uint32_t data2) {
    return status | data1 << 8 | data2 << 16;
}

class PanelWindowTest : public UnitWindowTest<frmPannelloControllo> {
protected:
    QLineEdit* edit(const char* name) const { return get<QLineEdit>(name); }
    bool enabled(const char* name) const { return get<QWidget>(name)->isEnabled(); }
    QString text1() const { return get<QPlainTextEdit>("Text1")->toPlainText(); }
    QString lastLine() const { return text1().split('\n').constLast(); }
    // Replaces the whole text of a box by typing, one key at a time.
    void type(const char* name, const char* keys) {
        QTest::keyClick(edit(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit(name), keys);
    }
    // The unit answers and the panel's TimerMIDIIn takes the answers, as one tick does.
    bool pump() {
        UnitWindowTest::pump(1000);
        const bool goingOn = drainRing(mainPoller(), port);
        w->flushMonitor();
        return goingOn;
    }
    void enterAccess() {
        click("ComEEPROM");
        pump();
    }
};

TEST_F(PanelWindowTest, EnteringAndLeavingEepromAccess) {
    open();
    EXPECT_EQ(targets.panel, static_cast<PanelSink*>(w));
    EXPECT_TRUE(link.sent.empty());

    click("ComEEPROM");
    EXPECT_EQ(link.sent, std::vector<uint32_t>{0xD2});
    EXPECT_TRUE(link.inputStarted() && mainPoller()->isActive());
    EXPECT_TRUE(enabled("RdADR"));

    EXPECT_TRUE(pump());
    EXPECT_EQ(text1(), "     1 D20000  EEPROM DATI/PROG");

    // A 0xD0 nobody asked for (noise on the line) is logged, and the monitor goes on.
    port.MIDIInProc(&port, MidiInData, 0xD0);
    port.MIDIInProc(&port, MidiInData, msg(0x88, 7, 0x21));
    EXPECT_TRUE(pump());
    EXPECT_EQ(text1().split('\n').mid(1),
              (QStringList{"     2 D00000  EEPROM DATI/PROG NO", "     3 880721  MDX DATI"}));
    EXPECT_TRUE(link.inputStarted() && mainPoller()->isActive());

    click("ComEEPROM");
    EXPECT_EQ(link.sent.back(), 0xD0u);
    // The unit's 0xD0 stops the input and then the poller.
    EXPECT_FALSE(pump());
    EXPECT_EQ(lastLine(), "     4 D00000  EEPROM DATI/PROG NO");
    EXPECT_FALSE(mainPoller()->isActive());
    EXPECT_FALSE(link.inputStarted());
}

// Closed in EEPROM access the panel puts the unit back to run mode; closed outside it, the
// panel sends nothing.
TEST_F(PanelWindowTest, ClosingInEepromAccessPutsTheUnitBackToRunMode) {
    for (const bool inAccess : {true, false}) {
        open();
        if (inAccess) enterAccess();
        ASSERT_EQ(link.unit.mode(), inAccess ? UnitMode::EepromAccess : UnitMode::Run);
        link.sent.clear();
        ASSERT_TRUE(w->subWindow()->close());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(link.sent, inAccess ? std::vector<uint32_t>{0xD0} : std::vector<uint32_t>{});
        EXPECT_FALSE(decoder.EEPROMMode);
        EXPECT_EQ(targets.panel, nullptr);
        EXPECT_FALSE(link.inputStarted() || port.ShowSentMsg);
        EXPECT_EQ(link.unit.mode(), UnitMode::Run);
    }
}

TEST_F(PanelWindowTest, MonitorIsSavedClearedAndPausedThenC8IsWrittenToMdxAndReadBack) {
    open();
    enterAccess();
    // One line of 33 characters: a whole record and a short piece of 4.
    const std::string line = "     1 D20000  EEPROM DATI/PROG\r\n";
    ASSERT_EQ(w->monitorText(), line);
    const std::string file = t.path("monitor.txt");
    main->documents().setChooser(
        [&](const FileDialogRequest&) { return QString::fromStdString(file); });
    click("CommSalvaText1");
    EXPECT_EQ(readWholeFile(file), line);

    click("ClearText1");
    EXPECT_EQ(w->monitorText(), "");
    click("CommStop"); // pauses the monitor: an answer now is not shown
    QTest::mouseDClick(edit("RdADR"), Qt::LeftButton);
    pump();
    EXPECT_EQ(text1(), "");
    click("CommStop");
    EXPECT_TRUE(link.inputStarted());
    QTest::mouseDClick(edit("RdADR"), Qt::LeftButton);
    pump();
    // Address 0 of the factory EEPROM holds the first identity byte, 0x5A.
    EXPECT_EQ(text1(), "     1 88005A  MDX DATI");

    // C8 written to address 200 of MDX and read back; address 130 of MSX program memory.
    ASSERT_EQ(link.unit.eeprom().mdx[200], 0xFF);      // erased
    QTest::keyClick(scroll("VScrollWr"), Qt::Key_End); // 255: out of the protected addresses
    type("WrADR", "200"); // through 2 and 20 the box stays open while typing
    EXPECT_EQ(scroll("VScrollWr")->value(), 200);
    type("WrDAT", "C8");
    ASSERT_TRUE(enabled("ComScrivi"));
    click("ComScrivi");
    EXPECT_EQ(label("PMIDIOut"), "834848");
    EXPECT_EQ(link.unit.eeprom().mdx[200], 0xC8);
    pump();

    const size_t before = link.sent.size();
    type("RdADR", "200"); // reads 2, 20, 200
    EXPECT_EQ(link.sent.size(), before + 3);
    pump();
    EXPECT_EQ(label("RdDAT"), "C8");

    click("ComSelezMDXMSX");
    EXPECT_EQ(label("Label8"), "MSX");
    click("ComDatiProg");
    type("RdADR", "130");
    pump();
    // MSX program byte 130: (130 * 29 + 0x3F + 0x80) mod 256 = 3961 mod 256 = 0x79
    EXPECT_EQ(label("RdDAT"), "79");
}

} // namespace

TEST_F(PanelWindowTest, MonitorShowsBatchesAndHowManyMessagesTheFullRingLost) {
    open();
    enterAccess();
    // 31999 entries fill the ring; the next five are lost.
    for (int i = 0; i < MidiRing::Size + 4; ++i)
        port.MIDIInProc(&port, MidiInData, msg(0x88, i & 0x7F, (i >> 7) & 0x7F));
    // Until the monitor's turn the text stays as it was; then the latest lines arrive at once.
    const QString before = text1();
    while (mainPoller()->pollNow() && !port.ring.empty()) {
    }
    EXPECT_EQ(text1(), before);
    EXPECT_TRUE(get<QTimer>("TimerMonitor")->isActive());
    w->flushMonitor();
    // Lines 2..4999, then five rounds of 1..4999 and 1..2006: the last 1000 are shown,
    // the other 4998 + 5 * 4999 + 1006 = 30999 counted.
    EXPECT_EQ(lastLine(), "  2006 887E79  MDX DATI");
    EXPECT_TRUE(text1().startsWith("  1007 "));
    EXPECT_EQ(text1().count('\n'), 999);
    EXPECT_EQ(get<QLineEdit>("Text2")->text(),
              "Messaggi MIDI persi: 5 - Righe non mostrate: 30999");
    EXPECT_EQ(label("PMIDIIn"), "887E79");
}
