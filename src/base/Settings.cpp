#include "base/Settings.h"
#include "base/SerialPortList.h"
#include "base/SystemPath.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace base {

// Layout of "ZEPHALON.iniz": 500-byte records, positions below are 1-based within a record.
// Byte fields are one character, 16-bit fields two characters high byte first.
namespace {

constexpr std::size_t kRecord = kSettingsRecordSize;
constexpr int kPlacementOffset = 16000; // Top / Left are stored shifted so negatives survive
constexpr int kWinRecStart = 70;        // slot n at 70 + (n - 1) * 10
constexpr int kWinRecSize = 10;
constexpr std::size_t kRecord2Length = 92;
constexpr std::size_t kFolderLength = 250;
constexpr std::size_t kRecentPathField = 250; // written first, then its tail is overwritten
constexpr std::size_t kRecentPathKept = 234;  // characters before the binary fields at 235
constexpr int kRecentRecords = 9;             // entries 1-9 in records 6-14
constexpr int kWrittenRecords = 14;
constexpr int kNewFileRecords = 11;
constexpr int kSerialRecord = static_cast<int>(kSerialPortRecordNo);

std::size_t recordStart(int record) {
    return static_cast<std::size_t>(record - 1) * kRecord;
}

// Reading: every accessor checks the length, so a short file leaves the default in place.
class Reader {
public:
    explicit Reader(std::string_view file) : file_(file) {}

