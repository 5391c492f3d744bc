#include "base/MenuCaptions.h"
#include "base/MenuTable.h"
#include "base/Texts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

using namespace base;

namespace {
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

TEST(MenuTable, EveryNameOnceEveryParentAMenuListedBeforeItCaptionsInTheLanguageInUse) {
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
    // Every command has a caption, and no two entries of one menu read the same, in either
    // language; lines, lists and windows have none of their own.
    std::set<std::tuple<std::string_view, int, std::string>> shown;
    for (const base::Entry& e : base::entries())
        for (int lang : {0, 200}) {
            const std::string c = base::caption(e, Texts{lang});
            EXPECT_EQ(c.empty(), e.item >= base::Item::Separator) << e.name << " " << lang;
            EXPECT_TRUE(c.empty() || shown.emplace(e.parent, lang, c).second) << e.name << lang;
            if (!e.parent.empty()) {
                EXPECT_NE(c, base::caption(entry(e.parent), Texts{lang})) << e.name;
            }
        }
    // Captions come from the string table or the design, in the language in use.
    EXPECT_EQ(base::caption(entry("mnuInfo"), Texts{0}), "Informazioni su ZEPHALON");
    EXPECT_EQ(base::caption(entry("mnuChiudi"), Texts{0}), "&Chiudi");
    EXPECT_EQ(base::caption(entry("mnuSalvaAs"), Texts{200}), "Save &As...");
    EXPECT_EQ(base::showing("frmMisRot"), &entry("mnuMisRot"));
    // Design texts filled in both languages are checked where they are shown (transfer
    // progress, the no-data notice); a number without a field stays as it is.
    EXPECT_EQ(designText("transferDoneCurve", 0, {"1"}),
              "Curva 1 scritta in %2 e verificata in %3");
}

TEST(MenuTable, NumberedWindowsTakeTheLowestFreeNumberSingleOnesComeForward) {
    std::array<WindowRecord, 44> records{};
    std::vector<base::OpenWindow> open;
    // What is planned, with the number to create or the place of the window brought forward.
    auto planned = [&](const char* e) {
        const Opening p = base::planOpening(entry(e), records, open);
        const bool forward = p.what == Opening::What::BringForward;
        return std::pair(p.what, forward ? static_cast<int>(p.at) : p.number);
    };
    using W = Opening::What;
    for (int n = 2; n <= 4; ++n)
        records[n].State = 1;
    EXPECT_EQ(planned("mnuNuovoCrva"), std::pair(W::Create, 5));
    // A coil window is not hindered by the open curve windows.
    EXPECT_EQ(planned("mnuProgTempoBobina"), std::pair(W::Create, 12));

    for (int n = 5; n <= 11; ++n)
        records[n].State = n == 8 ? 2 : 1; // minimised counts as open
    for (const char* e : {"mnuProgCurva", "mnuNuovoCrva", "mnuApriCrva"})
        EXPECT_EQ(planned(e).first, W::Refused) << e;
    records[7].State = 0;
    EXPECT_EQ(planned("mnuProgCurva"), std::pair(W::Create, 7));

    // A single window comes forward by its number or, without one, by its entry: the rotation
    // window opened from a file is the one the View entry brings forward, and another window
    // without a record is not the timer.
    open = {{22, "mnuPannelloControllo"}, {0, "mnuTimerExact"}, {33, "mnuApriMrot"}};
    EXPECT_EQ(planned("mnuMisRot"), std::pair(W::BringForward, 2));
    EXPECT_EQ(planned("mnuTimerExact"), std::pair(W::BringForward, 1));
    EXPECT_EQ(planned("mnuUnitaSimulata"), std::pair(W::Create, 0));
    EXPECT_EQ(planned("mnuMisAnt"), std::pair(W::Create, 25));
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
