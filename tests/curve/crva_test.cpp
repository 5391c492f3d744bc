#include "curve/CurveFile.h"
#include <cstring>
#include <gtest/gtest.h>
#include <tuple>

using namespace curve;

namespace {

constexpr size_t kRec = 42;

// Record r (1-based) without its CR LF.
std::string record(const std::string& file, size_t r) {
    return file.substr((r - 1) * kRec, 40);
}

Point at(int rpm, double deg) {
    return {(rpm - 500) * 1.2, deg * 120};
}

CurveDocument sample() {
    CurveDocument d;
    Curve& c1 = d.curves[1];
    c1.points[0] = at(3000, 30);
    c1.points[1] = at(6000, 30);
    c1.points[2] = at(9900, 20);
    c1.CurveLastPoint = 2;
    BuildCurveTable(c1);
    Curve& c2 = d.curves[2];
    c2.points[0] = at(6000, 10);
    c2.points[1] = at(6000, 30); // only a vertical segment
    c2.CurveLastPoint = 1;
    BuildCurveTable(c2);
    d.curves[0].points[0] = at(2000, 5); // a lone point is not stored
    return d;
}

} // namespace

TEST(CrvaFile, LayoutOfEveryRecordKind) {
    const std::string f = serializeCrva(sample());
    // header; per curve: separator, header, points, number, 12 + 95 table records
    const size_t records = 1 + (3 + 0 + 107) + (3 + 3 + 107) + (3 + 2 + 107);
    ASSERT_EQ(f.size(), records * kRec);
    for (size_t r = 1; r <= records; ++r)
        ASSERT_EQ(f.substr(r * kRec - 2, 2), "\r\n") << r;

    EXPECT_EQ(record(f, 1), "crva 0  7500 0                          ");
    EXPECT_EQ(record(f, 2), "  2                                     ");
    EXPECT_EQ(record(f, 3), "crva 0  0                               ");
    EXPECT_EQ(record(f, 4), "  4                                     ");
    // Curve 0: no unit addresses.
    EXPECT_EQ(record(f, 5), "TabMSB0 dw      0x00 ;   0   0       500");
    EXPECT_EQ(record(f, 17), "TabAnt0 dw      .000 ;+  0  12       500");
    EXPECT_EQ(record(f, 111), "        dw      .000 ;+ 94 106      9900");
    // Curve 1 starts at record 112.
    EXPECT_EQ(record(f, 112), "112                                     ");
    EXPECT_EQ(record(f, 113), "crva 1  3                               ");
    EXPECT_EQ(record(f, 114), " 3000  3600   2500                      ");
    EXPECT_EQ(record(f, 116), "11280  2400   9400                      ");
    EXPECT_EQ(record(f, 117), "117                                     ");
    EXPECT_EQ(record(f, 118), "TabMSB1 dw      0x00 ;   0   0   6   500");
    // flag byte 3 (entries 36..43, 3,000..3,700 rpm): bits 2..7 for 3,100..3,700
    EXPECT_EQ(record(f, 121), "        dw      0xFC ;   3   3   9  2900");
    EXPECT_EQ(record(f, 124), "        dw      0xFF ;   6   6  12  5300");
    EXPECT_EQ(record(f, 125), "        dw      0x00 ;   7   7  13  6100");
    EXPECT_EQ(record(f, 130), "TabAnt1 dw      .000 ;+  0  12  18   500");
    EXPECT_EQ(record(f, 185), "        dw      .004 ;+ 55  67  73  6000");
    EXPECT_EQ(record(f, 224), "        dw      .105 ;+ 94 106 112  9900");
    // Curve 2: N = 2 for its vertical step, addresses go on from 113.
    EXPECT_EQ(record(f, 226), "crva 2  2                               ");
    EXPECT_EQ(record(f, 227), " 6600  1200   5500                      ");
    EXPECT_EQ(record(f, 230), "TabMSB2 dw      0x00 ;   0   0 113   500");
    EXPECT_EQ(record(f, 336), "        dw      .000 ;+ 94 106 219  9900");
}

