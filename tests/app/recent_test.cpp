#include "app/RecentDocuments.h"

#include <gtest/gtest.h>

TEST(ShortenedCaption, ShortPathsStayWhole) {
    const std::string p35 = "C:\\Documenti\\Curve\\prova_1234567.cr"; // 35 characters
    ASSERT_EQ(p35.size(), 35u);
    EXPECT_EQ(shortenedCaption(p35, '\\'), p35);
    EXPECT_EQ(shortenedCaption("C:\\a.crva   ", '\\'), "C:\\a.crva");
}

TEST(ShortenedCaption, LongPathWithoutSeparator) {
    const std::string p = "abcdefghijabcdefghijabcdefghijabcdefghij"; // 40
    EXPECT_EQ(shortenedCaption(p, '\\'), "abcdefghijabcdefghijabcdefghijabcde...");
}

TEST(ShortenedCaption, KeepsTheTailAfterTheFirstSeparatorThatLeavesAtMost28) {
    // Separators at 2, 12, 21, 27, 34 of 53 characters: 25 remain after the one at 27.
    EXPECT_EQ(shortenedCaption("C:\\Programmi\\Zephalon\\Curve\\strada\\anticipo_base.crva", '\\'),
              "C:\\...\\strada\\anticipo_base.crva");
    EXPECT_EQ(shortenedCaption("/home/utente/zephalon/curve/strada/anticipo_base.crva", '/'),
              "/ho.../strada/anticipo_base.crva");
    // Exactly 28 after a separator qualifies, 29 does not.
    const std::string name28(28, 'n');
    EXPECT_EQ(shortenedCaption("C:\\cartella\\" + name28, '\\'), "C:\\...\\" + name28);
    EXPECT_EQ(shortenedCaption("C:\\cartella\\a" + name28, '\\'),
              "C:\\...\\a" + std::string(24, 'n') + "...");
}

TEST(ShortenedCaption, LastNameTooLongKeepsItsBeginning) {
    // The last name has 40 characters; its first 25 are shown.
    EXPECT_EQ(shortenedCaption("C:\\Misure\\rotazione_prova_su_strada_numero_12.mrot", '\\'),
              "C:\\...\\rotazione_prova_su_strada...");
}

TEST(RecentDocuments, MostRecentFirstWithoutDuplicatesNineAtMost) {
    AppState app;
    addRecentDocument(app, "C:\\a.crva", 2, 10, 20, 300, 400);
    addRecentDocument(app, "C:\\b.ibob", 12, 0, 0, 0, 0);
    addRecentDocument(app, "C:\\c.mrot", 33, 0, 0, 0, 0);
    addRecentDocument(app, "C:\\a.crva", 2, -50, 60, 700, 800);
    addRecentDocument(app, "   ", 2, 0, 0, 0, 0);
    EXPECT_EQ(app.RecentDoc[1].Path, "C:\\a.crva");
    EXPECT_EQ(app.RecentDoc[1].Left, -50);
    EXPECT_EQ(app.RecentDoc[1].Top, 60);
    EXPECT_EQ(app.RecentDoc[1].SizeA, 700);
    EXPECT_EQ(app.RecentDoc[1].SizeB, 800);
    EXPECT_EQ(app.RecentDoc[2].Path, "C:\\c.mrot");
    EXPECT_EQ(app.RecentDoc[3].Path, "C:\\b.ibob");
    EXPECT_EQ(app.RecentDoc[3].Kind, 12);
    EXPECT_TRUE(app.RecentDoc[4].Path.empty());

    for (int i = 1; i <= 9; ++i)
        addRecentDocument(app, "C:\\doc" + std::to_string(i) + ".crva", 2, 0, 0, 0, 0);
    EXPECT_EQ(app.RecentDoc[1].Path, "C:\\doc9.crva");
    EXPECT_EQ(app.RecentDoc[9].Path, "C:\\doc1.crva");
    EXPECT_TRUE(app.RecentDoc[0].Path.empty());
}

TEST(RecentDocuments, AnUnusedEntryInTheMiddleIsFilledFirst) {
    AppState app;
    app.RecentDoc[1].Path = "C:\\a.crva";
    app.RecentDoc[3].Path = "C:\\b.crva";
    addRecentDocument(app, "C:\\c.crva", 2, 0, 0, 0, 0);
    EXPECT_EQ(app.RecentDoc[1].Path, "C:\\c.crva");
    EXPECT_EQ(app.RecentDoc[2].Path, "C:\\a.crva");
    EXPECT_EQ(app.RecentDoc[3].Path, "C:\\b.crva");
}

TEST(RecentDocuments, MenuCaptionsStopAtTheFirstUnusableEntry) {
    AppState app;
    app.RecentDoc[1].Path = "C:\\a\\uno.crva";
    app.RecentDoc[2].Path = "C:\\Programmi\\Zephalon\\Curve\\strada\\anticipo_base.crva";
    app.RecentDoc[3].Path = "C:\\a"; // no fifth character
    app.RecentDoc[4].Path = "C:\\d\\quattro.crva";
    const auto captions = recentMenuCaptions(app, '\\');
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_EQ(captions[0], "  &1  C:\\a\\uno.crva");
    EXPECT_EQ(captions[1], "  &2  C:\\...\\strada\\anticipo_base.crva");

    for (int i = 1; i <= 9; ++i)
        app.RecentDoc[i].Path = "C:\\file" + std::to_string(i);
    const auto nine = recentMenuCaptions(app, '\\');
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine[8], "  &9  C:\\file9");
}

TEST(RecentDocuments, KindFollowsTheWindowNumber) {
    EXPECT_EQ(recentDocumentKind(6), 2);
    EXPECT_EQ(recentDocumentKind(21), 12);
    EXPECT_EQ(recentDocumentKind(22), 22);
    EXPECT_EQ(recentDocumentKind(25), 25);
    EXPECT_EQ(recentDocumentKind(33), 33);
    EXPECT_EQ(recentDocumentKind(1), 0);
    EXPECT_EQ(recentDocumentKind(38), 0);
}
