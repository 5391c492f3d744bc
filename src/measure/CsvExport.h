#pragma once
#include <cstddef>
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

std::string measurementCsv(std::size_t rowCount,
                           const std::function<std::string_view(std::size_t)>& rowAt);

// The CSV of a measurement file's bytes (.mrot, .mant); nothing when the file is refused.
std::optional<std::string> mrotCsv(std::string_view mrotBytes);
