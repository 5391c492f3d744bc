#pragma once
#include "curve/CurveModel.h"
#include <string>
#include <string_view>

namespace curve {

// The .crva file: 42-byte records (40 columns and CR LF) holding the maximum rpm, the lock
// flag, the three curves with their points and unit tables as assembler data lines, and
// the notes.

inline constexpr size_t RecordLength = 42;

// Why a file was refused (the open command creates no window for it).
enum class CrvaRefusal : int {
    None = 0,
    TooShort = 1,       // not even one whole record
    WrongSignature = 2, // record 1 does not begin with "crva 0"
    BadCount = 3,       // a point count above 101, or records missing
    BadValue = 4,       // a value the writer cannot have written
};

struct CrvaReadResult {
    CrvaRefusal refusal = CrvaRefusal::None;
    CurveDocument document;
};

std::string serializeCrva(const CurveDocument& doc);
CrvaReadResult parseCrva(std::string_view bytes);

} // namespace curve
