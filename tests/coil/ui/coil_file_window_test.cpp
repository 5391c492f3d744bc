#include "base/FileStore.h"
#include "base/Settings.h"
#include "coil_fixture.h"
#include <string>

using namespace base;
using namespace coil;
using namespace std::string_literals;

namespace {
void writeFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(writeFileAtomically(path, bytes).empty());
}
} // namespace

TEST_F(CoilWindowTest, NewProgramSavedAndReopenedKeepsItsValues) {
    frmProgTempoBobina* w = newCoil();
    EXPECT_FALSE(entryEnabled("mnuSalva")); // no name of its own yet
    EXPECT_TRUE(entryEnabled("mnuSalvaAs"));
    chooseDwell(w, 1, 7);
    type(w, "TextL", "7,2");
    type(w, "TextR", "0,6");
    type(w, "TextRPerc", "35");
    type(w, "TextVB", "13,8");
    type(w, "TextVR", "4500");

    const std::string path = t.path("mia.ibob");
    chooseFile(t.path("mia")); // the extension is added
    trigger("mnuSalvaAs");
    EXPECT_EQ(lastRequest.defaultSuffix, "ibob");
    EXPECT_EQ(lastRequest.selectedFilter, "Corrente Bobina (*.ibob)");
    EXPECT_EQ(w->windowTitle(), "Programmazione Impulso Bobina - mia.ibob");
    EXPECT_FALSE(w->document().modified());
    EXPECT_FALSE(w->document().untitled());
    EXPECT_TRUE(entryEnabled("mnuSalva"));
    EXPECT_EQ(t.app.RecentDoc[1].Path, path);
    EXPECT_EQ(t.app.RecentDoc[1].Kind, 12);
    EXPECT_EQ(t.app.LastDocFolder, t.folder.path().toStdString());
    EXPECT_TRUE(main->action("mnuRecentFile_1")->isVisible());

    trigger("mnuChiudi");
    EXPECT_TRUE(t.notifier.questions.empty());
    chooseFile(path);
    trigger("mnuApriIBob");
    w = coilWindow();
    ASSERT_NE(w, nullptr);
    settle(w);
    EXPECT_EQ(lastRequest.selectedFilter, "Impulso Bobina (*.ibob)");
    EXPECT_EQ(w->windowTitle(), "Programmazione Impulso Bobina - mia.ibob");
    EXPECT_EQ(w->windowNumber(), 12);
    EXPECT_FALSE(w->document().modified());
    EXPECT_FALSE(w->document().untitled());
    const int dwell[] = {0, 7, 8, 9, 10, 11};
    for (int band = 0; band < 6; ++band)
        EXPECT_EQ(combo(w, band)->currentIndex(), dwell[band]) << band;
    EXPECT_EQ(text(w, "TextL"), "7,2");
    EXPECT_EQ(text(w, "TextR"), "0,6");
    EXPECT_EQ(text(w, "TextRPerc"), "35");
    EXPECT_EQ(text(w, "TextVB"), "13,8");
    EXPECT_EQ(text(w, "TextVR"), "4500");

    // The recent entry opens it again (here: brings the open window forward).
    main->action("mnuRecentFile_1")->trigger();
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 1);
}

TEST_F(CoilWindowTest, WhatIsNoCoilProgramOpensNoWindow) {
    const std::string good = "ZEPHALON132"s + std::string(10, '\0') +
                             "\x00\x05\x08\x09\x0a\x0b\x32\x1e\x14\x03\xe8\x78"s +
                             std::string(11, '\0');
    // One refusal of the reader is enough here: the reader's own tests go through them all.
    std::string wrongSignature = good;
    wrongSignature[9] = '4';
    SettingsData defaults;
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"firma.ibob", wrongSignature}, {"ZEPHALON.iniz", newSettingsFile(defaults)}};
    for (const auto& f : files) {
        writeFile(t.path(f.name), f.bytes);
        chooseFile(t.path(f.name));
        trigger("mnuApriIBob");
        EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty()) << f.name;
    }
    EXPECT_TRUE(t.notifier.warnings.empty());
    EXPECT_EQ(t.app.RecentDoc[1].Path, "");

    writeFile(t.path("buono.ibob"), good + "and more");
    chooseFile(t.path("buono.ibob"));
    trigger("mnuApriIBob");
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 1);
}

TEST_F(CoilWindowTest, SavingOverALongerFileLeavesFortyFourBytes) {
    const std::string path = t.path("lungo.ibob");
    writeFile(path, std::string(300, 'x'));
    frmProgTempoBobina* w = newCoil();
    chooseFile(path);
    t.notifier.nextAnswer = Notifier::Answer::Yes; // replace the existing file
    trigger("mnuSalvaAs");
    EXPECT_EQ(readWholeFile(path)->size(), 44u);

    chooseDwell(w, 5, 15);
    EXPECT_TRUE(w->windowTitle().endsWith('*'));
    trigger("mnuSalva");
    const std::string file = *readWholeFile(path);
    ASSERT_EQ(file.size(), 44u);
    EXPECT_EQ(file[14], 1);  // written while modified
    EXPECT_EQ(file[17], 0);  // no longer untitled
    EXPECT_EQ(file[26], 15); // band above 7000: 2,5 ms
    EXPECT_EQ(w->windowTitle(), "Programmazione Impulso Bobina - lungo.ibob");
}
