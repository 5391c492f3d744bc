#include "coil/CoilGraph.h"
#include "coil/CoilSimulation.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace coil;

TEST(CoilBands, ALimitBelongsToTheLowerBandAndEachHasOneLevel) {
    for (auto [rpm, band] :
         {std::pair{1999, -1}, {2000, 0}, {3000, 0}, {3001, 1}, {7001, 5}, {8000, 5}})
        EXPECT_EQ(bandOf(rpm), band) << rpm;

    CoilValues v;
    v.dwell = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(dwellStepsAt(v, 1999), 200); // fixed 10 ms
    EXPECT_EQ(dwellStepsAt(v, 3000), 190); // band 2000-3000, index 1: 9.5 ms
    EXPECT_EQ(dwellStepsAt(v, 8000), 140); // last band, index 6: 7.0 ms

    EXPECT_EQ(dwellText(0, 0), "10,0");
    EXPECT_EQ(dwellText(5, 0), "7,5");
    EXPECT_EQ(dwellText(15, 0), "2,5");
    EXPECT_EQ(dwellText(15, 200), "2.5");
    EXPECT_EQ(bandText(0, 0), "2.000-3.000");
    EXPECT_EQ(bandText(5, 200), "> 7,000");
    // The graph of dwell against speed: one level per band.
    const auto p = dwellProfile({0, 5, 8, 9, 10, 15});
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(std::pair(p[0].fromRpm, p[0].toRpm), std::pair(0, 2000));
    EXPECT_DOUBLE_EQ(p[0].dwellMs, 10.0);
    EXPECT_EQ(p[2].fromRpm, 3000);
    EXPECT_EQ(p[2].toRpm, 4000);
    EXPECT_DOUBLE_EQ(p[2].dwellMs, 7.5);
    EXPECT_EQ(p[6].fromRpm, 7000);
    EXPECT_EQ(p[6].toRpm, 10000);
    EXPECT_DOUBLE_EQ(p[6].dwellMs, 2.5);
}

TEST(CoilSimulation, FiguresWorkedFromTheFormulas) {
    // Defaults at 1000 rpm: T = 60 ms, below 2000 rpm TB = 10 ms (200 steps);
    // R_t = 3.0 * 1.2 = 3.6 Ohm, tau = 5.0 / 3.6 = 1.3889 ms, I_f = 12 / 3.6 = 3.3333 A;
    // i_e = I_f (1 - e^(-9.95 / 1.3889)) = 3.3308 A; W = sum of 3.6 i^2 0.05 = 315.75 mJ.
    const std::optional<CoilSimulation> d = simulate(CoilValues{});
    ASSERT_TRUE(d);
    EXPECT_EQ(d->steps, 200);
    EXPECT_NEAR(d->totalOhm, 3.6, 1e-12);
    EXPECT_NEAR(d->tauMs, 1.388889, 1e-6);
    EXPECT_NEAR(d->endAmps, 3.33075, 1e-5);
    EXPECT_NEAR(d->heatMJ, 315.751, 1e-3);
    const CoilFigures english = figuresOf(1000, *d, 200); // rpm, decimal point
    EXPECT_EQ(english.LabVRT, "1,000 rpm  60.000 ms");

    const struct {
        CoilValues v;
        std::vector<std::string> figures; // VRT, TXDiv, Ibob, E, IMax, EMax, PMed, TB
    } cases[] = {
        // The defaults: E = 0.5 * 5 * 3.3308^2 = 27.73 mJ, Emax = 27.78 mJ, Pm = 315.75 / 60.
        {{},
         {"1.000 giri/min  60,000 ms", "Tempo/Div 7,500 ms", "I=3,33 A", "E=27,7 mJ", "Imax=3,33 A",
          "Emax=27,8 mJ", "Pm=5,3 W", "TB=10,0 ms"}},
        // 8000 rpm, last band index 11: TB = 4.5 ms, T = 7.5 ms, T/8 = 0.9375 ms;
        // i_e = 3.3333 (1 - e^(-4.45 / 1.3889)) = 3.1980 A, E = 25.57 mJ, W = 100.05 mJ.
        {{.VR = 8000},
         {"8.000 giri/min  7,500 ms", "Tempo/Div 0,938 ms", "I=3,20 A", "E=25,6 mJ", "Imax=3,33 A",
          "Emax=27,8 mJ", "Pm=13,3 W", "TB=4,5 ms"}},
        // 4500 rpm (band 4000-5000, index 8: 6.0 ms), L 7.2 mH, R 0.6 Ohm, +R 0 %, 13.8 V:
        // tau = 12 ms, I_f = 23 A, i_e = 23 (1 - e^(-5.95 / 12)) = 8.9916 A, E = 291.05 mJ,
        // Emax = 0.5 * 7.2 * 529 = 1904.4 mJ, T = 13.333 ms, W = 109.69 mJ, Pm = 8.23 W.
        {{.L = 72, .R = 6, .RPerc = 0, .VR = 4500, .VBatt = 138},
         {"4.500 giri/min  13,333 ms", "Tempo/Div 1,667 ms", "I=8,99 A", "E=291,1 mJ",
          "Imax=23,00 A", "Emax=1.904,4 mJ", "Pm=8,2 W", "TB=6,0 ms"}},
        // 6500 rpm (band 6000-7000 at index 15: 2.5 ms), L 10 mH, R 1 Ohm, +R 50 %, 14.5 V:
        // R_t = 1.5, tau = 6.667 ms, I_f = 9.6667 A, i_e = 9.6667 (1 - e^(-2.45 / 6.667))
        // = 2.9729 A, E = 44.19 mJ, Emax = 467.2 mJ, W = 12.18 mJ, T = 9.2308 ms, Pm = 1.32 W.
        {{.dwell = {0, 0, 0, 0, 15, 0}, .L = 100, .R = 10, .RPerc = 50, .VR = 6500, .VBatt = 145},
         {"6.500 giri/min  9,231 ms", "Tempo/Div 1,154 ms", "I=2,97 A", "E=44,2 mJ", "Imax=9,67 A",
          "Emax=467,2 mJ", "Pm=1,3 W", "TB=2,5 ms"}},
    };
    for (const auto& c : cases) {
        const std::optional<CoilSimulation> s = simulate(c.v);
        ASSERT_TRUE(s) << c.v.VR;
        const CoilFigures f = figuresOf(c.v.VR, *s, 0);
        EXPECT_EQ((std::vector<std::string>{f.LabVRT, f.LabTXDiv, f.LabIbob, f.LabE, f.LabIMax,
                                            f.LabEMax, f.LabPMed, f.LabTempoBobina}),
                  c.figures);
    }
}

