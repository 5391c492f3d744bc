#include "base/RecentDocuments.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace base;

namespace {
std::string repeated(const std::string& letter, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += letter;
    return out;
}

using Paths = std::vector<std::string>;

// The paths of entries 1 to n.
Paths paths(const AppState& app, int n) {
    Paths out;
    for (int i = 1; i <= n; ++i)
        out.push_back(app.RecentDoc[i].Path);
    return out;
}
} // namespace

TEST(ShortenedCaption, ShortPathsWholeLongOnesCutAtASeparatorOrAtTheirName) {
    const std::string name28(28, 'n');
    const std::string e = "\u00e8"; // two bytes in UTF-8: lengths count letters
    const struct {
        std::string path;
        char separator;
        std::string caption;
    } cases[] = {
        // 35 characters
        {"C:\\Documenti\\Curve\\prova_1234567.cr", '\\', "C:\\Documenti\\Curve\\prova_1234567.cr"},
        {"C:\\a.crva   ", '\\', "C:\\a.crva"},
        {"abcdefghijabcdefghijabcdefghijabcdefghij", '\\',
         "abcdefghijabcdefghijabcdefghijabcde..."},
        // Separators at 2, 12, 21, 27, 34 of 53 characters: 25 remain after the one at 27.
        {"C:\\Programmi\\Zephalon\\Curve\\strada\\anticipo_base.crva", '\\',
         "C:\\...\\strada\\anticipo_base.crva"},
        {"/home/utente/zephalon/curve/strada/anticipo_base.crva", '/',
         "/ho.../strada/anticipo_base.crva"},
        // Exactly 28 after a separator qualifies, 29 does not.
        {"C:\\cartella\\" + name28, '\\', "C:\\...\\" + name28},
        {"C:\\cartella\\a" + name28, '\\', "C:\\...\\a" + std::string(24, 'n') + "..."},
        {"/" + repeated(e, 34), '/', "/" + repeated(e, 34)},
        {"/m/" + repeated(e, 40), '/', "/m/.../" + repeated(e, 25) + "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shortenedCaption(c.path, c.separator), c.caption) << c.path;
}

TEST(RecentDocuments, MostRecentFirstWithoutDuplicatesNineAtMost) {
    AppState app;
    addRecentDocument(app, "C:\\a.crva", 2, 10, 20, 300, 400);
    addRecentDocument(app, "C:\\b.ibob", 12, 0, 0, 0, 0);
    addRecentDocument(app, "C:\\c.mrot", 33, 0, 0, 0, 0);
    addRecentDocument(app, "C:\\a.crva", 2, -50, 60, 700, 800);
    addRecentDocument(app, "   ", 2, 0, 0, 0, 0);
    const RecentDocument& a = app.RecentDoc[1];
    EXPECT_EQ(paths(app, 4), (Paths{"C:\\a.crva", "C:\\c.mrot", "C:\\b.ibob", ""}));
    EXPECT_EQ(std::tuple(a.Left, a.Top, a.SizeA, a.SizeB), std::tuple(-50, 60, 700, 800));
    EXPECT_EQ(app.RecentDoc[3].Kind, 12);

    for (int i = 1; i <= 9; ++i)
        addRecentDocument(app, "C:\\doc" + std::to_string(i) + ".crva", 2, 0, 0, 0, 0);
    EXPECT_EQ(app.RecentDoc[1].Path, "C:\\doc9.crva");
    EXPECT_EQ(app.RecentDoc[9].Path, "C:\\doc1.crva");
    EXPECT_TRUE(app.RecentDoc[0].Path.empty());

    // An unused entry in the middle is filled first; a path of four characters is unused,
    // one of five is listed.
    app = AppState{};
    app.RecentDoc[1].Path = "C:\\a.crva";
    app.RecentDoc[2].Path = "C:\\ab";
    app.RecentDoc[3].Path = "C:\\a";
    app.RecentDoc[4].Path = "C:\\b.crva";
    addRecentDocument(app, "C:\\c.crva", 2, 0, 0, 0, 0);
    EXPECT_EQ(paths(app, 5), (Paths{"C:\\c.crva", "C:\\a.crva", "C:\\ab", "C:\\b.crva", ""}));

    // Removing closes the gap; an entry outside 1-9 removes nothing.
    removeRecentDocument(app, 0);
    removeRecentDocument(app, 10);
    removeRecentDocument(app, 1);
    EXPECT_EQ(paths(app, 4), (Paths{"C:\\a.crva", "C:\\ab", "C:\\b.crva", ""}));
    app.RecentDoc[9].Path = "C:\\nine";
    removeRecentDocument(app, 9);
    EXPECT_TRUE(app.RecentDoc[9].Path.empty());
}

TEST(RecentDocuments, KindIsTheFirstWindowNumberOfItsDocumentKind) {
    const std::pair<int, int> cases[] = {{2, 2},   {11, 2},  {12, 12}, {21, 12}, {22, 22},
                                         {25, 25}, {33, 33}, {1, 0},   {23, 0},  {34, 0}};
    for (const auto& [winNo, kind] : cases)
        EXPECT_EQ(recentDocumentKind(winNo), kind) << winNo;
}

TEST(RecentDocuments, MenuCaptionsStopAtTheFirstUnusableEntry) {
    AppState app;
    app.RecentDoc[1].Path = "C:\\a\\uno.crva";
    app.RecentDoc[2].Path = "C:\\Programmi\\Zephalon\\Curve\\strada\\anticipo_base.crva";
    app.RecentDoc[3].Path = "C:\\ab";   // exactly five characters: listed
    app.RecentDoc[4].Path = "C:\\a   "; // no fifth character once trimmed: the list ends
    app.RecentDoc[5].Path = "C:\\d\\quattro.crva";
    EXPECT_EQ(recentMenuCaptions(app, '\\'),
              (Paths{"  &1  C:\\a\\uno.crva", "  &2  C:\\...\\strada\\anticipo_base.crva",
                     "  &3  C:\\ab"}));
    for (int i = 1; i <= 9; ++i)
        app.RecentDoc[i].Path = "C:\\file" + std::to_string(i);
    const auto nine = recentMenuCaptions(app, '\\');
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine[8], "  &9  C:\\file9");
}
