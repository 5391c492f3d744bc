#include "measure/MrotFile.h"
#include "measure/NotesCutNotice.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace measure;

namespace {

const std::string kBlankRecord = std::string(95, ' ') + "\r\n";
const std::string kVersion2 = "mrot 2" + std::string(89, ' ') + "\r\n";
const std::string kMarker = "\x01" + std::string(94, ' ') + "\r\n";
// The rotation header's first 95 characters.
const std::string kHeader =
    "   Riga    Rot       Tc        Tb      DTb      Ta       Tib     Tss      A1    A2    Tempo"
    "    \r\n";

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string pathRecords(const std::string& path) {
    return padded(path, 97) + padded(path.size() > 97 ? path.substr(97) : "", 95) + "\r\n";
}

// A 95-character row with its number in columns 1-6 and a time in 83-95.
std::string row(int n) {
    std::string r = padded(std::string(6 - std::to_string(n).size(), ' ') + std::to_string(n), 82);
    return r + "00:00:0" + std::to_string(10 + n) + ",000";
}

void put(std::string& text, std::size_t col, const std::string& what) {
    text.replace(col - 1, what.size(), what);
}

MrotDocument roundTrip(const MrotDocument& doc) {
    const auto back = parseMrot(serializeMrot(doc));
    EXPECT_TRUE(back.has_value());
    return back.value_or(MrotDocument{});
}

} // namespace

TEST(MrotWriter, RecordsAreLaidOutByteForByteAndNotesComeBackWhole) {
    MrotDocument doc;
    doc.path = "/home/u/Misura-6dic26-154100.mrot";
    const std::string empty = serializeMrot(doc);
    // No notes and no rows: records 1-6 only.
    EXPECT_EQ(empty, kVersion2 + pathRecords(doc.path) + kMarker + kHeader + kBlankRecord);

    doc.rows = {row(1), row(2)};
    EXPECT_EQ(serializeMrot(doc), empty + row(1) + "\r\n" + row(2) + "\r\n");
    EXPECT_EQ(mrotHead(doc.path, doc.notes), empty);

    // A path of exactly 97 characters fills record 2; record 3 is blank.
    const std::string p97(97, 'p');
    doc.rows.clear();
    doc.path = p97;
    EXPECT_EQ(serializeMrot(doc).substr(97, 194), p97 + kBlankRecord);
    // A longer one continues in record 3; past 192 characters it is cut.
    doc.path = std::string(97, 'a') + std::string(60, 'b');
    EXPECT_EQ(serializeMrot(doc).substr(97, 194),
              std::string(97, 'a') + std::string(60, 'b') + std::string(35, ' ') + "\r\n");
    doc.path = std::string(200, 'c');
    EXPECT_EQ(serializeMrot(doc).substr(97, 194), std::string(192, 'c') + "\r\n");
    EXPECT_EQ(roundTrip(doc).path, std::string(192, 'c'));
    // The path is held as UTF-8 and stored one byte per letter; a letter Latin-1 lacks
    // becomes one "?", however many bytes it takes.
    doc.path = "/dati/Per\u00f9/\u0915\U0001F600.mrot";
    EXPECT_EQ(serializeMrot(doc).substr(97, 19), "/dati/Per\xF9/??.mrot ");
    EXPECT_EQ(roundTrip(doc).path, "/dati/Per\u00f9/??.mrot");
    doc.path = "/x\xC3"
               "A.mrot"; // a lead byte without its second byte
    EXPECT_EQ(serializeMrot(doc).substr(97, 10), "/x?A.mrot ");

    // Notes chunks and their round trip.
    doc.path = "m.mrot";
    const std::string head = kVersion2 + pathRecords(doc.path);
    const std::string tail = kMarker + kHeader + kBlankRecord;
    const std::string n97 = std::string(96, 'x') + "y";
    const std::string n193 = std::string(97, 'a') + std::string(96, 'b');
    const std::string kept = "Prova su banco\r\nsecondo giro  fine\r\n";
    struct Case {
        std::string notes, records, back;
    };
    // 97 characters fill a record, then comes an empty final chunk; 96 are completed with a
    // blank; 193 are 97, then 96 and a blank; 95 end their own record with CR LF. Line ends
    // stay inside the chunks, trailing blanks go, a code 1 becomes a blank; only blanks
    // write no notes records at all.
    for (const Case& c :
         {Case{n97, n97 + kBlankRecord, n97},
          Case{std::string(96, 'z'), std::string(96, 'z') + " " + kBlankRecord,
               std::string(96, 'z')},
          Case{n193, n193 + " " + kBlankRecord, n193},
          Case{std::string(95, 'q'), std::string(95, 'q') + "\r\n", std::string(95, 'q')},
          Case{"Prova su banco\r\nsecondo giro\x01 fine\r\n   ", padded(kept, 95) + "\r\n", kept},
          Case{"    ", "", ""}}) {
        SCOPED_TRACE(c.notes.size());
        doc.notes = c.notes;
        EXPECT_EQ(serializeMrot(doc), head + c.records + tail);
        EXPECT_EQ(roundTrip(doc).notes, c.back);
    }
}

