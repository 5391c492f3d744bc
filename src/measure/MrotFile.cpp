#include "measure/MrotFile.h"

#include "base/FileStore.h"
#include "base/SystemPath.h"
#include "protocol/MeasurementRow.h"

#include <algorithm>

using namespace base;
using namespace protocol;

namespace measure {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kLine = kRowLength; // characters before the line end

std::string_view trimRight(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

// text cut or blank-padded to width, then CR LF
void appendLine(std::string& out, std::string_view text, std::size_t width = kLine) {
    text = text.substr(0, std::min(text.size(), width));
    out.append(text);
    out.append(width - text.size(), ' ');
    out.append(kCrLf);
}

void appendNotes(std::string& out, std::string_view notes) {
    std::string text(notes);
    // A code 1 at the start of a record would read as the end of the notes.
    std::replace(text.begin(), text.end(), kMrotMarker, ' ');
    std::string_view rest = trimRight(text);
    if (rest.empty()) return;
    while (rest.size() >= kMrotRecord - 1) {
        if (rest.size() >= kMrotRecord) {
            out.append(rest.substr(0, kMrotRecord));
            rest.remove_prefix(kMrotRecord);
        } else {
            // 96 characters cannot end with a line end inside one record: a full record
            // with a blank, and an empty final chunk after it.
            out.append(rest);
            out.push_back(' ');
            rest = {};
        }
    }
    appendLine(out, rest);
}

// The record of number n (from 1) of length len; the caller checks that it is whole.
std::string_view record(std::string_view bytes, std::size_t n, std::size_t len) {
    return bytes.substr((n - 1) * len, len);
}

// Columns from-to (1-based, inclusive) of text; what lies past its end is left out.
std::string_view cols(std::string_view text, std::size_t from, std::size_t to) {
    if (from > text.size()) return {};
    return text.substr(from - 1, std::min(to, text.size()) - (from - 1));
}

void putCols(std::string& row, std::size_t from, std::string_view text) {
    row.replace(from - 1, text.size(), text);
}

// The value of the digits of a trimmed number field, thousands separators skipped; reading
// stops at any other character, as a number typed into a cell would.
long long fieldDigits(std::string_view field, long long value, int& digits) {
    field = trimRight(field);
    field.remove_prefix(std::min(field.find_first_not_of(' '), field.size()));
    for (char c : field) {
        if (c == kThousandsSeparator) continue;
        if (c < '0' || c > '9' || digits >= 12) break;
        value = value * 10 + (c - '0');
        ++digits;
    }
    return value;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

std::string mrotHead(std::string_view path, std::string_view notes) {
    std::string out;
    appendLine(out, "mrot 2");
    const std::string stored = latin1FromUtf8(path);
    appendLine(out, std::string_view(stored).substr(0, std::min(stored.size(), kMrotPathMax)),
               kMrotPathMax);
    appendNotes(out, notes);
    appendLine(out, std::string_view(&kMrotMarker, 1));
    appendLine(out, kRotationHeader);
    appendLine(out, {});
    return out;
}

void appendMrotRow(std::string& out, std::string_view row) {
    appendLine(out, row);
}

std::string serializeMrot(std::string_view path, std::string_view notes, std::size_t rowCount,
                          const std::function<std::string_view(std::size_t)>& rowAt) {
    std::string out = mrotHead(path, notes);
    out.reserve(out.size() + rowCount * kMrotRecord);
    for (std::size_t i = 0; i < rowCount; ++i)
        appendMrotRow(out, rowAt(i));
    return out;
}

std::string serializeMrot(const MrotDocument& doc) {
    return serializeMrot(doc.path, doc.notes, doc.rows.size(),
                         [&](std::size_t i) { return std::string_view(doc.rows[i]); });
}

std::string convertV1Row(std::string_view v1, long long& tbPrevUs) {
    std::string row(kRowLength, ' ');
    putCols(row, 1, cols(v1, 1, 33));
    int digits = 0;
    const long long tbUs =
        fieldDigits(cols(v1, 31, 33), fieldDigits(cols(v1, 25, 29), 0, digits), digits);
    const std::string dtb = formatSignedMillis(tbUs - tbPrevUs);
    tbPrevUs = tbUs;
    if (dtb.size() <= static_cast<std::size_t>(protocol::DTbWidth))
        putCols(row, 35, rightAligned(dtb, protocol::DTbWidth));
    putCols(row, 44, cols(v1, 35, 41));
    putCols(row, 52, cols(v1, 51, 59));
    putCols(row, 62, cols(v1, 61, 67));
    const std::string_view a1 = cols(v1, 91, 91);
    if (!a1.empty() && hexDigit(a1[0]) >= 0) {
        const int nibble = hexDigit(a1[0]);
        for (int bit = 3; bit >= 0; --bit)
            row[69 + 3 - bit] = (nibble >> bit) & 1 ? '1' : '0';
    }
    putCols(row, 75, cols(v1, 93, 94));
    putCols(row, 83, cols(v1, 101, 113));
    return row;
}

std::optional<MrotDocument> parseMrot(std::string_view bytes) {
    std::vector<std::string> rows;
    std::optional<MrotDocument> doc =
        parseMrot(bytes, [&rows](std::string_view row) { rows.emplace_back(row); });
    if (doc) doc->rows = std::move(rows);
    return doc;
}

std::optional<MrotDocument> parseMrot(std::string_view bytes,
                                      const std::function<void(std::string_view)>& addRow,
                                      std::size_t notesLimit) {
    if (bytes.size() < kMrotRecord || bytes.substr(0, 5) != "mrot " ||
        (bytes[5] != '1' && bytes[5] != '2'))
        return std::nullopt;
    MrotDocument doc;
    doc.version = bytes[5] - '0';
    const std::size_t len = doc.version == 1 ? kMrotRecordV1 : kMrotRecord;
    const std::size_t records = bytes.size() / len;
    if (records < 1) return std::nullopt;

    std::string_view path = bytes.substr(len, std::min(records, std::size_t{3}) * len - len);
    if (path.size() >= 2 && path.substr(path.size() - 2) == kCrLf) path.remove_suffix(2);
    doc.path = utf8FromLatin1(trimRight(path));

    std::size_t marker = 0;
    for (std::size_t n = 4; n <= records; ++n) {
        const std::string_view rec = record(bytes, n, len);
        if (rec[0] == kMrotMarker) {
            marker = n;
            break;
        }
        // Past the limit the records are only looked through for the marker.
        const std::size_t room = notesLimit - std::min(notesLimit, doc.notes.size());
        doc.notes.append(rec.substr(0, std::min(rec.size(), room)));
        if (rec.size() > room && !doc.notesCut)
            doc.notesCut = rec.substr(room).find_first_not_of(" \r\n") != std::string_view::npos;
    }
    std::string_view notes = doc.notes;
    if (notes.size() >= 2 && notes.substr(notes.size() - 2) == kCrLf) notes.remove_suffix(2);
    doc.notes.resize(trimRight(notes).size());

    if (marker == 0) return doc;
    long long tbPrevUs = 0;
    for (std::size_t n = marker + 3; n <= records; ++n) {
        const std::string_view rec = record(bytes, n, len);
        if (doc.version == 1)
            addRow(convertV1Row(rec.substr(0, len - 2), tbPrevUs));
        else
            addRow(rec.substr(0, kLine));
    }
    return doc;
}

} // namespace measure
