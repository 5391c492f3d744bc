#include "unit/UnitSettingsForm.h"
#include <gtest/gtest.h>
#include <vector>

using namespace protocol;
using namespace unit;

namespace {

// A form with every field valid: sweep 1500 -> 8000 rpm in 12 s, idle 900 +/- 25 rpm, MSX
// curve 2, 12.6 V.
UnitFormFields validForm() {
    return {.profile = 1,
            .rpm = "4500",
            .rpmMin = "1500",
            .rpmMax = "8000",
            .period = "12",
            .rpmIdle = "900",
            .jitter = "25",
            .curve = 1,
            .module = 1,
            .volts = "12.6",
            .ripple = "0.3",
            .corrupt = true,
            .silent = true};
}

} // namespace

TEST(UnitSettingsForm, NumbersAsUsersTypeThem) {
    for (auto [typed, value] : {std::pair{"13.5", 13.5},
                                {"13,5", 13.5},
                                {"  3000\t", 3000.0},
                                {"-2", -2.0},
                                {"+7", 7.0},
                                {".5", 0.5},
                                {"12.", 12.0}})
        EXPECT_EQ(parseFormNumber(typed), value) << typed;
    for (const char* bad : {"", "abc", "1e3", "1,000.5", "inf", "0x10", "12 34", "."})
        EXPECT_FALSE(parseFormNumber(bad).has_value()) << '"' << bad << '"';
    EXPECT_EQ(formatFormNumber(0.15), "0.15");
    EXPECT_EQ(formatFormNumber(20000), "20000");
}

TEST(UnitSettingsForm, ValidFormGivesAllSettingsKeepsWhatItDoesNotShowAndShowsThemBack) {
    UnitFormValues base;
    base.battery.rippleHz = 3.5;
    base.engine.defaultAdvanceDeg = 12;
    base.faults.dropProbability = 0.05; // the form's drop box is clear: dropping ends
    const UnitFormResult r = readUnitForm(validForm(), base);
    ASSERT_TRUE(r.ok());
    // Sweep; fixed 4500; 1500 -> 8000 in 12 s; idle 900 +/- 25; curve 2; MSX; advance kept.
    const EngineSettings e{SpeedProfile::Sweep, 4500, 1500, 8000, 12, 900, 25, 2,
                           UnitModuleId::MSX,   12};
    EXPECT_EQ(r.values, (UnitFormValues{e, {12.6, 0.3, 3.5}, {0, 0.05, 0, true, false}}));

    // With the reading checked, the way back checks the writing.
    UnitFormValues v;
    v.engine.profile = SpeedProfile::Fixed;
    v.engine.fixedRpm = 6250;
    v.battery.volts = 13.5;
    v.faults = {0.05, 0, 0.05, false, true, EepromAnswer::GrantedDataProg};
    EXPECT_EQ(readUnitForm(writeUnitForm(v), UnitFormValues{}).values, v);
    EXPECT_EQ(writeUnitForm(r.values), validForm());
}

TEST(UnitSettingsForm, LimitsAreInclusive) {
    using F = UnitFormFields;
    using enum FormProblem;
    // Each field's limits are accepted, the values just past them refused.
    const struct {
        std::string F::*member;
        UnitFormField field;
        std::vector<const char*> accepted, refused;
        FormProblem problem = OutOfRange;
        double bound = 0;
    } cases[] = {
        {&F::rpm, UnitFormField::Rpm, {"100", "20000"}, {"99.9", "20000.5"}},
        {&F::volts, UnitFormField::Volts, {"6", "18"}, {"5.9", "18,1"}},
        {&F::ripple, UnitFormField::Ripple, {"0", "2"}, {"-0.1", "2.01"}},
        // A steady sweep is allowed; idle 900 rpm still runs at 900 - 800 = 100 rpm.
        {&F::rpmMin, UnitFormField::RpmMin, {"8000"}, {"8001"}, MinAboveMax, 8000},
        {&F::jitter, UnitFormField::Jitter, {"800"}, {"800.5"}, StallsEngine, 800},
    };
    for (const auto& c : cases) {
        UnitFormFields f = validForm();
        for (const char* typed : c.accepted) {
            f.*c.member = typed;
            EXPECT_TRUE(readUnitForm(f, {}).ok()) << typed;
        }
        for (const char* typed : c.refused) {
            f.*c.member = typed;
            const UnitFormResult r = readUnitForm(f, {});
            ASSERT_EQ(r.errors.size(), 1u) << typed;
            EXPECT_EQ(r.errors[0], (FormError{c.field, c.problem, typed, c.bound}));
        }
    }
}

TEST(UnitSettingsForm, MessagesAndStatusLine) {
    UnitFormFields f = validForm();
    f.ripple = "x";
    f.rpm = "";
    f.volts = "25";
    f.rpmMax = " 3 000 ";
    f.jitter = "875"; // idle 900 rpm: at most 800
    EXPECT_EQ(formErrorsText(readUnitForm(f, {}).errors, 200),
              "Settings not applied:\n"
              "Fixed speed (rpm): no value.\n"
              "Sweep to (rpm): \"3 000\" is not a number.\n"
              "Idle jitter (\u00B1 rpm): \"875\" would stall the engine (at most 800).\n"
              "Voltage (V): \"25\" is outside 6 - 18.\n"
              "Ripple (V peak): \"x\" is not a number.");
    EXPECT_EQ(formErrorText({UnitFormField::RpmMin, FormProblem::MinAboveMax, "9000", 1000}, 0),
              "Sweep da (giri/min): \"9000\" supera la velocità massima (1000).");
    // Pasted junk is shown short and without control characters; a cut never splits a
    // two-byte character ("é" sits at bytes 23-24).
    EXPECT_EQ(formErrorText({UnitFormField::Ripple, FormProblem::NotANumber,
                             "a\x01"
                             "bcdefghijklmnopqrstuvé!"},
                            200),
              "Ripple (V peak): \"a?bcdefghijklmnopqrstuv...\" is not a number.");
    EXPECT_EQ(
        formErrorText({UnitFormField::Ripple, FormProblem::NotANumber, std::string(30, 'x')}, 200),
        "Ripple (V peak): \"" + std::string(24, 'x') + "...\" is not a number.");

    EXPECT_EQ(unitStatusText({UnitMode::Run, 3000.4, 1234, true}, 0),
              "Modo: marcia  |  3000 giri/min  |  messaggi inviati: 1234");
    EXPECT_EQ(unitStatusText({UnitMode::Programming, 0, 7, false}, 200),
              "Mode: programming  |  engine stopped  |  messages sent: 7  |  device closed");
}
