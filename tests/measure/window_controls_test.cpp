#include "measure/AdvanceControls.h"
#include "measure/RotationControls.h"
#include "measure/RowSelection.h"
#include <gtest/gtest.h>
#include <string>

using namespace measure;

// The rotation window's buttons from its situation: Start/Stop, the views, the sweep options.
TEST(RotationControls, CaptionsEnablesAndViewsFollowTheSituation) {
    RotationSituation s; // stopped, data view, live display on, synchronised on Tc
    RotationControls c = rotationControls(s);
    EXPECT_EQ(std::string(c.ComStop), "Start");
    EXPECT_TRUE(c.ComNuovaMisuraEnabled && c.ComDatiEstEnabled && c.ComEsportaEnabled);
    EXPECT_FALSE(c.ComSospendiEnabled || c.ComSalvaEnabled || c.saveEntries);
    EXPECT_TRUE(c.List1 && c.Label1 && !c.Text1 && !c.graph && !c.ComScanAutoEnabled);

    s.saveOffered = true; // after the first Stop
    EXPECT_TRUE(rotationControls(s).ComSalvaEnabled && rotationControls(s).saveEntries);

    s.acquiring = true; // recording: the live text replaces the list, nothing to save or export
    s.suspended = true;
    s.liveDisplay = false;
    c = rotationControls(s);
    EXPECT_EQ(std::string(c.ComStop), "Stop");
    EXPECT_EQ(std::string(c.ComSospendi), "Continua");
    EXPECT_EQ(std::string(c.ComAttiva), "Attiva");
    EXPECT_TRUE(c.ComSospendiEnabled && c.Text1 && !c.List1);
    EXPECT_FALSE(c.ComSalvaEnabled || c.ComNuovaMisuraEnabled || c.ComDatiEstEnabled ||
                 c.ComEsportaEnabled);

    s.view = RotationView::Extended; // the extended table only while stopped
    EXPECT_FALSE(rotationControls(s).ListEst);
    s.acquiring = false;
    c = rotationControls(s);
    EXPECT_TRUE(c.ListEst && !c.List1 && !c.Label1);
    EXPECT_EQ(std::string(c.ComDatiEst), "Dati");
    EXPECT_EQ(std::string(c.ComSospendi), "Sos&pendi"); // "Continua" only while recording

    s.view = RotationView::Graph;
    s.scanAuto = true;
    s.syncTc = false;
    c = rotationControls(s);
    EXPECT_TRUE(c.graph && c.ComScanAutoEnabled && !c.List1 && !c.ListEst);
    EXPECT_EQ(std::string(c.ComDatiGrafico), "Dati");
    EXPECT_EQ(std::string(c.ComScanAuto), "Normale");
    EXPECT_EQ(std::string(c.ComSincTc), "Sinc Ib");
}

// The advance window's: the table or the live text under the header, or the diagram; the
// check's button waits while a curve is read back from the unit.
TEST(AdvanceControls, CaptionsEnablesAndViewsFollowTheSituation) {
    AdvanceSituation s;
    AdvanceControls c = advanceControls(s);
    EXPECT_EQ(std::string(c.ComStop), "Start");
    EXPECT_TRUE(c.List1 && c.LabIntestazione && !c.Text1 && !c.graph && !c.ListScarti);
    EXPECT_TRUE(c.ComSalvaEnabled && c.ComEsportaEnabled && c.ComNuovaMisuraEnabled);
    EXPECT_FALSE(c.ComSospendiEnabled);
    s.suspended = true; // "Continua" only while recording
    EXPECT_EQ(std::string(advanceControls(s).ComSospendi), "Sospendi");

    s.acquiring = true;
    s.liveDisplay = false;
    s.readingBack = true;
    s.checking = true;
    c = advanceControls(s);
    EXPECT_EQ(std::string(c.ComStop), "Stop");
    EXPECT_EQ(std::string(c.ComSospendi), "Continua");
    EXPECT_EQ(std::string(c.ComAttiva), "Attiva");
    EXPECT_TRUE(c.Text1 && !c.List1 && c.ComSospendiEnabled && c.ListScarti);
    EXPECT_FALSE(c.ComSalvaEnabled || c.ComEsportaEnabled || c.ComNuovaMisuraEnabled ||
                 c.ComVerificaEnabled);

    s.graph = true;
    c = advanceControls(s);
    EXPECT_EQ(std::string(c.ComDatiGrafico), "Dati");
    EXPECT_TRUE(c.graph && !c.Text1 && !c.List1 && !c.LabIntestazione);
}

// The advance window's view of the rotation window's rows: from where it began following,
// less what came while it was suspended.
TEST(RowSelection, FollowsLeavesOutPausedStretchesAndShowsAllOnRequest) {
    EXPECT_EQ(RowSelection().size(), 0u); // following nothing yet
    RowStore store(2);
    store.append("r1");
    RowSelection sel;
    sel.follow(store);
    EXPECT_EQ(sel.size(), 0u);
    store.append("r2");
    store.append("r3");
    sel.pause();
    sel.pause(); // twice is once
    store.append("r4");
    sel.resume();
    store.append("r5");
    sel.pause(); // a stretch of one row
    store.append("r6");
    EXPECT_EQ(sel.size(), 3u); // nothing counted while paused
    sel.resume();
    store.append("r7");
    sel.resume(); // twice is once: r7 stays
    store.append("r8");
    ASSERT_EQ(sel.size(), 5u);
    const char* const shown[] = {"r2", "r3", "r5", "r7", "r8"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(sel.row(i), shown[i]) << i;

    sel.clear(); // a new measurement: nothing shown, the rows to come are
    store.append("r9");
    ASSERT_EQ(sel.size(), 1u);
    EXPECT_EQ(sel.row(0), "r9");

    sel.showAll(store);
    ASSERT_EQ(sel.size(), 9u);
    EXPECT_EQ(sel.row(0), "r1");
    EXPECT_EQ(sel.row(8), "r9");
}
