#include "base/AppState.h"
#include "base/DocumentKinds.h"
#include "base/MonthNames.h"
#include "base/PathNames.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace base;

// Both separators split a path, so a Windows path splits the same on every platform.
TEST(PathNames, NameFolderExtensionBaseAndAnotherExtensionOfWindowsAndPosixPaths) {
    EXPECT_EQ(fileNameOf("C:\\Misure\\giro.mrot"), "giro.mrot");
    EXPECT_EQ(fileNameOf("/home/u/curva.crva"), "curva.crva");
    EXPECT_EQ(fileNameOf("note.txt"), "note.txt");
    EXPECT_EQ(folderOf("C:\\Misure\\giro.mrot"), "C:\\Misure");
    EXPECT_EQ(folderOf("/giro.mrot"), "/");
    EXPECT_EQ(folderOf("giro.mrot"), "");

    EXPECT_EQ(extensionOf("C:\\Curve\\A.CRVA"), "crva");
    EXPECT_EQ(extensionOf("/dati.v2/giro"), ""); // the dot is the folder's
    EXPECT_EQ(extensionOf("/dati/.crva"), "crva");

    // A path of a measurement record is blank-padded to its field.
    EXPECT_EQ(baseNameOf(withoutTrailingBlanks("C:\\M\\Misura-6dic26-154102.mrot   ")),
              "Misura-6dic26-154102");
    EXPECT_EQ(withoutTrailingBlanks("    "), "");
    // Another extension replaces the own or is added.
    EXPECT_EQ(withExtension("/m/giro.mrot", "csv"), "/m/giro.csv");
    EXPECT_EQ(withExtension("/dati.v2/giro", "csv"), "/dati.v2/giro.csv");
    EXPECT_EQ(withExtension("/m/.profilo", "pdf"), "/m/.profilo.pdf");

    // The program's own files in the folder it starts in; a root ends with its separator
    // already, an empty folder is the current one.
    AppState app;
    for (auto [folder, separator, settings] : {std::tuple{"/d", '/', "/d/ZEPHALON.iniz"},
                                               {"/", '/', "/ZEPHALON.iniz"},
                                               {"C:\\", '\\', "C:\\ZEPHALON.iniz"},
                                               {"", '/', "ZEPHALON.iniz"}}) {
        app.setAppFolder(folder, separator);
        EXPECT_EQ(app.SettingsPath, settings) << folder;
    }
}

TEST(MonthNames, ItalianOrEnglishThreeLetters) {
    EXPECT_EQ(monthAbbreviation(1), "gen");
    EXPECT_EQ(monthAbbreviation(5, 1), "mag");
    EXPECT_EQ(monthAbbreviation(5, 2), "may");
    EXPECT_EQ(monthAbbreviation(12, 2), "dec");
}

// Window numbers: 2-11 curves, 12-21 coil programs, 22 panel, 25 advance, 33 rotation.
TEST(DocumentKinds, FoundByWindowAndByExtension) {
    EXPECT_EQ(documentKindOfWindow(11)->kind, DocKind::Curve);
    EXPECT_EQ(documentKindOfWindow(12)->kind, DocKind::Coil);
    EXPECT_EQ(documentKindOfWindow(22)->kind, DocKind::MonitorText);
    EXPECT_EQ(documentKindOfWindow(38), nullptr); // the notebook holds no document
    const DocumentKindRow* advance = documentKindOfExtension("MANT");
    ASSERT_NE(advance, nullptr);
    EXPECT_EQ(advance->firstWindow, 25);
    EXPECT_TRUE(advance->measurement);
    EXPECT_EQ(documentKindOfExtension("csv"), nullptr);
}
