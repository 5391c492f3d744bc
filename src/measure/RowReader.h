#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace measure {

// Numbers taken back from a 95-column measurement row by column position, separators
// removed: a 9-character "#,##0.##0" field whose trimmed text fills it is read as its
// character 1 and characters 3-5 and 7-9 joined; any shorter trimmed field as everything
// but its fourth-last character (the decimal separator). The digits joined are the time in
// microseconds.

// Columns of a row, 1-based first column and width.
struct RowColumn {
    int first;
    int width;
};
inline constexpr RowColumn RigaColumn{1, 6};
inline constexpr RowColumn RotColumn{8, 6};
inline constexpr RowColumn TcColumn{15, 9};
inline constexpr RowColumn TbColumn{25, 9};
inline constexpr RowColumn DTbColumn{35, 8};
inline constexpr RowColumn TaColumn{44, 7};
inline constexpr RowColumn TibColumn{52, 9};
inline constexpr RowColumn TssColumn{62, 7};
inline constexpr RowColumn A1Column{70, 9};
inline constexpr RowColumn A2Column{80, 2};
inline constexpr RowColumn TempoColumn{83, 13};

// The field's text (shorter when the row is).
std::string_view rowField(std::string_view row, RowColumn column);
// A millisecond field as microseconds; nullopt when blank or not a number of that form.
std::optional<int64_t> readMillis(std::string_view field);
// A plain or "##,##0" integer field (row number, rpm); nullopt when blank or not a number.
std::optional<int64_t> readInteger(std::string_view field);
// The Tempo field "MM:SS:mmm,uuu" as microseconds within the hour (the minutes count
// modulo 60); nullopt when it is not of that form.
std::optional<int64_t> readTempo(std::string_view field);
// The elapsed time of a row, from its Tempo within the hour and the elapsed time of the
// row before (0 before the first): each time the clock goes back an hour passed.
int64_t unwrapTempo(int64_t withinHour, int64_t previous);

// The values of one row the graph and the derived tables need, times in microseconds.
struct RowValues {
    int64_t rowNo = 0;
    int64_t Tb = 0;
    int64_t Ta = 0;
    int64_t Tib = 0;
    int64_t Tss = 0;
    int statusLow2 = 0; // the two lowest bits of A1 (columns 77-78)
    std::string_view Tempo;
    int64_t Tc() const { return Ta + Tb; }
};
// nullopt when the row is shorter than 95 columns or a time field does not read.
std::optional<RowValues> readRow(std::string_view row);

} // namespace measure
