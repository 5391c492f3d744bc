#include "measure/CsvExport.h"

#include "measure/AdvanceRow.h"
#include "measure/MrotFile.h"
#include "measure/RowReader.h"
#include "protocol/MeasurementRow.h"

#include <charconv>
#include <cstdint>
#include <optional>

using namespace protocol;

namespace measure {

namespace {

void appendInteger(std::string& out, int64_t value) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(text, end);
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

} // namespace

MeasurementCsvWriter::MeasurementCsvWriter(std::string& out, CsvConvention convention)
    : out_(out), convention_(convention) {
    for (const std::string_view name : kCsvColumns) {
        if (name != kCsvColumns[0]) out_ += convention_.separator;
        out_ += name;
    }
    out_ += "\r\n";
}

void MeasurementCsvWriter::cell() {
    out_ += convention_.separator;
}

// value / scale with decimals digits (scale = 10^decimals), sign first.
void MeasurementCsvWriter::fixed(int64_t value, int64_t scale, int decimals) {
    if (value < 0) out_ += '-';
    const uint64_t v = static_cast<uint64_t>(value < 0 ? -value : value);
    appendInteger(out_, static_cast<int64_t>(v / static_cast<uint64_t>(scale)));
    out_ += convention_.decimal;
    char digits[8];
    uint64_t rest = v % static_cast<uint64_t>(scale);
    for (int i = decimals - 1; i >= 0; --i, rest /= 10)
        digits[i] = static_cast<char>('0' + rest % 10);
    out_.append(digits, static_cast<size_t>(decimals));
}

template <class T> void MeasurementCsvWriter::integerCell(const std::optional<T>& value) {
    cell();
    if (value) appendInteger(out_, *value);
}

void MeasurementCsvWriter::millis(const std::optional<int64_t>& us) {
    cell();
    if (us) fixed(*us, 1000, 3);
}

void MeasurementCsvWriter::addRow(std::string_view row) {
    if (const auto riga = readInteger(rowField(row, RigaColumn))) appendInteger(out_, *riga);
    integerCell(readInteger(rowField(row, RotColumn)));
    const auto tc = readMillis(rowField(row, TcColumn));
    const auto ta = readMillis(rowField(row, TaColumn));
    const auto tss = readMillis(rowField(row, TssColumn));
    millis(tc);
    millis(readMillis(rowField(row, TbColumn)));
    millis(signedMillis(rowField(row, DTbColumn)));
    millis(ta);
    millis(readMillis(rowField(row, TibColumn)));
    millis(tss);
    const uint32_t tAnt = advanceTicks(static_cast<uint32_t>(microsToTicks(ta.value_or(0))),
                                       static_cast<uint32_t>(microsToTicks(tss.value_or(0))));
    const uint32_t tcTicks = static_cast<uint32_t>(microsToTicks(tc.value_or(0)));
    const bool advance = tAnt > 0 && tcTicks > 0;
    millis(advance ? std::optional<int64_t>(ticksToMicros(tAnt)) : std::nullopt);
    cell();
    if (advance) fixed(advanceTenths(tAnt, tcTicks), 10, 1);
    integerCell(readBinaryByte(rowField(row, A1Column)));
    integerCell(readHexByte(rowField(row, A2Column)));
    cell();
    if (const auto t = readTempo(rowField(row, TempoColumn))) {
        previous_ = unwrapTempo(*t, previous_);
        fixed(previous_, 1'000'000, 6);
    }
    out_ += "\r\n";
}

std::string measurementCsv(std::size_t rowCount,
                           const std::function<std::string_view(std::size_t)>& rowAt,
                           CsvConvention convention) {
    std::string out;
    out.reserve(kCsvLineEstimate * (rowCount + 1));
    MeasurementCsvWriter csv(out, convention);
    for (std::size_t i = 0; i < rowCount; ++i)
        csv.addRow(rowAt(i));
    return out;
}

std::optional<std::string> mrotCsv(std::string_view mrotBytes, CsvConvention convention) {
    std::string out;
    out.reserve(mrotBytes.size() / 97 * kCsvLineEstimate);
    MeasurementCsvWriter csv(out, convention);
    // Each row goes straight into the CSV; the notes are not exported, so none is kept.
    if (!parseMrot(
            mrotBytes, [&csv](std::string_view row) { csv.addRow(row); }, 0))
        return std::nullopt;
    return out;
}

} // namespace measure
