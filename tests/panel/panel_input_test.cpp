#include "panel/MonitorFile.h"
#include "panel/PanelInput.h"
#include "panel/PanelState.h"
#include <gtest/gtest.h>

using namespace panel;

TEST(PanelAddressText, BlankOrEmptyBecomesZeroAndLargeNumbersTheMaximum) {
    for (const char* typed : {"", " "}) {
        const AddressEntry e = addressFromText(typed);
        EXPECT_TRUE(e.accepted) << typed;
        EXPECT_EQ(e.text, "0");
        EXPECT_EQ(e.value, 0);
    }
    AddressEntry e = addressFromText("300");
    EXPECT_TRUE(e.accepted);
    EXPECT_EQ(e.text, "255");
    EXPECT_EQ(e.value, 255);
    e = addressFromText("99999999999999999999"); // no overflow on a pasted long number
    EXPECT_EQ(e.value, 255);
    e = addressFromText("007"); // kept as typed
    EXPECT_EQ(e.text, "007");
    EXPECT_EQ(e.value, 7);
}

TEST(PanelAddressText, AnythingButDigitsIsRefused) {
    for (const char* typed : {"12a", "-1", "  ", "1 ", "+4", "0x10", "4.5"})
        EXPECT_FALSE(addressFromText(typed).accepted) << typed;
}

TEST(PanelDataText, UpToTwoHexDigitsWithASingleOneAsTheLowDigit) {
    EXPECT_EQ(dataFromHexText("C8").value, 200);
    EXPECT_EQ(dataFromHexText("c8").value, 200);
    EXPECT_EQ(dataFromHexText("F").value, 15);
    EXPECT_EQ(dataFromHexText("0a").value, 10);
    EXPECT_TRUE(dataFromHexText("").accepted);
    EXPECT_EQ(dataFromHexText("").value, 0);
    for (const char* typed : {"G", "1G", "123", " 1", "-1"})
        EXPECT_FALSE(dataFromHexText(typed).accepted) << typed;
}

TEST(PanelRequests, ReadsCarryModuleMemoryAndAddressBitSeven) {
    // 130 = 128 + 2: status 0x9C + 2, data1 2
    EXPECT_EQ(readRequest(false, false, 130), 0x9Eu | 2u << 8);
    EXPECT_EQ(readRequest(true, true, 127), 0x88u | 127u << 8);
    EXPECT_EQ(readRequest(true, false, 128), 0x9Au);
    EXPECT_EQ(readRequest(false, true, 255), 0x8Eu | 127u << 8);
}

TEST(PanelRequests, WritesCarryBitSevenOfAddressAndData) {
    // 200 = 128 + 72 and 0xC8 = 200: status 0x80 + 2 + 1, data 72, 72
    EXPECT_EQ(writeRequest(true, 200, 0xC8), 0x83u | 72u << 8 | 72u << 16);
    EXPECT_EQ(writeRequest(false, 5, 0x10), 0x84u | 5u << 8 | 16u << 16);
    EXPECT_EQ(writeRequest(true, 4, 0x80), 0x81u | 4u << 8);
}

TEST(PanelEnablesTest, ProtectedAddressesAndProgramMemoryBothStopWriting) {
    PanelState s;
    s.access = true;
    for (int a : {0, 3}) {
        s.PanelWrAddr = a;
        const PanelEnables e = s.enables();
        EXPECT_FALSE(e.ComScrivi) << a; // also right after entering at address 0
        EXPECT_FALSE(e.WrADR) << a;
        EXPECT_FALSE(e.WrDAT) << a;
        EXPECT_TRUE(e.VScrollWr) << a;
    }
    s.PanelWrAddr = 4;
    EXPECT_TRUE(s.enables().ComScrivi);
    EXPECT_TRUE(s.enables().WrADR);
    EXPECT_TRUE(s.enables().WrDAT);

    s.PanelDataMem = false; // program memory is read only, whatever the address
    EXPECT_FALSE(s.enables().ComScrivi);
    s.PanelWrAddr = 2;
    s.PanelDataMem = true; // back to data at a protected address
    EXPECT_FALSE(s.enables().ComScrivi);

    s.wrAddrTyped = true; // "2" on the way to "200": the box stays open
    EXPECT_TRUE(s.enables().WrADR);
    EXPECT_FALSE(s.enables().WrDAT);
    EXPECT_FALSE(s.enables().ComScrivi);
}

TEST(PanelMonitorFile, RecordsOf29KeepTheShortLastPiece) {
    // 65 characters: records 1-2 hold 1-29 and 30-58, the last 7 follow unpadded.
    std::string text;
    for (int i = 0; i < 65; ++i)
        text += static_cast<char>('A' + i % 26);
    text[30] = '\r';
    text[31] = '\n';
    EXPECT_EQ(monitorRecordCount(65), 3u);
    const std::string image = monitorFileImage(text);
    EXPECT_EQ(image.size(), 65u);
    EXPECT_EQ(image.substr(0, 29), text.substr(0, 29));
    EXPECT_EQ(image.substr(58), "GHIJKLM");
    EXPECT_EQ(image, text);

    EXPECT_EQ(monitorRecordCount(58), 2u);
    EXPECT_EQ(monitorFileImage(""), "");
}
