#pragma once
#include <string>

namespace base {

// Numbers as the user reads them, in the language chosen (the string table half):
// Italian writes a decimal comma and a thousands point ("1.500", "12,59"), English a
// decimal point and a thousands comma ("1,500", "12.59"). Rows, files and the wire keep
// their fixed layout and never go through here.

// langOffset: 0 Italian, 200 English (Texts::LangOffset).
std::string number(double value, int decimals, int langOffset);
std::string integer(long long value, int langOffset);

// A value with its unit after a blank: "12,59 V", "1.500 giri/min".
std::string withUnit(const std::string& number, const std::string& unit);

// The speed unit in the language: "giri/min" or "rpm".
const char* rpmUnit(int langOffset);

} // namespace base
