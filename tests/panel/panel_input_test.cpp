#include "panel/MonitorFile.h"
#include "panel/PanelInput.h"
#include "panel/PanelState.h"
#include <gtest/gtest.h>

using namespace panel;

TEST(PanelInput, AddressDigitsOnlyBlankIsZeroAndLargeNumbersTheMaximum) {
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
}

TEST(PanelInput, DataIsUpToTwoHexDigits) {
    for (auto [typed, value] :
         {std::pair{"C8", 200}, {"c8", 200}, {"F", 15}, {"0a", 10}, {"", 0}}) {
        EXPECT_TRUE(dataFromHexText(typed).accepted) << typed;
        EXPECT_EQ(dataFromHexText(typed).value, value) << typed;
    }
    for (const char* typed : {"G", "1G", "123", " 1", "-1"})
        EXPECT_FALSE(dataFromHexText(typed).accepted) << typed;
}

TEST(PanelInput, RequestsCarryModuleMemoryAndBitSevenOfAddressAndData) {
    // Address bit 7 rides in status bit 1, data bit 7 in status bit 0; 127 has no bit 7,
    // 128 has nothing else.
    EXPECT_EQ(readRequest(true, true, 127), 0x88u | 127u << 8);
    EXPECT_EQ(readRequest(true, true, 128), 0x8Au);
    EXPECT_EQ(readRequest(false, true, 255), 0x8Eu | 127u << 8);
    EXPECT_EQ(readRequest(true, false, 5), 0x98u | 5u << 8); // program memory
    EXPECT_EQ(readRequest(false, false, 5), 0x9Cu | 5u << 8);
    EXPECT_EQ(writeRequest(false, 5, 0x10), 0x84u | 5u << 8 | 16u << 16);
    EXPECT_EQ(writeRequest(true, 4, 127), 0x80u | 4u << 8 | 127u << 16);
    EXPECT_EQ(writeRequest(true, 4, 128), 0x81u | 4u << 8);
    EXPECT_EQ(writeRequest(true, 128, 255), 0x83u | 127u << 16);
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
    std::string text;
    for (int i = 0; i < 65; ++i)
        text += static_cast<char>('A' + i % 26);
    text[30] = '\r';
    text[31] = '\n';
    EXPECT_EQ(monitorRecordCount(65), 3u);
    EXPECT_EQ(monitorRecordCount(58), 2u);
    EXPECT_EQ(monitorFileImage(text), text);
    EXPECT_EQ(monitorFileImage(""), "");
}
