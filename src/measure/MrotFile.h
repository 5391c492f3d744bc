#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace measure {

// The measurement file (.mrot, and .mant for advance measurements): fixed records of 95
// characters and CR LF, 8-bit text.
//
//  record 1        "mrot 2", blanks to column 95
//  records 2-3     the document path: 97 characters (record 2 has no line end), then up to
//                  95 more, blank-padded, CR LF; 192 characters at most
//  records 4..k-1  the notes, when there are any, in chunks of 97 characters written
//                  unchanged; the last chunk blank-padded to 95 and CR LF
//  record k        the end-of-notes marker: code 1, 94 blanks
//  record k+1      the rotation header (95 characters)
//  record k+2      95 blanks
//  records k+3..   one 95-character measurement row each
//
// Version 1 files (read only) have the same records 115 bytes long; their rows are
// converted into version 2 rows on reading.

inline constexpr std::size_t kMrotRecord = 97;
inline constexpr std::size_t kMrotRecordV1 = 115;
inline constexpr std::size_t kMrotPathMax = 192;
inline constexpr char kMrotMarker = '\x01';
// The most of a file's notes that is read: far more than anyone types into the notes, and
// little enough that a file whose notes run to hundreds of megabytes opens at once.
inline constexpr std::size_t kMrotNotesLimit = 256 * 1024;

// A measurement as stored: the rows are the 95-character rotation rows, oldest first.
struct MrotDocument {
    std::string path; // UTF-8; the file holds it as Latin-1
    std::string notes;
    bool notesCut = false; // the file's notes ran past the limit and only their start was read
    std::vector<std::string> rows;
    int version = 2; // of the file it was read from
};

// The bytes up to and including the blank record that precedes the rows; the file is this
// head followed by kMrotRecord bytes per row.
std::string mrotHead(std::string_view path, std::string_view notes);
// One row record: the row fitted to 95 columns, CR LF.
void appendMrotRow(std::string& out, std::string_view row);

// Version 2 file of a measurement whose rows are handed out one by one.
std::string serializeMrot(std::string_view path, std::string_view notes, std::size_t rowCount,
                          const std::function<std::string_view(std::size_t)>& rowAt);
std::string serializeMrot(const MrotDocument& doc);

// Reads a version 1 or 2 file. Refuses (nullopt) anything whose first whole record does
// not begin with "mrot", a blank and the digit 1 or 2. An incomplete last record is
// ignored; without a marker the rest of the file is notes and there are no rows. Notes
// longer than notesLimit keep their first notesLimit characters (notesCut).
std::optional<MrotDocument> parseMrot(std::string_view bytes);
// The same, handing each 95-character row to addRow instead of keeping it in the document.
std::optional<MrotDocument> parseMrot(std::string_view bytes,
                                      const std::function<void(std::string_view)>& addRow,
                                      std::size_t notesLimit = kMrotNotesLimit);

// A version 1 row (the first 113 columns of its record) as a version 2 row. tbPrevUs is
// the Tb of the previous converted row in microseconds (0 before the first); it is
// updated to this row's Tb.
std::string convertV1Row(std::string_view v1, long long& tbPrevUs);

} // namespace measure
