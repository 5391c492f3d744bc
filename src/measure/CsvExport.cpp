#include "measure/CsvExport.h"

#include "measure/AdvanceRow.h"
#include "measure/MeasurementRow.h"
#include "measure/MrotFile.h"
#include "measure/RowReader.h"
#include "measure/RowStore.h"

#include <cstdint>
#include <cstdio>
#include <optional>

namespace {

// Microseconds as milliseconds with three decimals.
std::string millis(int64_t us) {
    char text[32];
    const uint64_t m = static_cast<uint64_t>(us < 0 ? -us : us);
    std::snprintf(text, sizeof text, "%s%llu.%03llu", us < 0 ? "-" : "",
                  static_cast<unsigned long long>(m / 1000),
                  static_cast<unsigned long long>(m % 1000));
    return text;
}

std::optional<int64_t> signedMillis(std::string_view field) {
    const size_t at = field.find_first_not_of(' ');
    if (at == std::string_view::npos) return std::nullopt;
    const bool negative = field[at] == '-';
    if (field[at] == '-' || field[at] == '+') field = field.substr(at + 1);
    const auto value = readMillis(field);
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
}

std::optional<int> readBinaryByte(std::string_view field) { // "1010 0101"
    if (field.size() != 9 || field[4] != ' ') return std::nullopt;
    int value = 0;
    for (size_t i = 0; i < 9; ++i) {
        if (i == 4) continue;
        if (field[i] != '0' && field[i] != '1') return std::nullopt;
        value = value * 2 + (field[i] - '0');
    }
    return value;
}

std::optional<int> readHexByte(std::string_view field) {
    int value = 0;
    for (const char c : field) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return field.size() == 2 ? std::optional<int>(value) : std::nullopt;
}

template <class T> void cell(std::string& out, const std::optional<T>& value) {
    out += ',';
    if (value) out += std::to_string(*value);
}

void cellMillis(std::string& out, const std::optional<int64_t>& us) {
    out += ',';
    if (us) out += millis(*us);
}

} // namespace

std::string measurementCsv(std::size_t rowCount,
                           const std::function<std::string_view(std::size_t)>& rowAt) {
    std::string out(kCsvHeader);
    out += "\r\n";
    int64_t previous = 0;
    for (std::size_t i = 0; i < rowCount; ++i) {
        const std::string_view row = rowAt(i);
        const auto riga = readInteger(rowField(row, rowcol::Riga));
        if (riga) out += std::to_string(*riga);
        cell(out, readInteger(rowField(row, rowcol::Rot)));
        const auto tc = readMillis(rowField(row, rowcol::Tc));
        const auto ta = readMillis(rowField(row, rowcol::Ta));
        const auto tss = readMillis(rowField(row, rowcol::Tss));
        cellMillis(out, tc);
        cellMillis(out, readMillis(rowField(row, rowcol::Tb)));
        cellMillis(out, signedMillis(rowField(row, rowcol::DTb)));
        cellMillis(out, ta);
        cellMillis(out, readMillis(rowField(row, rowcol::Tib)));
        cellMillis(out, tss);
        const uint32_t tAnt = advanceTicks(static_cast<uint32_t>(microsToTicks(ta.value_or(0))),
                                           static_cast<uint32_t>(microsToTicks(tss.value_or(0))));
        const uint32_t tcTicks = static_cast<uint32_t>(microsToTicks(tc.value_or(0)));
        const bool advance = tAnt > 0 && tcTicks > 0;
        cellMillis(out, advance ? std::optional<int64_t>(ticksToMicros(tAnt)) : std::nullopt);
        out += ',';
        if (advance) {
            const int64_t tenths = advanceTenths(tAnt, tcTicks);
            out += std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
        }
        cell(out, readBinaryByte(rowField(row, rowcol::A1)));
        cell(out, readHexByte(rowField(row, rowcol::A2)));
        out += ',';
        if (auto t = readTempo(rowField(row, rowcol::Tempo))) {
            *t = unwrapTempo(*t, previous);
            previous = *t;
            char text[32];
            std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(*t / 1'000'000),
                          static_cast<long long>(*t % 1'000'000));
            out += text;
        }
        out += "\r\n";
    }
    return out;
}

std::optional<std::string> mrotCsv(std::string_view mrotBytes) {
    RowStore rows;
    // The notes are not exported: none of them is kept.
    if (!parseMrot(
            mrotBytes, [&rows](std::string_view row) { rows.append(row); }, 0))
        return std::nullopt;
    return measurementCsv(rows.size(), [&rows](std::size_t i) { return rows.row(i); });
}
