#include "protocol/MeasurementRow.h"
#include <cstring>

namespace protocol {

namespace {

// Writes the decimal digits of value (>= 0) backwards ending before end, with a thousands
// separator every three digits when grouped; returns the new start.
char* putInteger(char* end, uint64_t value, bool grouped) {
    int digits = 0;
    do {
        if (grouped && digits > 0 && digits % 3 == 0) *--end = kThousandsSeparator;
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
        ++digits;
    } while (value != 0);
    return end;
}

// Milliseconds with three decimals from a non-negative microsecond count.
std::string millisText(uint64_t micros, bool grouped) {
    char buffer[40];
    char* end = buffer + sizeof buffer;
    uint64_t fraction = micros % 1000;
    for (int i = 0; i < 3; ++i) {
        *--end = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    *--end = kDecimalSeparator;
    char* start = putInteger(end, micros / 1000, grouped);
    return std::string(start, buffer + sizeof buffer);
}

uint64_t magnitude(int64_t value) {
    return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

// Copies text right-aligned into the width columns at dest; false when it is too wide.
bool place(char* dest, std::string_view text, int width) {
    if (text.size() > static_cast<size_t>(width)) return false;
    if (!text.empty()) // an empty view may carry no pointer at all
        std::memcpy(dest + (width - static_cast<int>(text.size())), text.data(), text.size());
    return true;
}

void putTwoDigits(char* dest, int64_t value) {
    dest[0] = static_cast<char>('0' + value / 10);
    dest[1] = static_cast<char>('0' + value % 10);
}

void putThreeDigits(char* dest, int64_t value) {
    dest[0] = static_cast<char>('0' + value / 100);
    dest[1] = static_cast<char>('0' + value / 10 % 10);
    dest[2] = static_cast<char>('0' + value % 10);
}

void putElapsed(char* dest, int64_t micros) {
    const int64_t seconds = micros / 1'000'000;
    putTwoDigits(dest, seconds / 60 % 60);
    dest[2] = ':';
    putTwoDigits(dest + 3, seconds % 60);
    dest[5] = ':';
    putThreeDigits(dest + 6, micros / 1000 % 1000);
    dest[9] = ',';
    putThreeDigits(dest + 10, micros % 1000);
}

void putBinary(char* dest, int value) {
    for (int bit = 7, col = 0; bit >= 0; --bit, ++col) {
        if (bit == 3) dest[col++] = ' ';
        dest[col] = (value >> bit) & 1 ? '1' : '0';
    }
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

std::string formatMillisGrouped(int64_t micros) {
    return millisText(magnitude(micros), true);
}

std::string formatMillis(int64_t micros) {
    return millisText(magnitude(micros), false);
}

std::string formatGrouped(int64_t value) {
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* start = putInteger(end, magnitude(value), true);
    if (value < 0) *--start = '-';
    return std::string(start, end);
}

std::string formatSignedMillis(int64_t micros) {
    std::string text = millisText(magnitude(micros), false);
    if (micros < 0) text.insert(text.begin(), '-');
    if (micros > 0) text.insert(text.begin(), '+');
    return text;
}

std::string rightAligned(std::string_view text, int width) {
    std::string out;
    if (text.size() < static_cast<size_t>(width)) out.assign(width - text.size(), ' ');
    out.append(text);
    return out;
}

std::string binaryByte(int value) {
    std::string out(9, ' ');
    putBinary(out.data(), value & 0xFF);
    return out;
}

std::string hexByte(int value) {
    return {kHexDigits[(value >> 4) & 0xF], kHexDigits[value & 0xF]};
}

std::string elapsedText(int64_t micros) {
    std::string out(13, ' ');
    putElapsed(out.data(), micros < 0 ? 0 : micros);
    return out;
}

bool composeRow(const RowFields& f, std::string& out) {
    if (f.rowNo < 0 || f.rowNo > 999'999 || f.A1 < 0 || f.A1 > 255 || f.A2 < 0 || f.A2 > 255 ||
        f.elapsedUs < 0)
        return false;
    out.assign(kRowLength, ' ');
    char* row = out.data();
    char number[8];
    char* end = number + sizeof number;
    char* start = putInteger(end, static_cast<uint64_t>(f.rowNo), false);
    std::memcpy(row + 6 - (end - start), start, end - start);
    // Columns are 1-based in the layout; the offsets below are 0-based.
    if (!place(row + 7, f.RotText, RotWidth) || !place(row + 14, f.TcText, TcWidth) ||
        !place(row + 24, f.TbText, TbWidth) || !place(row + 34, f.DTbText, DTbWidth) ||
        !place(row + 43, f.TaText, TaWidth) || !place(row + 51, f.TibText, TibWidth) ||
        !place(row + 61, f.TssText, TssWidth))
        return false;
    putBinary(row + 69, f.A1);
    row[79] = kHexDigits[f.A2 >> 4];
    row[80] = kHexDigits[f.A2 & 0xF];
    putElapsed(row + 82, f.elapsedUs);
    return true;
}

} // namespace protocol
