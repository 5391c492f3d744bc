#include "unit/UnitSettingsForm.h"
#include <gtest/gtest.h>

using namespace protocol;
using namespace unit;

namespace {

// A form with every field valid: sweep 1500 -> 8000 rpm in 12 s, MSX curve 2, 12.6 V.
UnitFormFields validForm() {
    return {.profile = 1,
            .rpm = "4500",
            .rpmMin = "1500",
            .rpmMax = "8000",
            .period = "12",
            .rpmIdle = "850",
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

TEST(UnitSettingsForm, ValidFormGivesAllSettingsAndKeepsWhatItDoesNotShow) {
    UnitFormValues base;
    base.battery.rippleHz = 3.5;
    base.engine.defaultAdvanceDeg = 12;
    base.faults.dropProbability = 0.05; // the form's drop box is clear: dropping ends

    const UnitFormResult r = readUnitForm(validForm(), base);
    ASSERT_TRUE(r.ok());
    const EngineSettings& e = r.values.engine;
    EXPECT_EQ(e.profile, SpeedProfile::Sweep);
    EXPECT_EQ(e.fixedRpm, 4500);
    EXPECT_EQ(e.sweepMinRpm, 1500);
    EXPECT_EQ(e.sweepMaxRpm, 8000);
    EXPECT_EQ(e.sweepPeriodS, 12);
    EXPECT_EQ(e.idleRpm, 850);
    EXPECT_EQ(e.idleJitterRpm, 25);
    EXPECT_EQ(e.curve, 2);
    EXPECT_EQ(e.timingModule, UnitModuleId::MSX);
    EXPECT_EQ(e.defaultAdvanceDeg, 12);
    EXPECT_EQ(r.values.battery.volts, 12.6);
    EXPECT_EQ(r.values.battery.rippleVolts, 0.3);
    EXPECT_EQ(r.values.battery.rippleHz, 3.5);
    const UnitFaults want{0, 0.05, 0, true, false};
    EXPECT_EQ(r.values.faults, want);

    UnitFormFields f = validForm(); // the first entry of each list
    f.profile = f.curve = f.module = 0;
    const EngineSettings first = readUnitForm(f, base).values.engine;
    EXPECT_EQ(first.profile, SpeedProfile::Fixed);
    EXPECT_EQ(first.curve, 1);
    EXPECT_EQ(first.timingModule, UnitModuleId::MDX);
}

TEST(UnitSettingsForm, FormShowsValuesAndReadsThemBack) {
    UnitFormValues v;
    v.engine.profile = SpeedProfile::Fixed;
    v.engine.fixedRpm = 6250;
    v.engine.curve = 2;
    v.engine.timingModule = UnitModuleId::MSX;
    v.battery.volts = 13.5;
    v.faults = {0.05, 0, 0.05, false, true, EepromAnswer::GrantedDataProg};

    // With the reading checked field by field above, the way back checks the writing.
    const UnitFormFields f = writeUnitForm(v);
    EXPECT_EQ(f.rpm, "6250");
    EXPECT_EQ(f.volts, "13.5");
    const UnitFormResult r = readUnitForm(f, UnitFormValues{});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.values, v);
}

TEST(UnitSettingsForm, LimitsAreInclusive) {
    struct Case {
        std::string UnitFormFields::*member;
        UnitFormField field;
        const char* low;
        const char* high;
        const char* below;
        const char* above;
    };
    const Case cases[] = {
        {&UnitFormFields::rpm, UnitFormField::Rpm, "100", "20000", "99.9", "20000.5"},
        {&UnitFormFields::volts, UnitFormField::Volts, "6", "18", "5.9", "18,1"},
        {&UnitFormFields::ripple, UnitFormField::Ripple, "0", "2", "-0.1", "2.01"},
    };
    for (const Case& c : cases) {
        for (const char* ok : {c.low, c.high}) {
            UnitFormFields f = validForm();
            f.*c.member = ok;
            EXPECT_TRUE(readUnitForm(f, {}).ok()) << ok;
        }
        for (const char* bad : {c.below, c.above}) {
            UnitFormFields f = validForm();
            f.*c.member = bad;
            const UnitFormResult r = readUnitForm(f, {});
            ASSERT_EQ(r.errors.size(), 1u) << bad;
            EXPECT_EQ(r.errors[0], (FormError{c.field, FormProblem::OutOfRange, bad}));
        }
    }
}

TEST(UnitSettingsForm, EveryProblemIsListedInFormOrder) {
    UnitFormFields f = validForm();
    f.ripple = "x";
    f.rpm = "";
    f.volts = "25";
    f.rpmMax = " 3 000 ";
    const UnitFormResult r = readUnitForm(f, {});
    ASSERT_EQ(r.errors.size(), 4u);
    EXPECT_EQ(r.errors[0].field, UnitFormField::Rpm);
    EXPECT_EQ(r.errors[1], (FormError{UnitFormField::RpmMax, FormProblem::NotANumber, "3 000"}));
    EXPECT_EQ(r.errors[2].problem, FormProblem::OutOfRange);
    EXPECT_EQ(r.errors[3].field, UnitFormField::Ripple);
}

TEST(UnitSettingsForm, SweepAndIdleMustMakeSense) {
    UnitFormFields f = validForm();
    f.rpmMin = "8000"; // equal to the upper speed: a steady sweep is allowed
    EXPECT_TRUE(readUnitForm(f, {}).ok());
    f.rpmMin = "8001";
    UnitFormResult r = readUnitForm(f, {});
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0],
              (FormError{UnitFormField::RpmMin, FormProblem::MinAboveMax, "8001", 8000}));

