#include "coil/CoilEntry.h"
#include "coil/CoilFields.h"
#include <gtest/gtest.h>
#include <tuple>

using namespace coil;

namespace {
using Rule = Result (*)(std::string_view, Edit, char);
// Types each character at the end of text, as a user does; refused keys change nothing.
std::string typed(Rule rule, std::string text, std::string_view keys) {
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
    // The last digit of 8001 would pass 8000, 0 is no speed; extra resistance stops at 100.
    const std::tuple<Rule, const char*, const char*> rows[] = {
        {keyVR, "8000", "8000"},  {keyVR, "8001", "800"}, {keyVR, "0", ""},
        {keyVR, "12345", "1234"}, {keyVR, "9a,.", "9"},   {keyRPerc, "995", "99"},
        {keyRPerc, "-5", "5"}};
    for (auto [rule, keys, shown] : rows)
        EXPECT_EQ(typed(rule, "", keys), shown) << keys;
    // Typed over a selection: "1000" all selected, "5" gives "5".
    EXPECT_EQ(keyVR("1000", {0, 4}, '5').text, "5");
    // Backspace that would leave "000" (a speed of 0) is refused; emptying is allowed.
    EXPECT_FALSE(keyVR("1000", {1, 0}, Backspace).accepted);
    EXPECT_FALSE(keyVR("12", {2, 0}, Delete).accepted); // nothing after the caret
    EXPECT_EQ(keyVR("7", {1, 0}, Backspace).text, "");
    const Result mid = keyVR("100", {1, 0}, '5');
    EXPECT_EQ(mid.text, "1500");
    EXPECT_EQ(mid.caret, 2);
}

TEST(CoilEntry, InductanceAndResistanceKeepOneDecimal) {
    // A comma first gives "0,", a point is taken as the comma, one decimal only; 25,5 Ohm and
    // 15,0 V are the largest.
    const std::tuple<Rule, const char*, const char*> rows[] = {
        {tenths, "5,0", "5,0"},   {tenths, ",5", "0,5"},   {tenths, "7.5", "7,5"},
        {tenths, "5,25", "5,2"},  {tenths, "2,5,", "2,5"}, {tenths, "25,6", "25,"},
        {tenths, "25,5", "25,5"}, {volts, "15,1", "15,"},  {volts, "13,8", "13,8"}};
    for (auto [rule, keys, shown] : rows)
        EXPECT_EQ(typed(rule, "", keys), shown) << keys;
    // Removing the comma of "25,5" would make 255 Ohm: refused.
    EXPECT_FALSE(keyTenths("25,5", {3, 0}, Backspace).accepted);
    EXPECT_FALSE(keyTenths("25,5", {2, 0}, Delete).accepted);
    EXPECT_EQ(keyTenths("2,5", {2, 0}, Delete).text, "2,");

    const std::pair<const char*, std::optional<int>> values[] = {
        {"5,0", 50}, {"5,", 50}, {"5", 50}, {"0,1", 1}, {"", {}}, {",", {}}};
    for (auto [text, value] : values)
        EXPECT_EQ(tenthsValue(text), value) << text;
    EXPECT_FALSE(validTenths("1,2,3"));
    EXPECT_FALSE(validVR("0"));
    EXPECT_FALSE(validRPerc("ab"));
}

TEST(CoilFields, EachBoxTakesItsRangeAndAnEmptyExtraResistanceIsNone) {
    const std::tuple<Quantity, const char*, std::optional<int>> rows[] = {
        {Quantity::L, "0,1", 1},        {Quantity::L, "0", {}},
        {Quantity::R, "25,5", 255},     {Quantity::RPerc, "", 0},
        {Quantity::RPerc, "100", 100},  {Quantity::RPerc, "101", {}},
        {Quantity::VBatt, "15,0", 150}, {Quantity::VBatt, "15,1", {}},
        {Quantity::VR, "", {}},         {Quantity::VR, "8000", 8000},
        {Quantity::VR, "8001", {}},     {Quantity::VR, "99999999999", {}}};
    for (auto [q, text, value] : rows)
        EXPECT_EQ(valueOf(q, text), value) << field(q).caption << " " << text;
}
