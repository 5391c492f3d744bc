#include "curve/CurveFile.h"
#include <cmath>
#include <cstdio>

namespace curve {

namespace {

constexpr size_t kColumns = 40;
constexpr int kFirstAddressCurve1 = 6;
constexpr int kFirstAddressCurve2 = 113;
constexpr double kGraphWidth = GraphXMax - GraphX0;  // 11400
constexpr double kGraphHeight = GraphY0 - GraphYTop; // 6000

// Writes text right-justified so that it ends in column last (1-based).
void putRight(std::string& rec, size_t last, const std::string& text) {
    const size_t first = last - text.size(); // 0-based start
    rec.replace(first, text.size(), text);
}

void putRight(std::string& rec, size_t last, long value) {
    putRight(rec, last, std::to_string(value));
}

std::string numberRecord(long n) {
    std::string rec(kColumns, ' ');
    putRight(rec, 3, n);
    return rec;
}

std::string hexByte(int v) {
    char b[3];
    std::snprintf(b, sizeof b, "%02X", v & 0xFF);
    return b;
}

std::string decimal3(int v) {
    char b[4];
    std::snprintf(b, sizeof b, "%03d", v % 1000);
    return b;
}

struct Writer {
    std::string out;
    long record = 0;
    void add(const std::string& rec) {
        out += rec;
        out += "\r\n";
        ++record;
    }
};

void writeCurve(Writer& w, const Curve& c, int digit, int& address) {
    w.add(numberRecord(w.record + 1));
    std::string header(kColumns, ' ');
    header.replace(0, 6, "crva " + std::to_string(digit));
    const int n = c.CurveLastPoint == 0 ? 0 : c.CurveLastPoint + 1;
    putRight(header, n >= 100 ? 10 : 9, n);
    w.add(header);
    for (int i = 0; i < n; ++i) {
        const Point& p = c.points[static_cast<size_t>(i)];
        std::string rec(kColumns, ' ');
        putRight(rec, 5, std::lround(p.x));
        putRight(rec, 11, std::lround(p.y));
        putRight(rec, 18, std::lround(p.x * 1000 / TwipsPer1000Rpm));
        w.add(rec);
    }
    w.add(numberRecord(w.record + 1));
    const bool addressed = digit != 0;
    for (int i = 0; i < StoredEntries; ++i) {
        const bool flags = i < FirstLowByte;
        std::string rec = flags ? "        dw      0x00                    "
                                : "        dw      .000                    ";
        if (i == 0 || i == FirstLowByte)
            rec.replace(0, 7, (flags ? "TabMSB" : "TabAnt") + std::to_string(digit));
        const int entry = c.CurveTable[static_cast<size_t>(i)];
        if (flags) {
            rec.replace(18, 2, hexByte(entry));
            rec.replace(20, 4, " ;  ");
            putRight(rec, 26, i);
            putRight(rec, 30, i);
            putRight(rec, 40, 500 + 800 * i);
        } else {
            rec.replace(17, 3, decimal3(entry));
            rec.replace(20, 4, " ;+ ");
            putRight(rec, 26, i - FirstLowByte);
            putRight(rec, 30, i);
            putRight(rec, 40, 500 + 100 * (i - FirstLowByte));
        }
        if (addressed) putRight(rec, 34, address);
        ++address;
        w.add(rec);
    }
}

// Record r (0-based) of the data, column first..last (1-based).
std::string_view field(std::string_view bytes, size_t r, size_t first, size_t last) {
    return bytes.substr(r * RecordLength + first - 1, last - first + 1);
}

int hexDigit(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return -1;
}

} // namespace

std::string serializeCrva(const CurveDocument& doc) {
    Writer w;
    std::string first(kColumns, ' ');
    first.replace(0, 7, "crva 0 ");
    std::string rpm = doc.maxRpmField.substr(0, 5);
    rpm.resize(5, ' ');
    first.replace(7, 5, rpm);
    first[13] = doc.lock; // written back as it was read
    w.add(first);
    // The unit addresses run on from curve 1 into curve 2 (curve 0 carries none).
    int address = kFirstAddressCurve1;
    for (int c = 0; c < CurveCount; ++c) {
        if (c == 1) address = kFirstAddressCurve1;
        writeCurve(w, doc.curves[static_cast<size_t>(c)], c, address);
    }
    if (!doc.notes.empty()) {
        w.add(std::string(kColumns, ' '));
        for (size_t at = 0; at < doc.notes.size(); at += RecordLength) {
            std::string piece = doc.notes.substr(at, RecordLength);
            piece.resize(RecordLength, ' ');
            w.out += piece;
        }
    }
    return w.out;
}

CrvaReadResult parseCrva(std::string_view bytes) {
    CrvaReadResult result;
    const size_t records = bytes.size() / RecordLength;
    auto refuse = [&result](CrvaRefusal why) {
        result.refusal = why;
        return result;
    };
    if (records < 1) return refuse(CrvaRefusal::TooShort);
    bytes = bytes.substr(0, records * RecordLength); // whole records only
    if (bytes.substr(0, 6) != "crva 0") return refuse(CrvaRefusal::WrongSignature);

    CurveDocument& doc = result.document;
    doc.maxRpmField = std::string(field(bytes, 0, 8, 12));
    // The unit receives MaxRpm \ 100 as one byte: a value outside 0..9999 would wrap.
    const double maxRpm = leadingNumber(doc.maxRpmField);
    if (maxRpm < 0 || maxRpm > MaxRpmLimit) return refuse(CrvaRefusal::BadValue);
    doc.lock = bytes[13];

    size_t p = 2; // the header of curve 0
    for (int c = 0; c < CurveCount; ++c) {
        Curve& curve = doc.curves[static_cast<size_t>(c)];
        if (p >= records) return refuse(CrvaRefusal::BadCount);
        const double n = leadingNumber(field(bytes, p, 8, 10));
        if (n > MaxLastPoint + 1) return refuse(CrvaRefusal::BadCount);
        ++p;
        const int count = n > 0 ? static_cast<int>(n) : 0;
        if (p + static_cast<size_t>(count) + 1 + StoredEntries > records)
            return refuse(CrvaRefusal::BadCount);
        curve.CurveLastPoint = count > 0 ? count - 1 : 0;
        for (int i = 0; i < count; ++i, ++p) {
            Point& pt = curve.points[static_cast<size_t>(i)];
            pt.x = leadingNumber(field(bytes, p, 1, 5));
            pt.y = leadingNumber(field(bytes, p, 7, 11));
            if (pt.x < 0 || pt.x > kGraphWidth || pt.y < 0 || pt.y > kGraphHeight)
                return refuse(CrvaRefusal::BadValue);
        }
        ++p; // the record-number record
        for (int i = 0; i < FirstLowByte; ++i, ++p) {
            const std::string_view hex = field(bytes, p, 19, 20);
            const int hi = hexDigit(hex[0]);
            const int lo = hexDigit(hex[1]);
            if (hi < 0 || lo < 0) return refuse(CrvaRefusal::BadValue);
            curve.CurveTable[static_cast<size_t>(i)] = static_cast<uint16_t>(hi * 16 + lo);
        }
        for (int i = FirstLowByte; i < StoredEntries; ++i, ++p) {
            const double v = leadingNumber(field(bytes, p, 18, 20));
            if (v < 0 || v > 255) return refuse(CrvaRefusal::BadValue);
            curve.CurveTable[static_cast<size_t>(i)] = static_cast<uint16_t>(v);
        }
        ++p; // the separator before the next curve, or the blank record before the notes
    }
    // The notes: the pieces from p on, without the padding of the last one.
    if (bytes.size() > p * RecordLength + 9) {
        for (size_t at = p * RecordLength; at + 10 < bytes.size(); at += RecordLength)
            doc.notes.append(bytes.substr(at, RecordLength));
        while (!doc.notes.empty() && doc.notes.back() == ' ')
            doc.notes.pop_back();
    }
    return result;
}

} // namespace curve
