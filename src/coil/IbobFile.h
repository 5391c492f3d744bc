#pragma once
#include "coil/CoilDocument.h"
#include <string>
#include <string_view>

namespace coil {

// The .ibob file: one 44-byte record.
//   0..10  "ZEPHALON132"
//   11..20 the document record's positions 1..10 as they were when it was written
//   21..43 the document record's positions 261..283 (dwell indexes, L, R, +R %, VR high,
//          VR low, V Batt, eleven zero bytes)
inline constexpr std::size_t FileSize = 44;
inline constexpr std::string_view Magic = "ZEPHALON132";

struct IbobRead {
    // 0: read; 1: refused (too short, wrong signature, or a value no control can show).
    int code = 1;
    CoilValues values;
    std::string record; // the 44 bytes read, when code is 0
};

// Reads the first 44 bytes of a file image; what follows them is ignored.
IbobRead parseIbob(std::string_view file);

// The 44 bytes of the document as it stands.
std::string serializeIbob(const DocImage& doc);

// The document a new window builds from a file that was read: its positions 1..10 and
// 261..283 from the record (so every byte the file holds is written back), then window
// number n, neither modified nor untitled, the opened path.
DocImage openedProgram(const IbobRead& file, int windowNumber, std::string_view path);

} // namespace coil
