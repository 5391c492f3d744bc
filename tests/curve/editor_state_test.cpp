#include "curve/CurveEditorState.h"
#include <gtest/gtest.h>

using namespace curve;

namespace {
// A document read from a file with curve 1 drawn, curve 1 selected.
CurveEditorState openedWithCurveOne() {
    CurveEditorState s;
    s.fromFile = true;
    s.hasSegment = {false, true, false};
    return s;
}
} // namespace

TEST(CurveEditorState, ANewDocumentOffersOnlyDrawingUntilACurveHasASegment) {
    CurveEditorState s; // new, nothing drawn
    CurveEditorEnables e = s.enables();
    EXPECT_FALSE(e.ComSalva || e.ComCancella || e.ComAnnulla || e.ComProg || e.ComApplica);
    EXPECT_FALSE(e.ComCrva[0] || e.ComCrva[1] || e.ComCrva[2]);
    EXPECT_TRUE(e.Picture1 && e.TextVRM && e.ComboCA && e.ComNote);
    EXPECT_EQ(s.showCaption(0), "AGG 0");
    EXPECT_FALSE(s.shown(0));

    s.edited = true;
    s.hasSegment = {true, false, false}; // curve 0 alone goes nowhere
    s.selected = 1;
    e = s.enables();
    EXPECT_TRUE(e.ComSalva && e.ComCrva[0]);
    EXPECT_FALSE(e.ComProg || e.ComCancella || e.ComCrva[1]);
    s.hasSegment[2] = true;
    EXPECT_TRUE(s.enables().ComProg);
    s.selected = 2; // the selected curve has no show button
    EXPECT_FALSE(s.enables().ComCrva[2]);
    EXPECT_TRUE(s.enables().ComCancella);
    s.shownBeside[0] = true;
    EXPECT_EQ(s.showCaption(0), "CANC 0");
    EXPECT_TRUE(s.shown(0) && s.shown(2) && !s.shown(1));
}

TEST(CurveEditorState, MdxAndMsxOnlyInProgrammingModeWithCurveOneTwoOrBothChosen) {
    CurveEditorState s = openedWithCurveOne();
    EXPECT_FALSE(s.enables().ComProgMaster); // PROG ON not pressed
    s.progAsked = true;
    EXPECT_STREQ(s.progCaption(), "PROG OFF");
    EXPECT_FALSE(s.enables().ComProgMaster); // the unit has not answered
    s.programming = true;
    EXPECT_TRUE(s.enables().ComProgMaster && s.enables().ComProgSlave);
    s.choice = 0;
    EXPECT_FALSE(s.enables().ComProgMaster || s.enables().ComProgSlave);
    s.choice = 12;
    EXPECT_TRUE(s.enables().ComProgSlave);
    s.progAsked = false; // PROG OFF pressed; the link may still report the mode
    EXPECT_FALSE(s.enables().ComProgMaster);
    EXPECT_STREQ(s.progCaption(), "PROG ON");
}

TEST(CurveEditorState, ATransferFreezesTheDocumentButNotProgOffALockOnlyClearing) {
    CurveEditorState s = openedWithCurveOne();
    s.hasSegment = {true, true, true};
    s.progAsked = s.programming = true;
    s.transferring = true;
    const CurveEditorEnables e = s.enables();
    EXPECT_FALSE(e.ComSalva || e.ComCancella || e.ComAnnulla || e.ComNote);
    EXPECT_FALSE(e.ComCrva[0] || e.ComCrva[2]);
    EXPECT_FALSE(e.Picture1 || e.TextVRM || e.ComboCA || e.ComProgMaster || e.ComProgSlave);
    EXPECT_TRUE(e.ComProg); // the way to cancel
    // A transfer that ends gives back what was there before it.
    s.transferring = false;
    EXPECT_TRUE(s.enables().ComSalva && s.enables().ComCancella && s.enables().ComCrva[2]);
    // A locked document cannot be cleared, but is saved and transferred.
    s.locked = true;
    EXPECT_FALSE(s.enables().ComCancella || s.enables().ComAnnulla);
    EXPECT_TRUE(s.enables().ComSalva && s.enables().ComProg);
    // PROG ON is offered for a file as it was read, and PROG OFF once asked, drawn or not.
    CurveEditorState read;
    read.fromFile = true;
    CurveEditorState asked;
    asked.progAsked = true;
    EXPECT_TRUE(read.enables().ComProg && asked.enables().ComProg);
}

// 12.5 degrees at 1,500 rpm: 12.5 / 360 x 60 / 1500 s = 1,388.9 us, / 3.2 us = 434 counts.
TEST(CurveReadout, NamesItsFourNumbersWithUnitsInTheLanguage) {
    Curve flat; // 12.5 degrees from 1,000 to 2,000 rpm
    flat.points[0] = {600, 1500};
    flat.points[1] = {1800, 1500};
    flat.CurveLastPoint = 1;
    BuildCurveTable(flat);
    const Readout r = readoutAt(flat, GraphX0 + 1200, GraphY0 - 1500);
    EXPECT_EQ(r.rpm, 1500);
    EXPECT_DOUBLE_EQ(r.degrees, 12.5);
    EXPECT_EQ(r.count, 434);
    EXPECT_EQ(r.stored, 434);
    EXPECT_EQ(readoutText(r, 0), "1.500 giri/min | 12,5\u00B0 | conteggio 434 | in tabella 434");
    EXPECT_EQ(readoutText(r, 200), "1,500 rpm | 12.5\u00B0 | count 434 | in table 434");
    // Off the curve's span the table holds nothing.
    EXPECT_EQ(readoutAt(flat, GraphX0 + 6600, GraphY0 - 3000).stored, 0);
}
