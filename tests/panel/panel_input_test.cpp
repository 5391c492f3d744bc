#include "panel/MonitorFile.h"
#include "panel/PanelInput.h"
#include "panel/PanelState.h"
#include <gtest/gtest.h>

using namespace panel;

TEST(PanelInput, AddressDigitsOnlyBlankIsZeroLargeNumbersTheMaximumDataTwoHexDigits) {
    struct Case {
        const char* typed;
        const char* text;
        int value;
    };
    for (const Case& c : {Case{"", "0", 0},
                          {" ", "0", 0},
                          {"300", "255", 255},
                          {"99999999999999999999", "255", 255}, // no overflow when pasted
                          {"007", "007", 7}}) {
        const AddressEntry e = addressFromText(c.typed);
        EXPECT_TRUE(e.accepted) << c.typed;
        EXPECT_EQ(e.text, c.text) << c.typed;
        EXPECT_EQ(e.value, c.value) << c.typed;
    }
    for (const char* typed : {"12a", "-1", "  ", "1 ", "+4", "0x10", "4.5"})
        EXPECT_FALSE(addressFromText(typed).accepted) << typed;

    // Data is up to two hexadecimal digits.
    for (auto [typed, value] :
         {std::pair{"C8", 200}, {"F", 15}, {"0a", 10}, {"9A", 154}, {"af", 175}, {"", 0}}) {
        EXPECT_TRUE(dataFromHexText(typed).accepted) << typed;
        EXPECT_EQ(dataFromHexText(typed).value, value) << typed;
    }
    for (const char* typed : {"G", "1G", "g", "@", "`", ":", "123", " 1", "-1"})
        EXPECT_FALSE(dataFromHexText(typed).accepted) << typed;
}

// Status 0x80 / 0x84 writes into MDX / MSX, 0x88 / 0x8C reads their data, 0x10 more their
// program memory; status bit 1 carries bit 7 of the address (data1), bit 0 bit 7 of the data
// byte (data2).
TEST(PanelState, RequestsAtTheSevenBitLimit) {
    PanelState s;
    s.PanelWrAddr = 127;
    s.PanelWrData = 128;
    EXPECT_EQ(s.writeMessage(), 0x81u | 127u << 8); // data 128: bit 0, data2 0
    s.PanelMDX = false;
    s.PanelWrAddr = 128;
    s.PanelWrData = 127;
    EXPECT_EQ(s.writeMessage(), 0x86u | 127u << 16); // address 128: bit 1, data1 0
    s.PanelMDX = true;
    s.PanelRdAddr = 127;
    EXPECT_EQ(s.readMessage(), 0x88u | 127u << 8);
    s.PanelRdAddr = 128;
    EXPECT_EQ(s.readMessage(), 0x8Au);
    s.PanelDataMem = false;
    s.PanelMDX = false;
    EXPECT_EQ(s.readMessage(), 0x9Eu); // MSX program memory, address 128
    s.PanelRdAddr = 255;
    EXPECT_EQ(s.readMessage(), 0x9Eu | 127u << 8);
}

TEST(PanelState, AccessAndMonitorCaptionsAndEnables) {
    PanelState s;
    EXPECT_STREQ(s.accessCaption(), "EEPROM DATI/PROG");
    EXPECT_FALSE(s.enables().ComSelezMDXMSX || s.enables().CommStop);
    EXPECT_TRUE(s.enables().ClearText1);
    s.PanelDataMem = false;
    s.enterAccess(); // always into the data memory
    EXPECT_STREQ(s.accessCaption(), "EEPROM DATI/PROG EXIT");
    EXPECT_STREQ(s.memoryCaption(), "Programma");
    EXPECT_TRUE(s.enables().ComSelezMDXMSX && s.enables().CommStop);
    s.toggleMonitor(); // Start: the log runs, it cannot be cleared meanwhile
    EXPECT_STREQ(s.monitorCaption(), "Stop");
    EXPECT_FALSE(s.enables().ClearText1 || s.monitorStopped);
    s.toggleMonitor();
    EXPECT_STREQ(s.monitorCaption(), "Start");
    EXPECT_TRUE(s.enables().ClearText1 && s.monitorStopped);
    s.monitorRunning = true;
    s.accessEnded();
    EXPECT_STREQ(s.monitorCaption(), "Start");
    EXPECT_FALSE(s.enables().CommStop || s.enables().ComDatiProg);
}

TEST(PanelInput, ProtectedAddressesAndProgramMemoryBothStopWriting) {
    PanelState s;
    s.access = true;
    s.PanelWrAddr = 3;
    EXPECT_FALSE(s.enables().ComScrivi || s.enables().WrADR || s.enables().WrDAT);
    EXPECT_TRUE(s.enables().VScrollWr);
    s.PanelWrAddr = 4;
    EXPECT_TRUE(s.enables().ComScrivi);
    s.PanelDataMem = false; // program memory is read only, whatever the address
    EXPECT_FALSE(s.enables().ComScrivi);
    s.PanelWrAddr = 2;
    s.PanelDataMem = true; // back to data at a protected address
    EXPECT_FALSE(s.enables().ComScrivi);
    s.wrAddrTyped = true; // "2" on the way to "200": the box stays open
    EXPECT_TRUE(s.enables().WrADR);
    EXPECT_FALSE(s.enables().WrDAT || s.enables().ComScrivi);
}

TEST(PanelInput, MonitorRecordsOf29KeepTheShortLastPiece) {
    // 65 characters: records 1-2 hold 1-29 and 30-58, the last 7 follow unpadded.
    const std::string text = std::string(30, 'A') + "\r\n" + std::string(33, 'B');
    EXPECT_EQ(monitorRecordCount(65), 3u);
    EXPECT_EQ(monitorRecordCount(58), 2u);
    EXPECT_EQ(monitorRecordCount(59), 3u);
    EXPECT_EQ(monitorFileImage(text), text);
    EXPECT_EQ(monitorFileImage(""), "");
}
