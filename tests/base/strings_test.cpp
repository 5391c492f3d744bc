#include "StringTable.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

using namespace base;

const Texts it{0};
const Texts en{200};

TEST(StringTable, ItalianAndEnglishHalvesMatchTheOffsetChoosesTheHalf) {
    int italianCount = 0;
    for (const StringEntry& e : stringTableEntries()) {
        ASSERT_NE(e.text, nullptr) << e.id;
        EXPECT_STRNE(e.text, "") << "id " << e.id;
        if (e.id >= 1 && e.id <= 199) {
            ++italianCount;
            EXPECT_NE(Texts::raw(e.id + 200), nullptr) << "no English text for id " << e.id;
        } else if (e.id >= 201 && e.id <= 399) {
            EXPECT_NE(Texts::raw(e.id - 200), nullptr) << "no Italian text for id " << e.id;
        } else {
            ADD_FAILURE() << "id outside both halves: " << e.id;
        }
    }
    EXPECT_GT(italianCount, 60);

    // The offset chooses the half; missing ids give nothing.
    EXPECT_EQ(it.text(128), "Blocco Note");
    EXPECT_EQ(en.text(128), "Notebook");
    EXPECT_EQ(Texts::raw(0), nullptr);
    EXPECT_EQ(Texts::raw(200), nullptr);
    EXPECT_EQ(Texts::raw(400), nullptr);
    EXPECT_EQ(it.text(5), "");
    EXPECT_EQ(en.text(199), "");
    EXPECT_EQ(en.text(INT_MAX), ""); // id + offset must not wrap around
    EXPECT_EQ(it.text(INT_MIN), "");
}

// Every known code's text in both languages is checked against the user guide; here the
// insert's own underscores and the codes without a text.
TEST(ShowMsgText, OnlyTheTextsUnderscoreTakesTheInsertUnknownCodesGiveAGenericError) {
    EXPECT_EQ(composeMessage(it, 5, "C:\\a_b.crva"), "File C:\\a_b.crva assente");
    for (int code : {37, 40, -1}) {
        EXPECT_EQ(messageStringId(code), -1) << code;
        EXPECT_EQ(composeMessage(it, code, "XYZ"), "errore generico: XYZ") << code;
    }
    EXPECT_EQ(composeMessage(it, 37, ""), "errore generico");
    EXPECT_EQ(composeMessage(en, 37, "XYZ"), "generic error: XYZ");
}