TEST(MrotReader, RefusesWhatIsNotAMeasurementIgnoresTornTailsAndCutsLongNotes) {
    MrotDocument doc;
    doc.path = "m.mrot";
    doc.notes = "n";
    doc.rows = {row(1), row(2), row(3)};
    const std::string good = serializeMrot(doc);

    for (const char* start : {"mrot 3", "mrot 0", "mrotx2", "MROT 2", "mrot  "}) {
        std::string bad = good;
        bad.replace(0, 6, start);
        EXPECT_FALSE(parseMrot(bad).has_value()) << start;
    }
    EXPECT_FALSE(parseMrot("").has_value());
    EXPECT_FALSE(parseMrot(good.substr(0, 96)).has_value()); // no whole first record
    EXPECT_TRUE(parseMrot(good.substr(0, 97)).has_value());

    // A torn last record is ignored.
    const auto torn = parseMrot(good.substr(0, good.size() - 1));
    ASSERT_TRUE(torn.has_value());
    EXPECT_EQ(torn->rows, (std::vector<std::string>{row(1), row(2)}));
    EXPECT_EQ(torn->notes, "n");

    // Without its marker the rest of the file is notes and there are no rows.
    std::string noMarker = good;
    noMarker[4 * 97] = 'M';
    const auto notesOnly = parseMrot(noMarker);
    ASSERT_TRUE(notesOnly.has_value());
    EXPECT_TRUE(notesOnly->rows.empty());
    EXPECT_EQ(notesOnly->notes.substr(0, 98), padded("n", 95) + "\r\nM");
    // Records 4-10 less the last line end.
    EXPECT_EQ(notesOnly->notes.size(), 7u * 97 - 2);
    EXPECT_EQ(notesOnly->notes.substr(notesOnly->notes.size() - 95), row(3));

    // Rows read back in order, exactly 95 characters each.
    const auto back = parseMrot(good);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->version, 2);
    EXPECT_EQ(back->path, "m.mrot");
    EXPECT_EQ(back->rows, doc.rows);

    // Notes far longer than the limit keep their first characters; the rest is only looked
    // through for the marker, and every row after it loads.
    doc.notes = std::string(3 << 20, 'n');
    doc.rows = {row(1), row(2)};
    const std::string file = serializeMrot(doc);
    std::vector<std::string> rows;
    const auto add = [&rows](std::string_view r) { rows.emplace_back(r); };
    const auto cut = parseMrot(file, add, 1000);
    ASSERT_TRUE(cut.has_value());
    EXPECT_TRUE(cut->notesCut);
    EXPECT_EQ(cut->notes, std::string(1000, 'n'));
    EXPECT_EQ(rows, doc.rows);
    EXPECT_TRUE(notesCutNotice("a.mrot", 200)
                    .starts_with("The notes of the file a.mrot are longer than 256 KB: "));

    // Notes that fit, with the blanks of their last record past the limit, are whole.
    doc.notes = std::string(1000, 'n');
    const auto fits = parseMrot(serializeMrot(doc), add, 1000);
    ASSERT_TRUE(fits.has_value());
    EXPECT_FALSE(fits->notesCut);
    EXPECT_EQ(fits->notes, doc.notes);
}

TEST(MrotReader, Version1RowsAreConverted) {
    auto record = [](std::string text) { return padded(std::move(text), 113) + "\r\n"; };
    auto v1Row = [](const std::string& tb, char a1, const std::string& a2) {
        std::string r(113, ' ');
        put(r, 1, "     7  2,000    30.000");
        put(r, 25, tb);
        put(r, 35, "  3.750");
        put(r, 51, "   12.345");
        put(r, 61, "  1.500");
        put(r, 91, std::string(1, a1));
        put(r, 93, a2);
        put(r, 101, "00:01:234,567");
        return r;
    };
    const std::string file =
        record("mrot 1") + record("/old/misura.mrot") + record("") + record("vecchie note") +
        record("\x01") + record("header") + record("") + record(v1Row("   26.250", 'A', "3F")) +
        record(v1Row("   26.000", 'z', "0C")) + record(v1Row("  125.500", 'f', "  "));
    const auto doc = parseMrot(file);
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(doc->version, 1);
    EXPECT_EQ(doc->notes, "vecchie note");
    ASSERT_EQ(doc->rows.size(), 3u);

    // DTb against 0 before the first row; A1 "A" is 1010, A2 follows it.
    const std::string first =
        "     7  2,000    30.000    26.250  +26.250   3.750    12.345   1.500 "
        "1010 3F      00:01:234,567";
    EXPECT_EQ(doc->rows[0], first);

    std::string second = first;
    put(second, 25, "   26.000");
    put(second, 35, "  -0.250");
    put(second, 70, "    "); // "z" is not a hexadecimal digit
    put(second, 75, "0C");
    EXPECT_EQ(doc->rows[1], second);

    std::string third = second;
    put(third, 25, "  125.500");
    put(third, 35, " +99.500");
    put(third, 70, "1111");
    put(third, 75, "  ");
    EXPECT_EQ(doc->rows[2], third);

    // A version 1 file shorter than one 115-byte record loads nothing.
    EXPECT_FALSE(parseMrot(file.substr(0, 114)).has_value());
}
