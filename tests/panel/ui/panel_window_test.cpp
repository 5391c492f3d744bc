#include "app/FileStore.h"
#include "panel_fixture.h"
#include <QFontMetrics>
#include <QGroupBox>

namespace {

constexpr uint32_t msg(uint32_t status, uint32_t data1, uint32_t data2) {
    return status | data1 << 8 | data2 << 16;
}

TEST_F(PanelWindowTest, LoadShowsTheIdlePanel) {
    open();
    EXPECT_EQ(w->windowTitle(), "Pannello di controllo");
    EXPECT_EQ(w->subWindow()->geometry(), QRect(0, 0, 703, 465)); // 10545 x 6970 twips
    EXPECT_EQ(t.app.WinRec[22].State, 1);
    EXPECT_EQ(t.app.WinRec[22].MaxWidth, 10545);
    EXPECT_EQ(t.app.WinRec[22].MaxHeight, 6970);
    EXPECT_EQ(w->tag().at(0).unicode(), 22);
    EXPECT_EQ(t.app.ChildCount, 1);
    EXPECT_EQ(targets.panel, static_cast<PanelSink*>(w));
    EXPECT_TRUE(port.MIDIInDecode);
    EXPECT_TRUE(link.sent.empty());

    const std::pair<const char*, const char*> captions[] = {{"ComEEPROM", "EEPROM DATI/PROG"},
                                                            {"ComSelezMDXMSX", "MDX/MSX"},
                                                            {"ComDatiProg", "Programma"},
                                                            {"ComScrivi", "Scrivi BYTE"},
                                                            {"CommStop", "Start"},
                                                            {"ClearText1", "Cancella"},
                                                            {"CommSalvaText1", "Salva"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(button(name)->text(), caption) << name;
    EXPECT_EQ(label("Label5")->text(), "MDX");
    EXPECT_EQ(label("Label8")->text(), "MDX");
    EXPECT_EQ(edit("WrADR")->text(), "0");
    EXPECT_EQ(edit("RdADR")->text(), "0");
    EXPECT_EQ(get<QGroupBox>("FrameMIDIOut")->title(), "MIDI trasmesso");
    EXPECT_EQ(get<QGroupBox>("FrameMIDIIn")->title(), "MIDI ricevuto");
    const QFontMetrics mono(get<QPlainTextEdit>("Text1")->font()); // columns line up
    EXPECT_EQ(mono.horizontalAdvance('i'), mono.horizontalAdvance('W'));
    EXPECT_FALSE(poller()->isActive());

    for (const char* name :
         {"ComSelezMDXMSX", "ComDatiProg", "ComScrivi", "WrADR", "WrDAT", "RdADR", "RdDAT",
          "VScrollWr", "VScrollRd", "CommStop", "CommSalvaText1"})
        EXPECT_FALSE(get<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(button("ComEEPROM")->isEnabled());
    EXPECT_TRUE(button("ClearText1")->isEnabled());
}

TEST_F(PanelWindowTest, EnteringAndLeavingEepromAccess) {
    open();
    click("ComEEPROM");
    EXPECT_EQ(link.sent, std::vector<uint32_t>{0xD2});
    EXPECT_EQ(button("ComEEPROM")->text(), "EEPROM DATI/PROG EXIT");
    EXPECT_TRUE(link.inputStarted());
    EXPECT_TRUE(poller()->isActive());
    EXPECT_TRUE(decoder.EEPROMMode);
    EXPECT_EQ(label("PMIDIOut")->text(), "D20000");
    EXPECT_EQ(button("CommStop")->text(), "Stop");
    // Address 0 is protected: no writing, although everything else opens.
    for (const char* name : {"ComScrivi", "WrADR", "WrDAT"})
        EXPECT_FALSE(get<QWidget>(name)->isEnabled()) << name;
    for (const char* name : {"ComSelezMDXMSX", "ComDatiProg", "RdADR", "RdDAT", "VScrollWr",
                             "VScrollRd", "CommStop", "CommSalvaText1"})
        EXPECT_TRUE(get<QWidget>(name)->isEnabled()) << name;

    EXPECT_TRUE(pump());
    EXPECT_EQ(label("PMIDIIn")->text(), "D20000");
    EXPECT_EQ(text1(), "     1 D20000  EEPROM DATI/PROG");
    EXPECT_TRUE(decoder.EEPROMAccess);

    click("ComEEPROM");
    EXPECT_EQ(link.sent.back(), 0xD0u);
    EXPECT_EQ(button("ComEEPROM")->text(), "EEPROM DATI/PROG");
    for (const char* name : {"ComSelezMDXMSX", "RdADR", "VScrollWr", "CommStop"})
        EXPECT_FALSE(get<QWidget>(name)->isEnabled()) << name;
    // The unit's 0xD0 stops the input and then the poller.
    EXPECT_FALSE(pump());
    EXPECT_EQ(lastLine(), "     2 D00000  EEPROM DATI/PROG NO");
    EXPECT_FALSE(poller()->isActive());
    EXPECT_FALSE(link.inputStarted());
}

TEST_F(PanelWindowTest, WritesC8ToAddress200OfMdxAndReadsItBack) {
    open();
    enterAccess();
    ASSERT_EQ(link.unit.eeprom().mdx[200], 0xFF); // erased
    ASSERT_EQ(link.unit.eeprom().mdx[10], 0xFF);

    QTest::keyClick(scroll("VScrollWr"), Qt::Key_End);
    EXPECT_EQ(edit("WrADR")->text(), "255");
    type("WrADR", "200"); // through 2 and 20: the box stays open while typing
    EXPECT_EQ(edit("WrADR")->text(), "200");
    EXPECT_EQ(scroll("VScrollWr")->value(), 200);
    type("WrDAT", "C8");
    ASSERT_TRUE(button("ComScrivi")->isEnabled());
    click("ComScrivi");
    EXPECT_EQ(link.sent.back(), msg(0x83, 72, 72));
    EXPECT_EQ(label("PMIDIOut")->text(), "834848");
    EXPECT_EQ(link.unit.eeprom().mdx[200], 0xC8);
    pump();
    EXPECT_EQ(lastLine(), "     2 834848  MDX DATI"); // the unit's echo

    type("RdADR", "10"); // reads 1, then 10
    EXPECT_EQ(link.sent.back(), msg(0x88, 10, 0));
    pump();
    EXPECT_EQ(label("RdDAT")->text(), "FF");

    const size_t before = link.sent.size();
    type("RdADR", "200"); // reads 2, 20, 200
    EXPECT_EQ(link.sent.size(), before + 3);
    EXPECT_EQ(link.sent.back(), msg(0x8A, 72, 0));
    EXPECT_EQ(label("PMIDIOut")->text(), "8A4800");
    pump();
    EXPECT_EQ(label("RdDAT")->text(), "C8");
    EXPECT_EQ(label("PMIDIIn")->text(), "8B4848");
    EXPECT_EQ(lastLine(), "     7 8B4848  MDX DATI");

    QTest::mouseDClick(edit("RdADR"), Qt::LeftButton);
    EXPECT_EQ(link.sent.size(), before + 4);
    EXPECT_EQ(link.sent.back(), msg(0x8A, 72, 0));
}

TEST_F(PanelWindowTest, ReadsAddress130OfMsxProgramMemory) {
    open();
    enterAccess();
    click("ComSelezMDXMSX");
    EXPECT_EQ(label("Label8")->text(), "MSX");
    EXPECT_EQ(label("Label5")->text(), "MSX");
    click("ComDatiProg");
    EXPECT_EQ(button("ComDatiProg")->text(), "Dati");

    type("RdADR", "130");
    EXPECT_EQ(link.sent.back(), msg(0x9E, 2, 0));
    EXPECT_EQ(label("PMIDIOut")->text(), "9E0200");
    pump();
    // MSX program byte 130: (130 * 29 + 0x3F + 0x80) mod 256 = 3961 mod 256 = 0x79
    EXPECT_EQ(label("RdDAT")->text(), "79");
    EXPECT_EQ(lastLine(), "     4 9E0279  MSX PROG");

    click("ComDatiProg");
    EXPECT_EQ(button("ComDatiProg")->text(), "Programma");
}

TEST_F(PanelWindowTest, WriteAddresses0To3AreProtectedAndTypingIsBounded) {
    open();
    enterAccess();
    auto writing = [this] {
        const bool a = edit("WrADR")->isEnabled();
        const bool d = edit("WrDAT")->isEnabled();
        const bool s = button("ComScrivi")->isEnabled();
        EXPECT_TRUE(a == d && d == s);
        return s;
    };
    for (int i = 1; i <= 3; ++i) {
        stepDown("VScrollWr");
        EXPECT_FALSE(writing()) << i;
    }
    stepDown("VScrollWr");
    EXPECT_EQ(edit("WrADR")->text(), "4");
    EXPECT_TRUE(writing());
    stepUp("VScrollWr");
    EXPECT_EQ(edit("WrADR")->text(), "3");
    EXPECT_FALSE(writing());
    stepDown("VScrollWr");
    EXPECT_TRUE(writing());

    type("WrDAT", "7g"); // g refused
    EXPECT_EQ(edit("WrDAT")->text(), "7");
    EXPECT_EQ(w->state().PanelWrData, 7);

    // Program memory is read only, even at a free address.
    click("ComDatiProg");
    EXPECT_FALSE(button("ComScrivi")->isEnabled());
    click("ComDatiProg");
    EXPECT_TRUE(button("ComScrivi")->isEnabled());

    type("WrADR", "300");
    EXPECT_EQ(edit("WrADR")->text(), "255");
    EXPECT_EQ(scroll("VScrollWr")->value(), 255);
    EXPECT_EQ(w->state().PanelWrAddr, 255);
    QTest::keyClicks(edit("WrADR"), "x"); // refused
    EXPECT_EQ(edit("WrADR")->text(), "255");
    QTest::keyClick(edit("WrADR"), Qt::Key_Backspace);
    QTest::keyClick(edit("WrADR"), Qt::Key_Backspace);
    QTest::keyClick(edit("WrADR"), Qt::Key_Backspace);
    EXPECT_EQ(edit("WrADR")->text(), "0"); // an empty box means 0
    EXPECT_EQ(scroll("VScrollWr")->value(), 0);
}

TEST_F(PanelWindowTest, MonitorTextIsSavedWholeIn29ByteRecords) {
    open();
    enterAccess();
    // One line of 33 characters: a whole record and a short piece of 4.
    const std::string line = "     1 D20000  EEPROM DATI/PROG\r\n";
    ASSERT_EQ(w->monitorText(), line);

    const std::string first = t.path("monitor.txt");
    ASSERT_TRUE(w->saveMonitorText(first));
    EXPECT_EQ(readWholeFile(first), line);
    EXPECT_EQ(t.app.LastDocFolder, t.folder.path().toStdString());

    QString offered;
    const std::string second = t.path("button.txt");
    w->setSavePathChooser([&](const QString& start) {
        offered = start;
        return QString::fromStdString(second);
    });
    click("CommSalvaText1");
    EXPECT_EQ(offered, t.folder.path());
    EXPECT_EQ(readWholeFile(second), line);

    w->setSavePathChooser([&](const QString&) { return QString::fromStdString(second + "/x"); });
    click("CommSalvaText1");
    ASSERT_EQ(t.notifier.warnings.size(), 1u);
    EXPECT_EQ(t.notifier.warnings[0].text, "Errore di scrittura su disco");
    EXPECT_EQ(readWholeFile(second), line);

    click("ClearText1");
    EXPECT_EQ(text1(), "");
    EXPECT_EQ(w->monitorText(), "");
    QTest::mouseDClick(edit("RdADR"), Qt::LeftButton);
    pump();
    // Address 0 of the factory EEPROM holds the first identity byte, 0x5A.
    EXPECT_EQ(text1(), "     1 88005A  MDX DATI");
}

TEST_F(PanelWindowTest, CommStopPausesAndResumesTheMonitor) {
    open();
    enterAccess();
    click("CommStop");
    EXPECT_EQ(button("CommStop")->text(), "Start");
    EXPECT_FALSE(link.inputStarted());
    EXPECT_TRUE(button("ClearText1")->isEnabled());
    QTest::mouseDClick(edit("RdADR"), Qt::LeftButton);
    pump();
    EXPECT_EQ(text1(), "     1 D20000  EEPROM DATI/PROG"); // the answer was not heard

    click("CommStop");
    EXPECT_EQ(button("CommStop")->text(), "Stop");
    EXPECT_TRUE(link.inputStarted());
    EXPECT_FALSE(button("ClearText1")->isEnabled());
    QTest::mouseDClick(edit("RdADR"), Qt::LeftButton);
    pump();
    EXPECT_TRUE(button("ClearText1")->isEnabled());
    EXPECT_EQ(lastLine(), "     1 88005A  MDX DATI");
}

TEST_F(PanelWindowTest, RightClickInTheMonitorPopsUpTheEditMenu) {
    open();
    auto* box = get<QPlainTextEdit>("Text1");
    QTest::mouseClick(box->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    ASSERT_EQ(t.frame.editMenuPopups.size(), 1u);
    EXPECT_EQ(t.frame.editMenuPopups[0], box->viewport()->mapToGlobal(QPoint(20, 20)));
}

TEST_F(PanelWindowTest, UnloadStopsInputAndStoresThePlacement) {
    open();
    enterAccess();
    w->subWindow()->setGeometry(30, 45, 720, 480);
    ASSERT_TRUE(closeWindow());
    const WindowRecord& rec = t.app.WinRec[22];
    EXPECT_EQ(rec.State, 0);
    EXPECT_EQ(rec.Left, 450);
    EXPECT_EQ(rec.Top, 675);
    EXPECT_EQ(rec.Width, 10800);
    EXPECT_EQ(rec.Height, 7200);
    EXPECT_EQ(t.app.ChildCount, 0);
    EXPECT_EQ(t.frame.unloaded, 1);
    EXPECT_FALSE(decoder.EEPROMMode);
    EXPECT_EQ(targets.panel, nullptr);
    EXPECT_FALSE(link.inputStarted());
    EXPECT_FALSE(port.ShowSentMsg);
    EXPECT_FALSE(t.frame.isEnabled("mnuSalvaAs"));

    open();
    EXPECT_EQ(w->subWindow()->geometry(), QRect(30, 45, 720, 480));
}

TEST_F(PanelWindowTest, GrabToPng) {
    open();
    enterAccess();
    type("RdADR", "130");
    pump();
    w->subWindow()->grab().save("/tmp/frmPannelloControllo.png");
}

} // namespace
