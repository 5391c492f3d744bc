#include "base/MenuTable.h"
#include "base/Texts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace base;

namespace {
using base::Moment;
using base::Opening;

const base::Entry& entry(std::string_view name) {
    const base::Entry* e = base::find(name);
    EXPECT_NE(e, nullptr) << name;
    return *e;
}

std::map<std::string, bool> enablesAt(Moment moment, const base::Situation& s) {
    std::map<std::string, bool> out;
    for (const auto& [name, on] : base::enables(moment, s))
        out[std::string(name)] = on;
    return out;
}
} // namespace

TEST(MenuTable, EveryNameOnceAndEveryParentAMenuListedBeforeIt) {
    std::set<std::string_view> names;
    std::set<std::string_view> menus;
    for (const base::Entry& e : base::entries()) {
        if (!e.name.empty()) {
            EXPECT_TRUE(names.insert(e.name).second) << e.name;
        }
        if (!e.parent.empty()) {
            EXPECT_TRUE(menus.count(e.parent)) << e.name << " in " << e.parent;
        }
        if (e.item == base::Item::Menu) menus.insert(e.name);
    }
}

TEST(MenuTable, CurveAndCoilWindowsTakeTheLowestFreeNumberAndTheEleventhIsRefused) {
    std::array<WindowRecord, 44> records{};
    const std::vector<base::OpenWindow> none;
    for (int n = 2; n <= 4; ++n)
        records[n].State = 1;
    Opening plan = base::planOpening(entry("mnuNuovoCrva"), records, none);
    EXPECT_EQ(plan.what, Opening::What::Create);
    EXPECT_EQ(plan.number, 5);
    // A coil window is not hindered by the open curve windows.
    EXPECT_EQ(base::planOpening(entry("mnuProgTempoBobina"), records, none).number, 12);

    for (int n = 5; n <= 11; ++n)
        records[n].State = n == 8 ? 2 : 1; // minimised counts as open
    for (const char* e : {"mnuProgCurva", "mnuNuovoCrva", "mnuApriCrva"})
        EXPECT_EQ(base::planOpening(entry(e), records, none).what, Opening::What::Refused) << e;
    records[7].State = 0;
    EXPECT_EQ(base::planOpening(entry("mnuProgCurva"), records, none).number, 7);
}

TEST(MenuTable, ASingleWindowComesForwardByItsNumberOrWithoutOneByItsEntry) {
    const std::array<WindowRecord, 44> records{};
    const std::vector<base::OpenWindow> open{
        {22, "mnuPannelloControllo"}, {0, "mnuTimerExact"}, {33, "mnuApriMrot"}};
    // The rotation window opened from a file is the one the View entry brings forward.
    Opening plan = base::planOpening(entry("mnuMisRot"), records, open);
    EXPECT_EQ(plan.what, Opening::What::BringForward);
    EXPECT_EQ(plan.at, 2u);
    plan = base::planOpening(entry("mnuTimerExact"), records, open);
    EXPECT_EQ(plan.what, Opening::What::BringForward);
    EXPECT_EQ(plan.at, 1u);
    // Another window without a record is not the timer.
    plan = base::planOpening(entry("mnuUnitaSimulata"), records, open);
    EXPECT_EQ(plan.what, Opening::What::Create);
    EXPECT_EQ(plan.number, 0);
    plan = base::planOpening(entry("mnuMisAnt"), records, open);
    EXPECT_EQ(plan.what, Opening::What::Create);
    EXPECT_EQ(plan.number, 25);
}

TEST(MenuTable, EnablesFollowLoadingTheActiveWindowAndFreeNumbers) {
    std::array<WindowRecord, 44> records{};
    base::Situation s;
    s.records = &records;
    s.registered = [](std::string_view e) {
        return e == "mnuProgCurva" || e == "mnuNuovoCrva" || e == "mnuApriCrva";
    };
    auto at = enablesAt(Moment::Load, s);
    for (const char* e : {"mnuProgCurva", "mnuNuovoCrva", "mnuApriCrva"})
        EXPECT_TRUE(at.at(e)) << e;
    for (const char* e : {"mnuMisRot", "mnuNuovoIBob", "mnuChiudi", "mnuModifica", "mnuWindow",
                          "mnuSalva", "mnuSalvaAs", "mnuStampa", "mnuEsportaPdf"})
        EXPECT_FALSE(at.at(e)) << e;
    EXPECT_FALSE(at.count("mnuGuida")); // always offered, never changed
    EXPECT_FALSE(at.count("mnuMIDIThru"));

    // A measurement being recorded is active: Save As only, and it prints.
    s.childCount = 1;
    s.activeSavesAs = true;
    s.activeSheet = true;
    at = enablesAt(Moment::Activated, s);
    EXPECT_FALSE(at.at("mnuSalva"));
    for (const char* e :
         {"mnuSalvaAs", "mnuStampa", "mnuEsportaPdf", "mnuChiudi", "mnuModifica", "mnuWindow"})
        EXPECT_TRUE(at.at(e)) << e;
    EXPECT_FALSE(at.count("mnuProgCurva"));

    // Ten curve windows open: new and open curve are withdrawn, the View entry stays.
    for (int n = 2; n <= 11; ++n)
        records[n].State = 1;
    at = enablesAt(Moment::Opened, s);
    EXPECT_FALSE(at.at("mnuNuovoCrva"));
    EXPECT_FALSE(at.at("mnuApriCrva"));
    EXPECT_FALSE(at.count("mnuProgCurva"));
    EXPECT_FALSE(at.count("mnuSalvaAs"));

    // One closes, another window is still open: the active window's entries wait for the
    // next activation.
    records[6].State = 0;
    at = enablesAt(Moment::Unloaded, s);
    EXPECT_TRUE(at.at("mnuNuovoCrva"));
    EXPECT_TRUE(at.at("mnuModifica"));
    EXPECT_FALSE(at.at("mnuChiudi"));
    EXPECT_FALSE(at.at("mnuSalvaAs"));
}

TEST(MenuTable, CaptionsFromTheStringTableOrTheDesignInTheLanguageInUse) {
    EXPECT_EQ(base::caption(entry("mnuInfo"), Texts{0}), "Informazioni su ZEPHALON");
    EXPECT_EQ(base::caption(entry("mnuChiudi"), Texts{0}), "&Chiudi");
    EXPECT_EQ(base::caption(entry("mnuSalvaAs"), Texts{200}), "Save &As...");
    EXPECT_EQ(base::showing("frmMisRot"), &entry("mnuMisRot"));
}
