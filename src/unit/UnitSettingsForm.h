#pragma once
#include "unit/BatteryModel.h"
#include "unit/EngineModel.h"
#include "unit/SimulatedUnit.h"
#include "unit/UnitFaults.h"
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace unit {

// The settings of the simulated unit as the "Simulated unit" window edits them.
struct UnitFormValues {
    EngineSettings engine;
    BatterySettings battery;
    UnitFaults faults;
    bool operator==(const UnitFormValues&) const = default;
};

// The window's controls as the user left them: the text boxes as typed, the combo boxes
// as selected indexes, the check boxes as ticked.
struct UnitFormFields {
    int profile = 2; // 0 fixed, 1 sweep, 2 idle
    std::string rpm;
    std::string rpmMin;
    std::string rpmMax;
    std::string period;
    std::string rpmIdle;
    std::string jitter;
    int curve = 0;  // 0 curve 1, 1 curve 2
    int module = 0; // 0 MDX, 1 MSX
    std::string volts;
    std::string ripple;
    bool drop = false;
    bool corrupt = false;
    bool wrongModule = false;
    bool silent = false;
    bool refuseModes = false;
    int eepromAnswer = 0; // index of the answer to 0xD2: 0xD2, 0xD4, 0xD3, 0xD0
    bool operator==(const UnitFormFields&) const = default;
};

// The text boxes of the form.
enum class UnitFormField { Rpm, RpmMin, RpmMax, Period, RpmIdle, Jitter, Volts, Ripple };

enum class FormProblem {
    NotANumber,
    OutOfRange,
    MinAboveMax,  // sweep from above sweep to (reported on RpmMin)
    StallsEngine, // idle speed minus jitter below the running speed (reported on Jitter)
};

struct FormError {
    UnitFormField field;
    FormProblem problem;
    std::string typed; // the field's text, trimmed
    // MinAboveMax: the sweep's upper speed; StallsEngine: the largest jitter the idle
    // speed allows.
    double bound = 0;
    bool operator==(const FormError&) const = default;
};

struct UnitFormResult {
    UnitFormValues values; // meaningful only when errors is empty
    std::vector<FormError> errors;
    bool ok() const { return errors.empty(); }
};

// Each ticked fault box makes that fault happen to this share of the messages.
inline constexpr double FormFaultProbability = 0.05;
inline constexpr double FormMinRpm = 100;
inline constexpr double FormMaxRpm = 20000;

struct FieldRange {
    double min;
    double max;
};
FieldRange fieldRange(UnitFormField field);

// A decimal number as a user types it: optional sign, digits with one '.' or ',' as the
// decimal separator, blanks around. No exponents, no thousands separators.
std::optional<double> parseFormNumber(std::string_view text);
// The shortest plain decimal that reads back as the same value ("13.5", "3000").
std::string formatFormNumber(double value);

// Reads and checks every field; on success the values are base with the form's settings
// put in (what the form does not show, such as the ripple frequency, is kept from base).
// Every field with a problem is listed, in the order of the form.
UnitFormResult readUnitForm(const UnitFormFields& fields, const UnitFormValues& base);
// The form showing these values.
UnitFormFields writeUnitForm(const UnitFormValues& values);

// Texts in the language of the string table half in use (LangOffset 0 Italian, 200 English).
std::string fieldCaption(UnitFormField field, int langOffset);
std::string formErrorText(const FormError& error, int langOffset);
// A heading line, then one line per problem.
std::string formErrorsText(const std::vector<FormError>& errors, int langOffset);

// What the status line of the window shows.
struct UnitStatusView {
    protocol::UnitMode mode = protocol::UnitMode::Run;
    double rpm = 0;
    uint64_t sent = 0;
    bool running = false; // a device of the unit is open and its clock runs
};
std::string unitStatusText(const UnitStatusView& status, int langOffset);

} // namespace unit