    bool has(std::size_t offset, std::size_t length) const {
        return offset <= file_.size() && length <= file_.size() - offset;
    }
    void byte(std::size_t offset, uint8_t& value) const {
        if (has(offset, 1)) value = static_cast<uint8_t>(file_[offset]);
    }
    void word(std::size_t offset, uint16_t& value) const {
        if (has(offset, 2))
            value = static_cast<uint16_t>(static_cast<uint8_t>(file_[offset]) << 8 |
                                          static_cast<uint8_t>(file_[offset + 1]));
    }
    void signedWord(std::size_t offset, int16_t& value) const {
        uint16_t raw = static_cast<uint16_t>(value);
        word(offset, raw);
        value = static_cast<int16_t>(raw);
    }
    // Top / Left: stored + 16000; a damaged value is brought back into -16000..16000.
    void placement(std::size_t offset, int16_t& value) const {
        if (!has(offset, 2)) return;
        uint16_t raw = 0;
        word(offset, raw);
        value = static_cast<int16_t>(std::clamp(static_cast<int>(raw) - kPlacementOffset,
                                                -kPlacementOffset, kPlacementOffset));
    }
    void number(std::size_t offset, float& value) const {
        if (has(offset, 1)) value = static_cast<uint8_t>(file_[offset]);
    }
    void device(std::size_t offset, int& value) const {
        if (has(offset, 1)) value = static_cast<uint8_t>(file_[offset]);
    }
    std::string_view text(std::size_t offset, std::size_t length) const {
        if (offset >= file_.size()) return {};
        return file_.substr(offset, std::min(length, file_.size() - offset));
    }

private:
    std::string_view file_;
};

// Blanks pad the text fields; NULs fill records that were created empty and never written.
std::string rightTrimmed(std::string_view text) {
    const auto end = text.find_last_not_of(std::string_view(" \0", 2));
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

// Position p (1-based) of record 1.
std::size_t headerPos(int p) {
    return static_cast<std::size_t>(p - 1);
}

void readHeader(const Reader& in, SettingsData& s) {
    in.byte(headerPos(18), s.BatteryMode);
    in.byte(headerPos(19), s.BatteryTimeDivPos);
    // Position 20 (MIDI thru at exit) is written only; thru always starts off.
    in.device(headerPos(21), s.MIDIInDevice);
    in.device(headerPos(22), s.MIDIOutDevice);
    in.byte(headerPos(24), s.LangCode);
    uint8_t statusBar = s.StatusBarOn ? 1 : 0;
    in.byte(headerPos(25), statusBar);
    s.StatusBarOn = statusBar == 1;
    in.number(headerPos(27), s.Param27);
    in.number(headerPos(28), s.ScaleParam2);
    in.number(headerPos(29), s.LiveDisplay);
    in.number(headerPos(30), s.ScaleParam3);
    in.number(headerPos(31), s.ScaleParam4);
    in.byte(headerPos(36), s.Param36);
    in.byte(headerPos(37), s.RotVScroll1);
    in.byte(headerPos(38), s.RotVScroll2);
    in.byte(headerPos(39), s.RotVScroll3);
    in.byte(headerPos(40), s.RotVScroll4);
    in.byte(headerPos(41), s.RotTimeDivPos);
    in.byte(headerPos(42), s.Param42);
    in.number(headerPos(43), s.CoilVBatt);
    in.number(headerPos(44), s.CoilL);
    in.number(headerPos(45), s.CoilR);
    in.number(headerPos(46), s.CoilRPlus);
    in.word(headerPos(47), s.RotGraphParam);
}

void readWindowRecords(const Reader& in, SettingsData& s) {
    for (int n = 1; n <= WindowCount; ++n) {
        const std::size_t at = headerPos(kWinRecStart + (n - 1) * kWinRecSize);
        WindowRecord& rec = s.WinRec[n];
        // A slot never written since the file was created is all NULs: never placed.
        const std::string_view raw = in.text(at, kWinRecSize);
        if (raw.find_first_not_of('\0') == std::string_view::npos) continue;
        in.placement(at, rec.Top);
        in.placement(at + 2, rec.Left);
        in.signedWord(at + 4, rec.Width);
        in.signedWord(at + 6, rec.Height);
        in.byte(at + 8, rec.State);
    }
}

void readRecentDocuments(const Reader& in, SettingsData& s) {
    for (int i = 1; i <= kRecentRecords; ++i) {
        const std::size_t at = recordStart(5 + i);
        RecentDocument doc;
        // Only the characters before the binary fields belong to the path.
        doc.Path = utf8FromLatin1(rightTrimmed(in.text(at, kRecentPathKept)));
        if (doc.Path.empty()) continue;
        in.placement(at + 234, doc.Left);
        in.placement(at + 236, doc.Top);
        in.signedWord(at + 238, doc.SizeB);
        in.signedWord(at + 240, doc.SizeA);
        in.byte(at + 244, doc.Kind);
        in.byte(at + 245, doc.Flags);
        s.RecentDoc[i] = std::move(doc);
    }
}

// Writing.
void putByte(std::string& rec, std::size_t at, uint8_t value) {
    rec[at] = static_cast<char>(value);
}

void putWord(std::string& rec, std::size_t at, int value) {
    const auto raw = static_cast<uint16_t>(value);
    rec[at] = static_cast<char>(raw >> 8);
    rec[at + 1] = static_cast<char>(raw & 0xFF);
}

void putPlacement(std::string& rec, std::size_t at, int16_t value) {
    putWord(rec, at,
            std::clamp<int>(value, -kPlacementOffset, kPlacementOffset) + kPlacementOffset);
}

// The single-float parameters keep only their integer part 0-255.
uint8_t numberByte(float value) {
    if (!(value > 0)) return 0; // also NaN
    if (value >= 255) return 255;
    return static_cast<uint8_t>(std::trunc(value));
}

void putText(std::string& rec, std::size_t at, std::string_view text, std::size_t width, char pad) {
    const std::size_t n = std::min(text.size(), width);
    rec.replace(at, n, text.substr(0, n));
    std::fill(rec.begin() + static_cast<std::ptrdiff_t>(at + n),
              rec.begin() + static_cast<std::ptrdiff_t>(at + width), pad);
}

std::string blankRecord() {
    return std::string(kRecord, '\0');
}

std::string signedHeader() {
    std::string rec = blankRecord();
    rec.replace(0, kSettingsSignature.size(), kSettingsSignature);
    return rec;
}

// The positions of record 1 that the program owns; everything else is left as found.
void writeHeaderFields(std::string& rec, const SettingsData& s) {
    rec.replace(0, kSettingsSignature.size(), kSettingsSignature);
    putByte(rec, headerPos(18), s.BatteryMode);
    putByte(rec, headerPos(19), s.BatteryTimeDivPos);
    putByte(rec, headerPos(20), s.MIDIThruOn ? 1 : 0);
    putByte(rec, headerPos(21), static_cast<uint8_t>(s.MIDIInDevice & 0xFF));
    putByte(rec, headerPos(22), static_cast<uint8_t>(s.MIDIOutDevice & 0xFF));
    putByte(rec, headerPos(24), s.LangCode);
    putByte(rec, headerPos(25), s.StatusBarOn ? 1 : 0);
    putByte(rec, headerPos(27), numberByte(s.Param27));
    putByte(rec, headerPos(28), numberByte(s.ScaleParam2));
    putByte(rec, headerPos(29), numberByte(s.LiveDisplay));
    putByte(rec, headerPos(30), numberByte(s.ScaleParam3));
    putByte(rec, headerPos(31), numberByte(s.ScaleParam4));
    putByte(rec, headerPos(37), s.RotVScroll1);
    putByte(rec, headerPos(38), s.RotVScroll2);
    putByte(rec, headerPos(39), s.RotVScroll3);
    putByte(rec, headerPos(40), s.RotVScroll4);
    putByte(rec, headerPos(41), s.RotTimeDivPos);
    putByte(rec, headerPos(42), s.Param42);
    putByte(rec, headerPos(43), numberByte(s.CoilVBatt));
    putByte(rec, headerPos(44), numberByte(s.CoilL));
    putByte(rec, headerPos(45), numberByte(s.CoilR));
    putByte(rec, headerPos(46), numberByte(s.CoilRPlus));
    putWord(rec, headerPos(47), s.RotGraphParam);
}

void writeWindowRecords(std::string& rec, const SettingsData& s) {
    for (int n = 1; n <= WindowCount; ++n) {
        const std::size_t at = headerPos(kWinRecStart + (n - 1) * kWinRecSize);
        const WindowRecord& w = s.WinRec[n];
        putPlacement(rec, at, w.Top);
        putPlacement(rec, at + 2, w.Left);
        putWord(rec, at + 4, w.Width);
        putWord(rec, at + 6, w.Height);
        putByte(rec, at + 8, w.State);
        putByte(rec, at + 9, 0);
    }
}

// Record 1 of a new file: NULs, the signature and the defaults; window records stay NUL.
std::string newHeader(const SettingsData& d) {
    std::string rec = signedHeader();
    writeHeaderFields(rec, d);
    putByte(rec, headerPos(20), 0); // MIDI thru is recorded only at exit
    putByte(rec, headerPos(36), d.Param36);
    return rec;
}

// A path as its 8-bit field holds it; empty when Latin-1 has no place for one of its
// letters (a field naming another folder or file would be worse than none).
std::string storedPath(std::string_view path) {
    bool whole = true;
    std::string latin1 = latin1FromUtf8(path, &whole);
    return whole ? latin1 : std::string();
}

std::string folderRecord(std::string_view folder) {
    std::string rec = blankRecord();
    putText(rec, 0, storedPath(folder), kFolderLength, ' ');
    return rec;
}

std::string recentRecord(const RecentDocument& doc, const std::string& path) {
    std::string rec = blankRecord();
    putText(rec, 0, path, kRecentPathField, ' ');
    putPlacement(rec, 234, doc.Left);
    putPlacement(rec, 236, doc.Top);
    putWord(rec, 238, doc.SizeB);
    putWord(rec, 240, doc.SizeA);
    putWord(rec, 242, 0);
    putByte(rec, 244, doc.Kind);
    putByte(rec, 245, doc.Flags);
    return rec;
}

} // namespace

bool parseSettings(std::string_view file, SettingsData& out) {
    if (file.size() < kSettingsSignature.size() ||
        file.substr(0, kSettingsSignature.size()) != kSettingsSignature)
        return false;

    const Reader in(file);
    SettingsData s;
    s.header = std::string(in.text(0, kRecord));
    s.header.resize(kRecord, '\0');
    readHeader(in, s);
    readWindowRecords(in, s);
    s.Record2 = std::string(in.text(recordStart(2), kRecord2Length));
    s.LastDocFolder = utf8FromLatin1(rightTrimmed(in.text(recordStart(3), kFolderLength)));
    // Record 4 holds a copy of the measurement folder and is not read.
    s.LastMeasFolder = utf8FromLatin1(rightTrimmed(in.text(recordStart(5), kFolderLength)));
    readRecentDocuments(in, s);
    // A record 15 cut short still lists the paths whose fields are whole.
    const std::string_view serialRecord = in.text(recordStart(kSerialRecord), kRecord);
    s.SerialPorts = parseSerialPortRecord(serialRecord);
    s.SerialPortBauds = parseSerialPortBauds(serialRecord);
    s.SerialPortsCutOff = serialPortsCutOff(serialRecord);
    if (file.size() > recordStart(kSerialRecord + 1))
        s.LaterRecords = std::string(file.substr(recordStart(kSerialRecord + 1)));
    out = std::move(s);
    return true;
}

std::string newSettingsFile(const SettingsData& defaults) {
    std::string file = newHeader(defaults);
    for (int r = 2; r <= kNewFileRecords; ++r)
        file += blankRecord();
    return file;
}

std::string serializeSettings(const SettingsData& data) {
    // Record 1 as it was read, so positions nobody owns keep their contents.
    std::string header = data.header;
    if (header.size() < kSettingsSignature.size() ||
        header.compare(0, kSettingsSignature.size(), kSettingsSignature) != 0)
        header = newHeader(data);
    header.resize(kRecord, '\0');
    writeHeaderFields(header, data);
    writeWindowRecords(header, data);

    std::string file;
    file.reserve(kWrittenRecords * kRecord);
    file += header;

    std::string record2 = blankRecord();
    putText(record2, 0, data.Record2, kRecord2Length, '\0');
    file += record2;
    file += folderRecord(data.LastDocFolder);
    file += folderRecord(data.LastMeasFolder);
    file += folderRecord(data.LastMeasFolder);
    // The entries whose paths the 8-bit fields can hold, in their order.
    int written = 0;
    for (int i = 1; i <= kRecentRecords; ++i) {
        const std::string path = storedPath(data.RecentDoc[i].Path);
        if (path.empty() && !data.RecentDoc[i].Path.empty()) continue;
        file += recentRecord(data.RecentDoc[i], path);
        ++written;
    }
    for (; written < kRecentRecords; ++written)
        file += recentRecord(RecentDocument{}, {});
    if (!data.SerialPorts.empty() || !data.LaterRecords.empty()) {
        file += serializeSerialPortRecord(data.SerialPorts, data.SerialPortBauds);
        file += data.LaterRecords;
    }
    return file;
}

} // namespace base