TEST(CrvaFile, ReadsBackWhatItWroteByteForByteAndTheLockColumnAsItWasRead) {
    CurveDocument d = sample();
    d.maxRpmField = " 1050";
    d.notes = std::string("Motore di prova\r\nseconda riga ") + std::string(60, 'x') + "\xe8";
    const std::string f = serializeCrva(d);
    EXPECT_EQ(f.substr(336 * kRec, kRec), std::string(40, ' ') + "\r\n");
    EXPECT_EQ(f.size(), 340 * kRec); // 91 characters of notes in three pieces
    const CrvaReadResult r = parseCrva(f);
    ASSERT_EQ(r.refusal, CrvaRefusal::None);
    EXPECT_EQ(r.document.maxRpm(), 1050);
    EXPECT_EQ(serializeCrva(r.document), f);
    // Only '1' in the lock column locks; any other character is kept as it was.
    for (auto [read, locked] : {std::pair{'0', false}, {'1', true}, {' ', false}, {'x', false}}) {
        std::string g = f;
        g[13] = read;
        const CurveDocument l = parseCrva(g).document;
        EXPECT_EQ(l.locked(), locked) << read;
        EXPECT_EQ(serializeCrva(l), g) << read;
    }
}

TEST(CrvaFile, NinetyNineToAHundredAndOnePointsSurviveUpToTheLastSpeedLine) {
    // The count needs a third column from 100 on; the last points lie on 10,000 rpm.
    for (auto [points, header] :
         {std::pair{99, "crva 1 99"}, {100, "crva 1 100"}, {101, "crva 1 101"}}) {
        CurveDocument d;
        Curve& c = d.curves[1];
        for (int i = 0; i < points; ++i)
            c.points[static_cast<size_t>(i)] = {std::min(i, 95) * 120.0, i * 60.0};
        c.CurveLastPoint = points - 1;
        BuildCurveTable(c);
        const std::string f = serializeCrva(d);
        EXPECT_EQ(record(f, 113), header + std::string(40 - std::string(header).size(), ' '));
        EXPECT_EQ(record(f, 113 + points),
                  "11400  " + std::to_string((points - 1) * 60) + "   9500                      ");
        const CrvaReadResult r = parseCrva(f);
        ASSERT_EQ(r.refusal, CrvaRefusal::None) << points;
        EXPECT_EQ(serializeCrva(r.document), f);
    }
}

TEST(CrvaFile, RefusesWhatTheWriterCannotHaveWritten) {
    const std::string f = serializeCrva(sample());
    EXPECT_EQ(parseCrva("").refusal, CrvaRefusal::TooShort);
    EXPECT_EQ(parseCrva(f.substr(0, 41)).refusal, CrvaRefusal::TooShort);
    std::string wrong = f;
    wrong[3] = 'b';
    EXPECT_EQ(parseCrva(wrong).refusal, CrvaRefusal::WrongSignature);
    // Each field (record, column) at its top is read, one beyond it refused: a point's x
    // (10,000 rpm) and y (50 degrees), a low byte and a flag byte; a count above 101; MaxRpm
    // in 0..9999 (the unit gets MaxRpm \ 100 in one byte: -7500 would arrive as 181).
    const std::tuple<size_t, size_t, const char*, CrvaRefusal> fields[] = {
        {113, 8, "102", CrvaRefusal::BadCount},   {114, 1, "11400", CrvaRefusal::None},
        {114, 1, "11401", CrvaRefusal::BadValue}, {114, 7, " 6000", CrvaRefusal::None},
        {114, 7, " 6001", CrvaRefusal::BadValue}, {185, 18, "255", CrvaRefusal::None},
        {185, 18, "256", CrvaRefusal::BadValue},  {121, 19, "FF", CrvaRefusal::None},
        {121, 19, "af", CrvaRefusal::None},       {121, 19, "G1", CrvaRefusal::BadValue},
        {1, 8, "-7500", CrvaRefusal::BadValue},   {1, 8, "10000", CrvaRefusal::BadValue},
        {1, 8, "    0", CrvaRefusal::None},       {1, 8, " 9999", CrvaRefusal::None},
    };
    for (const auto& [record, column, text, refusal] : fields) {
        std::string file = f;
        file.replace((record - 1) * kRec + column - 1, std::strlen(text), text);
        EXPECT_EQ(parseCrva(file).refusal, refusal) << record << ": " << text;
    }
    // Tables are taken as stored, not recomputed.
    std::string top = f;
    top.replace((185 - 1) * kRec + 17, 3, "255");
    top.replace((121 - 1) * kRec + 18, 2, "A0");
    const Table stored = parseCrva(top).document.curves[1].CurveTable;
    EXPECT_EQ(stored[67], 255);
    EXPECT_EQ(stored[3], 0xA0);
    EXPECT_EQ(parseCrva(f.substr(0, f.size() / 2)).refusal, CrvaRefusal::BadCount);
    // A trailing partial record is ignored.
    EXPECT_EQ(parseCrva(f + "crva").refusal, CrvaRefusal::None);
}
