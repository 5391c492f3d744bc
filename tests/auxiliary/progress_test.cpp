#include "auxiliary/AboutPlacement.h"
#include "auxiliary/ProgressPlacement.h"
#include "auxiliary/TransferProgress.h"
#include <gtest/gtest.h>

using namespace auxiliary;

TEST(ProgressPlacement, LargerThanTheActiveChildGoesAboveAndLeftOfIt) {
    // The half-twip case is worked through the window in about_test.
    const TwipRect r = progressPlacement({100, 200, 1000, 500}, 4800, 1050);
    EXPECT_DOUBLE_EQ(r.Top, 100 + 250 - 525);   // -175
    EXPECT_DOUBLE_EQ(r.Left, 200 + 500 - 2400); // -1700
}

TEST(AboutPlacement, DifferencesTruncatedThenHalvedWithIntegerDivision) {
    // 12601.5 -> 12601 -> 6300; 10800.9 -> 10800 -> 5400
    const AboutOrigin o = aboutPlacement(18001.5, 13500.9, 5400, 2700);
    EXPECT_EQ(o.Left, 6300);
    EXPECT_EQ(o.Top, 5400);
    // A client smaller than the box: -401 \ 2 = -200 (towards zero)
    EXPECT_EQ(aboutPlacement(5000, 2000, 5401, 2700).Left, -200);
    EXPECT_EQ(aboutPlacement(5000, 2000, 5401, 2700).Top, -350);
}

TEST(TransferProgress, PhasePercentTimeLeftAndTheReportInBothLanguages) {
    TransferProgress p;
    p.start(217);
    EXPECT_EQ(transferProgressText(p, 0), "0%"); // no pace yet
    p.done = 216;
    p.elapsedMs = 17520;
    EXPECT_EQ(p.percent(), 99); // whole per cent, never rounded up to 100
    EXPECT_EQ(transferProgressText(p, 200), "99% - 1 s left"); // 81.1 ms rounded up
    p.done = 3;
    p.elapsedMs = 300;
    EXPECT_EQ(transferProgressText(p, 0), "1% - mancano 22 s"); // 100 ms x 214, up
    // 1 step of 101 done: 100 left at its pace; minutes from 60 s, seconds in two digits.
    p.start(101);
    p.done = 1;
    for (auto [ms, text] : {std::pair{590L, "0% - mancano 59 s"},
                            {600L, "0% - mancano 1 min 00 s"},
                            {690L, "0% - mancano 1 min 09 s"},
                            {700L, "0% - mancano 1 min 10 s"}}) {
        p.elapsedMs = ms;
        EXPECT_EQ(transferProgressText(p, 0), text) << ms;
    }

    const TransferSubject msx{TransferSubject::Kind::Curve, 2, false};
    EXPECT_EQ(transferPhaseText(msx, false, 0), "Scrittura curva 2 in MSX");
    EXPECT_EQ(transferPhaseText(msx, false, 200), "Writing curve 2 into MSX");
    EXPECT_EQ(transferPhaseText(msx, true, 200), "Verifying curve 2 in MSX");
    const TransferSubject both{TransferSubject::Kind::Curve, 12, true};
    EXPECT_EQ(transferDoneText(both, 35040, 0),
              "Curve 1 e 2 scritte in MDX e verificate in 35,0 s");
    EXPECT_EQ(transferDoneText(both, 35060, 200),
              "Curves 1 and 2 written into MDX and verified in 35.1 s");
    const TransferSubject coil{TransferSubject::Kind::CoilPulse, 0, false};
    EXPECT_EQ(transferPhaseText(coil, true, 0), "Verifica impulso bobina in MSX");
    EXPECT_EQ(transferDoneText(coil, 1500, 200),
              "Coil pulse written into MSX and verified in 1.5 s");
}
