#include "unit/UnitSettingsForm.h"
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

using namespace protocol;

namespace unit {

namespace {

bool english(int langOffset) {
    return langOffset != 0;
}

std::string_view trimmed(std::string_view s) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

// A typed text as a message quotes it: at most 24 bytes, never cut inside a UTF-8
// character, control characters shown as '?'.
std::string quoted(std::string_view typed) {
    constexpr size_t MaxShown = 24;
    size_t cut = std::min(typed.size(), MaxShown);
    if (cut < typed.size())
        while (cut > 0 && (static_cast<unsigned char>(typed[cut]) & 0xC0) == 0x80)
            --cut;
    std::string out;
    for (const char c : typed.substr(0, cut))
        out.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
    if (cut < typed.size()) out += "...";
    return "\"" + out + "\"";
}

// One text box read into target; a problem is added to errors instead.
class FieldReader {
public:
    explicit FieldReader(std::vector<FormError>& errors) : errors_(errors) {}

    bool read(UnitFormField field, const std::string& text, double& target) {
        const std::string typed(trimmed(text));
        const auto value = parseFormNumber(typed);
        if (!value) {
            errors_.push_back({field, FormProblem::NotANumber, typed});
            return false;
        }
        const FieldRange range = fieldRange(field);
        if (*value < range.min || *value > range.max) {
            errors_.push_back({field, FormProblem::OutOfRange, typed});
            return false;
        }
        target = *value;
        return true;
    }

private:
    std::vector<FormError>& errors_;
};

} // namespace

FieldRange fieldRange(UnitFormField field) {
    switch (field) {
    case UnitFormField::Rpm:
    case UnitFormField::RpmMin:
    case UnitFormField::RpmMax:
    case UnitFormField::RpmIdle:
        return {FormMinRpm, FormMaxRpm};
    case UnitFormField::Period:
        return {1, 3600};
    case UnitFormField::Jitter:
        return {0, 5000};
    case UnitFormField::Volts:
        return {6, 18};
    case UnitFormField::Ripple:
        return {0, 2};
    }
    return {0, 0};
}

std::optional<double> parseFormNumber(std::string_view text) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string plain;
    bool separator = false;
    bool digit = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
            plain.push_back(c);
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
            plain.push_back('.');
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string formatFormNumber(double value) {
    std::array<char, 64> buf{};
    const auto [end, ec] =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    std::string s(buf.data(), end);
    return s == "-0" ? "0" : s;
}

UnitFormResult readUnitForm(const UnitFormFields& f, const UnitFormValues& base) {
    UnitFormResult result;
    result.values = base;
    EngineSettings& e = result.values.engine;
    BatterySettings& b = result.values.battery;
    FieldReader reader(result.errors);

    if (f.profile == 0) e.profile = SpeedProfile::Fixed;
    if (f.profile == 1) e.profile = SpeedProfile::Sweep;
    if (f.profile == 2) e.profile = SpeedProfile::Idle;
    reader.read(UnitFormField::Rpm, f.rpm, e.fixedRpm);
    const bool minOk = reader.read(UnitFormField::RpmMin, f.rpmMin, e.sweepMinRpm);
    const bool maxOk = reader.read(UnitFormField::RpmMax, f.rpmMax, e.sweepMaxRpm);
    if (minOk && maxOk && e.sweepMinRpm > e.sweepMaxRpm)
        result.errors.push_back({UnitFormField::RpmMin, FormProblem::MinAboveMax,
                                 std::string(trimmed(f.rpmMin)), e.sweepMaxRpm});
    reader.read(UnitFormField::Period, f.period, e.sweepPeriodS);
    const bool idleOk = reader.read(UnitFormField::RpmIdle, f.rpmIdle, e.idleRpm);
    const bool jitterOk = reader.read(UnitFormField::Jitter, f.jitter, e.idleJitterRpm);
    // The slowest idle revolution must still count as running.
    if (idleOk && jitterOk && e.idleRpm - e.idleJitterRpm < MinRunningRpm)
        result.errors.push_back({UnitFormField::Jitter, FormProblem::StallsEngine,
                                 std::string(trimmed(f.jitter)), e.idleRpm - MinRunningRpm});
    if (f.curve == 0 || f.curve == 1) e.curve = f.curve + 1;
    if (f.module == 0) e.timingModule = UnitModuleId::MDX;
    if (f.module == 1) e.timingModule = UnitModuleId::MSX;

    reader.read(UnitFormField::Volts, f.volts, b.volts);
    reader.read(UnitFormField::Ripple, f.ripple, b.rippleVolts);

    UnitFaults& u = result.values.faults;
    u.dropProbability = f.drop ? FormFaultProbability : 0;
    u.corruptProbability = f.corrupt ? FormFaultProbability : 0;
    u.wrongModuleProbability = f.wrongModule ? FormFaultProbability : 0;
    u.silent = f.silent;
    u.refuseModes = f.refuseModes;
    static constexpr EepromAnswer answers[] = {EepromAnswer::Granted, EepromAnswer::GrantedDataProg,
                                               EepromAnswer::Denied, EepromAnswer::Refused};
    u.eepromAnswer =
        f.eepromAnswer >= 0 && f.eepromAnswer < 4 ? answers[f.eepromAnswer] : EepromAnswer::Granted;
    return result;
}

UnitFormFields writeUnitForm(const UnitFormValues& v) {
    UnitFormFields f;
    const EngineSettings& e = v.engine;
    f.profile = e.profile == SpeedProfile::Fixed ? 0 : e.profile == SpeedProfile::Sweep ? 1 : 2;
    f.rpm = formatFormNumber(e.fixedRpm);
    f.rpmMin = formatFormNumber(e.sweepMinRpm);
    f.rpmMax = formatFormNumber(e.sweepMaxRpm);
    f.period = formatFormNumber(e.sweepPeriodS);
    f.rpmIdle = formatFormNumber(e.idleRpm);
    f.jitter = formatFormNumber(e.idleJitterRpm);
    f.curve = e.curve == 2 ? 1 : 0;
    f.module = e.timingModule == UnitModuleId::MSX ? 1 : 0;
    f.volts = formatFormNumber(v.battery.volts);
    f.ripple = formatFormNumber(v.battery.rippleVolts);
    f.drop = v.faults.dropProbability > 0;
    f.corrupt = v.faults.corruptProbability > 0;
    f.wrongModule = v.faults.wrongModuleProbability > 0;
    f.silent = v.faults.silent;
    f.refuseModes = v.faults.refuseModes;
    f.eepromAnswer = static_cast<int>(v.faults.eepromAnswer);
    return f;
}

std::string fieldCaption(UnitFormField field, int langOffset) {
    const bool en = english(langOffset);
    switch (field) {
    case UnitFormField::Rpm:
        return en ? "Fixed speed (rpm)" : "Giri fissi (giri/min)";
    case UnitFormField::RpmMin:
        return en ? "Sweep from (rpm)" : "Sweep da (giri/min)";
    case UnitFormField::RpmMax:
        return en ? "Sweep to (rpm)" : "Sweep a (giri/min)";
    case UnitFormField::Period:
        return en ? "Sweep period (s)" : "Periodo sweep (s)";
    case UnitFormField::RpmIdle:
        return en ? "Idle speed (rpm)" : "Giri al minimo (giri/min)";
    case UnitFormField::Jitter:
        return en ? "Idle jitter (\u00B1 rpm)" : "Oscillazione al minimo (\u00B1 giri/min)";
    case UnitFormField::Volts:
        return en ? "Voltage (V)" : "Tensione (V)";
    case UnitFormField::Ripple:
        return en ? "Ripple (V peak)" : "Ondulazione (V di picco)";
    }
    return {};
}

std::string formErrorText(const FormError& error, int langOffset) {
    const bool en = english(langOffset);
    const std::string caption = fieldCaption(error.field, langOffset) + ": ";
    switch (error.problem) {
    case FormProblem::NotANumber:
        if (error.typed.empty()) return caption + (en ? "no value." : "manca il valore.");
        return caption + quoted(error.typed) + (en ? " is not a number." : " non è un numero.");
    case FormProblem::OutOfRange: {
        const FieldRange r = fieldRange(error.field);
        const std::string limits = formatFormNumber(r.min) + " - " + formatFormNumber(r.max);
        return caption + quoted(error.typed) +
               (en ? " is outside " + limits + "." : " è fuori dai limiti " + limits + ".");
    }
    case FormProblem::MinAboveMax:
        return caption + quoted(error.typed) +
               (en ? " is above the sweep's upper speed (" : " supera la velocità massima (") +
               formatFormNumber(error.bound) + ").";
    case FormProblem::StallsEngine:
        return caption + quoted(error.typed) +
               (en ? " would stall the engine (at most " : " fermerebbe il motore (al massimo ") +
               formatFormNumber(error.bound) + ").";
    }
    return caption;
}

std::string formErrorsText(const std::vector<FormError>& errors, int langOffset) {
    std::string text =
        english(langOffset) ? "Settings not applied:" : "Impostazioni non applicate:";
    for (const FormError& e : errors)
        text += "\n" + formErrorText(e, langOffset);
    return text;
}

std::string unitStatusText(const UnitStatusView& s, int langOffset) {
    const bool en = english(langOffset);
    std::string mode;
    switch (s.mode) {
    case UnitMode::Run:
        mode = en ? "run" : "marcia";
        break;
    case UnitMode::Programming:
        mode = en ? "programming" : "programmazione";
        break;
    case UnitMode::EepromAccess:
        mode = en ? "EEPROM access" : "accesso EEPROM";
        break;
    case UnitMode::Battery:
        mode = en ? "battery recording" : "misura batteria";
        break;
    }
    const std::string rpm = s.rpm > 0
                                ? std::to_string(std::lround(s.rpm)) + (en ? " rpm" : " giri/min")
                                : (en ? "engine stopped" : "motore fermo");
    std::string text = (en ? "Mode: " : "Modo: ") + mode + "  |  " + rpm + "  |  " +
                       (en ? "messages sent: " : "messaggi inviati: ") + std::to_string(s.sent);
    if (!s.running) text += en ? "  |  device closed" : "  |  dispositivo chiuso";
    return text;
}

} // namespace unit
