#include "measure/AdvanceDiagram.h"
#include "measure/CsvExport.h"
#include "measure/MeasurementSummary.h"
#include "measure/RowReader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace measure;

TEST(AdvanceDiagram, ScalesAndPlacesPointsInsideTheAxesOnly) {
    AdvanceDiagram d;
    d.resize(9600, 6500);      // right edge 9300, top 200
    EXPECT_EQ(d.hScale, 880);  // 8,800 twips / 10 thousand rpm
    EXPECT_EQ(d.vScale, 1200); // 6,000 twips / 5 tens of degrees
    const auto p = d.place({3000, 180});
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->x, 500 + 2640);
    EXPECT_EQ(p->y, 6200 - 2160);
    EXPECT_FALSE(d.place({10'500, 180}).has_value());
    EXPECT_FALSE(d.place({3000, 501}).has_value());
    EXPECT_TRUE(d.place({10'000, 500}).has_value());

    d.setSpeedLimits(2, 6); // 2,200 twips a thousand, from 2000 rpm
    EXPECT_EQ(d.hScale, 2200);
    EXPECT_EQ(d.place({3000, 180})->x, 500 + 2200);
    EXPECT_EQ(d.xOf(3000), 500 + 2200); // the reference curve's pen
    EXPECT_FALSE(d.place({1999, 180}).has_value());
    d.setSpeedLimits(4, 4); // an empty range leaves the scale
    EXPECT_EQ(d.hScale, 2200);
    d.setAdvanceLimits(1, 3);
    EXPECT_EQ(d.vScale, 3000);
    EXPECT_EQ(d.place({4000, 150})->y, 6200 - 1500);
    EXPECT_EQ(d.yOf(150), 6200 - 1500);
    d.setAdvanceLimits(2, 2);
    EXPECT_EQ(d.vScale, 3000);
}

TEST(MeasurementCsv, OneLinePerRowInPlainUnitsInEitherConvention) {
    const std::vector<std::string> rows = {
        // Ta 3125, Tb 9375, Tss 2500 ticks; status 0xA5, 0x3C
        "     1  3,000    20.000    15.000  +15.000   5.000     1.234   4.000 1010 0101 3C "
        "59:59:990,000",
        // past the hour the row's minutes start again from 0; without Tc no advance, and
        // no A2 from a digit that is not hexadecimal
        "     2" + std::string(18, ' ') +
            "    0.000  -15.000   5.000     0.000   4.000 "
            "0000 0000 G0 00:00:010,500",
        "     3 garbage",
        // Tss equal to Ta: no advance either
        "     4  3,000    20.000    15.000  +15.000   5.000     1.234   5.000 1010 0101 3C "
        "00:00:020,000"};
    const auto rowAt = [&](std::size_t i) { return std::string_view(rows[i]); };
    EXPECT_EQ(measurementCsv(rows.size(), rowAt, csvConventionOf(200)),
              "Row,Speed (rpm),Tc (ms),Tb (ms),DTb (ms),Ta (ms),Tib (ms),Tss (ms),TAnt (ms),"
              "Advance (deg),A1,A2,Elapsed (s)\r\n"
              "1,3000,20.000,15.000,15.000,5.000,1.234,4.000,1.000,18.0,165,60,3599.990000\r\n"
              "2,,,0.000,-15.000,5.000,0.000,4.000,,,0,,3600.010500\r\n"
              "3,,,,,,,,,,,,\r\n"
              "4,3000,20.000,15.000,15.000,5.000,1.234,5.000,,,165,60,3600.020000\r\n");
    // In Italian: ";" between the cells and a decimal comma.
    const std::string italian = measurementCsv(2, rowAt, csvConventionOf(0));
    EXPECT_EQ(italian.substr(italian.find('\n') + 1),
              "1;3000;20,000;15,000;15,000;5,000;1,234;4,000;1,000;18,0;165;60;3599,990000\r\n"
              "2;;;0,000;-15,000;5,000;0,000;4,000;;;0;;3600,010500\r\n");
    EXPECT_EQ(italian.substr(0, 22), "Row;Speed (rpm);Tc (ms");
    EXPECT_EQ(unwrapTempo(5, 3'600'000'005), 3'600'000'005); // a row as late as the last
}

// Row 1: 3,000 rpm, TAnt = Ta - Tss = 5 - 4 ms = 625 ticks of Tc 12,500: 18.0 degrees.
// Rows 2 and 3: 6,000 rpm, Ta 1.25 ms = 781 ticks, Tc 6,250 ticks; Tss 0.4 ms (250) gives
// 3600 x 531 / 6250 = 305.9 -> 30.6 degrees, Tss 0.2 ms (125) 3600 x 656 / 6250 = 377.9 ->
// 37.8. The clock passes the hour between rows 2 and 3.
TEST(MeasurementSummary, BandsOfFiveHundredRpmSpeedsAndTheTimeUnwrappedPastTheHour) {
    const std::vector<std::string> rows = {
        "     1  3,000    20.000    15.000  +15.000   5.000     1.234   4.000 1010 0101 3C "
        "59:59:990,000",
        "     2  6,000    10.000     8.750   -6.250   1.250     6.000   0.400 0000 0011 00 "
        "59:59:999,000",
        "     3  6,000    10.000     8.750   +0.000   1.250     6.000   0.200 0000 0011 00 "
        "00:00:009,000"};
    const MeasurementSummary s =
        summarizeMeasurement(rows.size(), [&](std::size_t i) { return std::string_view(rows[i]); });
    EXPECT_EQ(s.rows, 3u);
    EXPECT_EQ(s.minRpm, 3000);
    EXPECT_EQ(s.maxRpm, 6000);
    ASSERT_EQ(s.bands.size(), 2u);
    EXPECT_EQ(s.bands[0].fromRpm, 3000);
    EXPECT_EQ(s.bands[0].minTenths, 180);
    // The second band and the times as the summary writes them.
    const std::vector<std::string> lines = summaryLines(s, 7, 200);
    EXPECT_EQ(lines[1], "Time: 3599.990 s - 3600.009 s (0.019 s)");
    EXPECT_EQ(lines[3], "Lost messages: 7");
    EXPECT_EQ(lines.back(), "  6000-6499   rpm   30.6 -  37.8 deg  (2 rows)");
}