TEST(CoilSimulation, NothingDividesByZero) {
    CoilValues v;
    v.VBatt = 0; // no supply: no current, but figures, not "nan"
    auto s = simulate(v);
    ASSERT_TRUE(s);
    const CoilFigures f = figuresOf(v.VR, *s, 0);
    EXPECT_EQ(f.LabIbob, "I=0,00 A");
    EXPECT_EQ(f.LabPMed, "Pm=0,0 W");

    for (auto zero : {&CoilValues::L, &CoilValues::R, &CoilValues::VR}) {
        CoilValues z;
        z.*zero = 0;
        EXPECT_FALSE(simulate(z));
    }
    EXPECT_TRUE(simulate({.L = 1, .R = 1, .VR = 1})); // the smallest values still simulate
}

TEST(CoilSimulation, NumbersInTheLanguageRoundedHalfAwayFromZero) {
    // Half away from zero in either language (grouping: the figures above).
    EXPECT_EQ(formatDecimal(0.25, 1, 0), "0,3");
    EXPECT_EQ(formatDecimal(0.25, 1, 200), "0.3");
    EXPECT_EQ(formatDecimal(0.004, 2, 0), "0,00");
    EXPECT_EQ(tenthsText(50), "5,0");
    EXPECT_EQ(tenthsText(255), "25,5");
    EXPECT_EQ(tenthsText(1), "0,1");
}

TEST(CoilGraph, CurveEndsWithTheSparkAtTheEndOfThePeriod) {
    // 1000 rpm: T = 60 ms over eight divisions of 600 twips, 80 twips per ms. The period
    // runs from the origin (400) to 5200; the 10 ms dwell from 4400 to 5200.
    CoilValues v;
    auto s = simulate(v);
    ASSERT_TRUE(s);
    CurrentGraph g = currentGraph(*s);
    EXPECT_DOUBLE_EQ(g.periodStartX, 400);
    EXPECT_DOUBLE_EQ(g.periodEndX, 5200);
    EXPECT_DOUBLE_EQ(g.dwellStartX, 4400);
    EXPECT_DOUBLE_EQ(g.dwellEndX, 5200);
    ASSERT_EQ(g.curve.size(), 200u);
    EXPECT_DOUBLE_EQ(g.curve[0].x, 4400);
    EXPECT_DOUBLE_EQ(g.curve[0].y, 6400);
    EXPECT_NEAR(g.curve[199].x, 4400 + 9.95 * 80, 1e-9);
    EXPECT_NEAR(g.curve[199].y, 6400 - 600 * 3.33075, 0.01);

    // 8000 rpm with 10 ms in the last band: the dwell is longer than the 7.5 ms period,
    // it starts at the origin and runs past the period (640 twips per ms).
    v.VR = 8000;
    v.dwell[5] = 0;
    s = simulate(v);
    ASSERT_TRUE(s);
    g = currentGraph(*s);
    EXPECT_DOUBLE_EQ(g.dwellStartX, 400);
    EXPECT_DOUBLE_EQ(g.dwellEndX, 400 + 6400);
}
