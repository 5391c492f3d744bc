#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace measure {

// A measurement's rows as CSV for a spreadsheet: a header line naming each column's unit,
// then one line per row (revolution) with the numbers in plain units - rpm, milliseconds,
// degrees, status bytes as numbers and the elapsed time in seconds - and CR LF. A field
// that does not read (a blank speed) is left empty.

// How the spreadsheet of a language reads a CSV: Italian ";" with a decimal comma, English
// "," with a decimal point.
struct CsvConvention {
    char separator = ',';
    char decimal = '.';
};
inline constexpr CsvConvention kCsvItalian{';', ','};
inline constexpr CsvConvention kCsvEnglish{',', '.'};
// The convention of the program's language (langOffset 0 Italian, 200 English).
constexpr CsvConvention csvConventionOf(int langOffset) {
    return langOffset == 200 ? kCsvEnglish : kCsvItalian;
}

// The header's column names, in order.
inline constexpr std::string_view kCsvColumns[] = {
    "Row",      "Speed (rpm)", "Tc (ms)",       "Tb (ms)", "DTb (ms)", "Ta (ms)",    "Tib (ms)",
    "Tss (ms)", "TAnt (ms)",   "Advance (deg)", "A1",      "A2",       "Elapsed (s)"};

// Writes the header into out, then one line per row added.
class MeasurementCsvWriter {
public:
    MeasurementCsvWriter(std::string& out, CsvConvention convention);
    void addRow(std::string_view row);

private:
    void cell();
    void fixed(int64_t value, int64_t scale, int decimals);
    void millis(const std::optional<int64_t>& us);
    template <class T> void integerCell(const std::optional<T>& value);

    std::string& out_;
    CsvConvention convention_;
    int64_t previous_ = 0; // the last row's elapsed time, to follow it past the hour
};
// About the length of one line, to reserve room for a whole measurement at once.
inline constexpr std::size_t kCsvLineEstimate = 90;

std::string measurementCsv(std::size_t rowCount,
                           const std::function<std::string_view(std::size_t)>& rowAt,
                           CsvConvention convention);

// The CSV of a measurement file's bytes (.mrot, .mant); nothing when the file is refused.
std::optional<std::string> mrotCsv(std::string_view mrotBytes, CsvConvention convention);

} // namespace measure