    // Idle 900 rpm: the slowest revolution at 900 - 800 = 100 rpm still runs.
    f = validForm();
    f.rpmIdle = "900";
    f.jitter = "800";
    EXPECT_TRUE(readUnitForm(f, {}).ok());
    f.jitter = "800.5";
    r = readUnitForm(f, {});
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0],
              (FormError{UnitFormField::Jitter, FormProblem::StallsEngine, "800.5", 800}));
}

TEST(UnitSettingsForm, MessagesAndStatusLine) {
    EXPECT_EQ(formErrorsText({{UnitFormField::Rpm, FormProblem::NotANumber, "abc"},
                              {UnitFormField::Jitter, FormProblem::StallsEngine, "850", 800}},
                             200),
              "Settings not applied:\n"
              "Fixed speed (rpm): \"abc\" is not a number.\n"
              "Idle jitter (± rpm): \"850\" would stall the engine (at most 800).");
    EXPECT_EQ(formErrorText({UnitFormField::Period, FormProblem::NotANumber, ""}, 200),
              "Sweep period (s): no value.");
    EXPECT_EQ(formErrorText({UnitFormField::RpmMin, FormProblem::MinAboveMax, "9000", 1000}, 0),
              "Sweep da (giri/min): \"9000\" supera la velocità massima (1000).");
    // Pasted junk is shown short and without control characters; a cut never splits a
    // two-byte character ("é" sits at bytes 23-24).
    EXPECT_EQ(formErrorText({UnitFormField::Ripple, FormProblem::NotANumber,
                             "a\x01"
                             "bcdefghijklmnopqrstuvé!"},
                            200),
              "Ripple (V peak): \"a?bcdefghijklmnopqrstuv...\" is not a number.");

    EXPECT_EQ(unitStatusText({UnitMode::Run, 3000.4, 1234, true}, 0),
              "Modo: marcia  |  3000 giri/min  |  messaggi inviati: 1234");
    EXPECT_EQ(unitStatusText({UnitMode::Programming, 0, 7, false}, 200),
              "Mode: programming  |  engine stopped  |  messages sent: 7  |  device closed");
}
