#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A measurement's rows as CSV for a spreadsheet: a header line, then one line per row
// (revolution) with the numbers in plain units - rpm, milliseconds, degrees, status bytes
// as numbers and the elapsed time in seconds. Comma-separated, decimal point, CR LF. A
// field that does not read (a blank speed) is left empty.
inline constexpr std::string_view kCsvHeader =
    "Row,Speed (rpm),Tc (ms),Tb (ms),DTb (ms),Ta (ms),Tib (ms),Tss (ms),TAnt (ms),"
    "Advance (deg),A1,A2,Elapsed (s)";

// Writes the header into out, then one line per row added.
class MeasurementCsvWriter {
public:
    explicit MeasurementCsvWriter(std::string& out);
    void addRow(std::string_view row);

private:
    std::string& out_;
    int64_t previous_ = 0; // the last row's elapsed time, to follow it past the hour
};
// About the length of one line, to reserve room for a whole measurement at once.
inline constexpr std::size_t kCsvLineEstimate = 90;

std::string measurementCsv(std::size_t rowCount,
                           const std::function<std::string_view(std::size_t)>& rowAt);

// The CSV of a measurement file's bytes (.mrot, .mant); nothing when the file is refused.
std::optional<std::string> mrotCsv(std::string_view mrotBytes);
