#include "unit/UnitSettingsForm.h"
#include <gtest/gtest.h>

namespace {

// A form with every field valid: sweep 1500 -> 8000 rpm in 12 s, MSX curve 2, 12.6 V.
UnitFormFields validForm() {
    UnitFormFields f;
    f.profile = 1;
    f.rpm = "4500";
    f.rpmMin = "1500";
    f.rpmMax = "8000";
    f.period = "12";
    f.rpmIdle = "850";
    f.jitter = "25";
    f.curve = 1;
    f.module = 1;
    f.volts = "12.6";
    f.ripple = "0.3";
    f.corrupt = true;
    f.silent = true;
    return f;
}

std::vector<UnitFormField> fieldsOf(const UnitFormResult& r) {
    std::vector<UnitFormField> out;
    for (const FormError& e : r.errors)
        out.push_back(e.field);
    return out;
}

} // namespace

TEST(UnitSettingsForm, NumbersAsUsersTypeThem) {
    EXPECT_EQ(parseFormNumber("13.5"), 13.5);
    EXPECT_EQ(parseFormNumber("13,5"), 13.5);
    EXPECT_EQ(parseFormNumber("  3000\t"), 3000.0);
    EXPECT_EQ(parseFormNumber("-2"), -2.0);
    EXPECT_EQ(parseFormNumber("+7"), 7.0);
    EXPECT_EQ(parseFormNumber(".5"), 0.5);
    EXPECT_EQ(parseFormNumber("12."), 12.0);
    for (const char* bad : {"", "   ", "abc", "1e3", "1.2.3", "1,000.5", "inf", "nan", "0x10",
                            "12 34", "-", ".", "3000rpm", "--1"})
        EXPECT_FALSE(parseFormNumber(bad).has_value()) << '"' << bad << '"';

    EXPECT_EQ(formatFormNumber(13.5), "13.5");
    EXPECT_EQ(formatFormNumber(3000), "3000");
    EXPECT_EQ(formatFormNumber(0.15), "0.15");
    EXPECT_EQ(formatFormNumber(20000), "20000");
    EXPECT_EQ(formatFormNumber(0), "0");
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

    // Profiles and selections by index.
    UnitFormFields f = validForm();
    f.profile = 0;
    f.curve = 0;
    f.module = 0;
    EXPECT_EQ(readUnitForm(f, base).values.engine.profile, SpeedProfile::Fixed);
    EXPECT_EQ(readUnitForm(f, base).values.engine.curve, 1);
    EXPECT_EQ(readUnitForm(f, base).values.engine.timingModule, UnitModuleId::MDX);
    f.profile = 2;
    EXPECT_EQ(readUnitForm(f, base).values.engine.profile, SpeedProfile::Idle);
}

TEST(UnitSettingsForm, FormShowsValuesAndReadsThemBack) {
    UnitFormValues v;
    v.engine.profile = SpeedProfile::Fixed;
    v.engine.fixedRpm = 6250;
    v.engine.curve = 2;
    v.engine.timingModule = UnitModuleId::MSX;
    v.battery.volts = 13.5;
    v.faults = {0.05, 0, 0.05, false, true};

    const UnitFormFields f = writeUnitForm(v);
    EXPECT_EQ(f.profile, 0);
    EXPECT_EQ(f.rpm, "6250");
    EXPECT_EQ(f.ripple, "0.15");
    EXPECT_EQ(f.curve, 1);
    EXPECT_EQ(f.module, 1);
    EXPECT_EQ(f.volts, "13.5");
    EXPECT_TRUE(f.drop && f.wrongModule && f.refuseModes);
    EXPECT_FALSE(f.corrupt || f.silent);

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
        {&UnitFormFields::rpmIdle, UnitFormField::RpmIdle, "150", "20000", "99", "20001"},
        {&UnitFormFields::period, UnitFormField::Period, "1", "3600", "0.5", "3601"},
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
    EXPECT_FALSE(r.ok());
    const std::vector<UnitFormField> want{UnitFormField::Rpm, UnitFormField::RpmMax,
                                          UnitFormField::Volts, UnitFormField::Ripple};
    EXPECT_EQ(fieldsOf(r), want);
    EXPECT_EQ(r.errors[1].typed, "3 000"); // trimmed
    EXPECT_EQ(r.errors[1].problem, FormProblem::NotANumber);
    EXPECT_EQ(r.errors[2].problem, FormProblem::OutOfRange);
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

TEST(UnitSettingsForm, MessagesInBothLanguages) {
    UnitFormFields f = validForm();
    f.rpm = "abc";
    f.volts = "25";
    f.rpmIdle = "900";
    f.jitter = "850";
    const UnitFormResult r = readUnitForm(f, {});
    ASSERT_EQ(r.errors.size(), 3u);
    EXPECT_EQ(
        formErrorsText(r.errors, 0),
        "Impostazioni non applicate:\n"
        "Giri fissi (giri/min): \"abc\" non è un numero.\n"
        "Oscillazione al minimo (± giri/min): \"850\" fermerebbe il motore (al massimo 800).\n"
        "Tensione (V): \"25\" è fuori dai limiti 6 - 18.");
    EXPECT_EQ(formErrorsText(r.errors, 200), "Settings not applied:\n"
                                             "Fixed speed (rpm): \"abc\" is not a number.\n"
                                             "Idle jitter (± rpm): \"850\" would stall the engine "
                                             "(at most 800).\n"
                                             "Voltage (V): \"25\" is outside 6 - 18.");

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
}

TEST(UnitSettingsForm, StatusLine) {
    EXPECT_EQ(unitStatusText({UnitMode::Run, 3000.4, 1234, true}, 0),
              "Modo: marcia  |  3000 giri/min  |  messaggi inviati: 1234");
    EXPECT_EQ(unitStatusText({UnitMode::Programming, 0, 7, true}, 200),
              "Mode: programming  |  engine stopped  |  messages sent: 7");
    EXPECT_EQ(unitStatusText({UnitMode::Battery, 0, 0, false}, 0),
              "Modo: misura batteria  |  motore fermo  |  messaggi inviati: 0  |  dispositivo "
              "chiuso");
    EXPECT_EQ(unitStatusText({UnitMode::EepromAccess, 899.6, 5, false}, 200),
              "Mode: EEPROM access  |  900 rpm  |  messages sent: 5  |  device closed");
}
