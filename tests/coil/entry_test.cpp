#include "coil/CoilEntry.h"
#include <gtest/gtest.h>

using namespace coil;

namespace {
// Types each character at the end of text, as a user does; refused keys change nothing.
template <class Rule> std::string typed(Rule rule, std::string text, std::string_view keys) {
    for (char k : keys) {
        const Result r = rule(text, {static_cast<int>(text.size()), 0}, k);
        if (r.accepted) text = r.text;
    }
    return text;
}
Result tenths(std::string_view text, Edit edit, char key) {
    return keyTenths(text, edit, key);
}
Result volts(std::string_view text, Edit edit, char key) {
    return keyTenths(text, edit, key, 150);
}
} // namespace

TEST(CoilEntry, SpeedTakesOneToEightThousand) {
    EXPECT_EQ(typed(keyVR, "", "8000"), "8000");
    EXPECT_EQ(typed(keyVR, "", "8001"), "800"); // the last digit would pass 8000
    EXPECT_EQ(typed(keyVR, "", "0"), "");       // 0 is no speed
    EXPECT_EQ(typed(keyVR, "", "12345"), "1234");
    EXPECT_EQ(typed(keyVR, "", "9a,."), "9");
    EXPECT_EQ(typed(keyRPerc, "", "995"), "99"); // extra resistance stops at 100
    EXPECT_EQ(typed(keyRPerc, "", "-5"), "5");
    // Typed over a selection: "1000" all selected, "5" gives "5".
    EXPECT_EQ(keyVR("1000", {0, 4}, '5').text, "5");
    // Backspace that would leave "000" (a speed of 0) is refused; emptying is allowed.
    EXPECT_FALSE(keyVR("1000", {1, 0}, Backspace).accepted);
    EXPECT_EQ(keyVR("7", {1, 0}, Backspace).text, "");
    const Result mid = keyVR("100", {1, 0}, '5');
    EXPECT_EQ(mid.text, "1500");
    EXPECT_EQ(mid.caret, 2);
}

TEST(CoilEntry, InductanceAndResistanceKeepOneDecimal) {
    EXPECT_EQ(typed(tenths, "", "5,0"), "5,0");
    EXPECT_EQ(typed(tenths, "", ",5"), "0,5");   // a comma first gives "0,"
    EXPECT_EQ(typed(tenths, "", "7.5"), "7,5");  // a point is taken as the comma
    EXPECT_EQ(typed(tenths, "", "5,25"), "5,2"); // one decimal only
    EXPECT_EQ(typed(tenths, "", "2,5,"), "2,5");
    EXPECT_EQ(typed(tenths, "", "25,6"), "25,");
    EXPECT_EQ(typed(tenths, "", "25,5"), "25,5");
    EXPECT_EQ(typed(volts, "", "15,1"), "15,"); // V Batt stops at 15,0
    EXPECT_EQ(typed(volts, "", "13,8"), "13,8");
    // Removing the comma of "25,5" would make 255 Ohm: refused.
    EXPECT_FALSE(keyTenths("25,5", {3, 0}, Backspace).accepted);
    EXPECT_FALSE(keyTenths("25,5", {2, 0}, Delete).accepted);
    EXPECT_EQ(keyTenths("2,5", {2, 0}, Delete).text, "2,");

    EXPECT_EQ(tenthsValue("5,0"), 50);
    EXPECT_EQ(tenthsValue("5,"), 50);
    EXPECT_EQ(tenthsValue("5"), 50);
    EXPECT_EQ(tenthsValue("0,1"), 1);
    EXPECT_EQ(tenthsValue(""), std::nullopt);
    EXPECT_EQ(tenthsValue(","), std::nullopt);
    EXPECT_FALSE(validTenths("1,2,3"));
    EXPECT_FALSE(validVR("0"));
    EXPECT_FALSE(validRPerc("abc"));
}
