#include "measure/RowReader.h"

namespace measure {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Appends the digits of part to value; false on anything but a digit.
bool appendDigits(std::string_view part, int64_t& value) {
    for (const char c : part) {
        if (!isDigit(c) || value > 100'000'000'000LL) return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

std::string_view rowField(std::string_view row, RowColumn column) {
    const size_t first = static_cast<size_t>(column.first - 1);
    if (first >= row.size()) return {};
    return row.substr(first, static_cast<size_t>(column.width));
}

std::optional<int64_t> readMillis(std::string_view field) {
    const std::string_view t = trimmed(field);
    if (t.size() < 5) return std::nullopt; // at least "0.000"
    int64_t value = 0;
    if (t.size() == 9) {
        if (!appendDigits(t.substr(0, 1), value) || !appendDigits(t.substr(2, 3), value) ||
            !appendDigits(t.substr(6, 3), value))
            return std::nullopt;
        return value;
    }
    const size_t sep = t.size() - 4;
    if (!appendDigits(t.substr(0, sep), value) || !appendDigits(t.substr(sep + 1), value))
        return std::nullopt;
    return value;
}

std::optional<int64_t> readInteger(std::string_view field) {
    const std::string_view t = trimmed(field);
    if (t.empty()) return std::nullopt;
    int64_t value = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        // "##,##0": a separator only where it groups three digits
        if (t[i] == ',' && (t.size() - i - 1) % 4 == 3 && i > 0) continue;
        if (!appendDigits(t.substr(i, 1), value)) return std::nullopt;
    }
    return value;
}

std::optional<RowValues> readRow(std::string_view row) {
    if (row.size() < 95) return std::nullopt;
    RowValues v;
    v.rowNo = readInteger(rowField(row, RigaColumn)).value_or(0);
    const auto tb = readMillis(rowField(row, TbColumn));
    const auto ta = readMillis(rowField(row, TaColumn));
    const auto tib = readMillis(rowField(row, TibColumn));
    const auto tss = readMillis(rowField(row, TssColumn));
    if (!tb || !ta || !tib || !tss) return std::nullopt;
    v.Tb = *tb;
    v.Ta = *ta;
    v.Tib = *tib;
    v.Tss = *tss;
    v.statusLow2 = (row[76] == '1' ? 2 : 0) + (row[77] == '1' ? 1 : 0);
    v.Tempo = rowField(row, TempoColumn);
    return v;
}

std::optional<int64_t> readTempo(std::string_view t) {
    if (t.size() != 13 || t[2] != ':' || t[5] != ':' || t[9] != ',') return std::nullopt;
    int64_t parts[4] = {};
    const std::string_view fields[4] = {t.substr(0, 2), t.substr(3, 2), t.substr(6, 3),
                                        t.substr(10, 3)};
    for (int i = 0; i < 4; ++i)
        for (const char c : fields[i]) {
            if (c < '0' || c > '9') return std::nullopt;
            parts[i] = parts[i] * 10 + (c - '0');
        }
    return ((parts[0] * 60 + parts[1]) * 1000 + parts[2]) * 1000 + parts[3];
}

int64_t unwrapTempo(int64_t withinHour, int64_t previous) {
    constexpr int64_t kHourUs = 3'600'000'000LL;
    int64_t t = withinHour + previous / kHourUs * kHourUs;
    if (t < previous) t += kHourUs;
    return t;
}

} // namespace measure
