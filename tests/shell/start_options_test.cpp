#include "shell/FileCommands.h"
#include "shell/GuideLocation.h"
#include "shell/StartOptions.h"
#include <gtest/gtest.h>

using namespace base;
using namespace shell;

TEST(StartOptions, SimulatedChoosesDeviceZeroBothWaysAndOthersAreKept) {
    SettingsData settings;
    settings.MIDIOutDevice = 3;
    settings.MIDIInDevice = 99;
    applyStartOptions(parseStartOptions({}), settings);
    EXPECT_EQ(settings.MIDIOutDevice, 3); // no option: the remembered devices stand
    EXPECT_EQ(settings.MIDIInDevice, 99);

    const StartOptions options =
        parseStartOptions({"--simulated", "--bogus", "-q", "a.crva", "--guide", "/x/b.crva"});
    EXPECT_TRUE(options.simulated);
    EXPECT_TRUE(options.guidePath);
    EXPECT_FALSE(options.help);
    EXPECT_EQ(options.unknown, (std::vector<std::string>{"--bogus", "-q"}));
    EXPECT_EQ(options.documents, (std::vector<std::string>{"a.crva", "/x/b.crva"}));
    applyStartOptions(options, settings);
    EXPECT_EQ(settings.MIDIOutDevice, 0);
    EXPECT_EQ(settings.MIDIInDevice, 0);
    EXPECT_TRUE(parseStartOptions({"-h"}).help);
}

TEST(StartOptions, FileCommandsTakeTheirFileAndAnOutputOnlyWhereOneIsWritten) {
    StartOptions o = parseStartOptions({"--to-pdf", "a.mant", "a.pdf", "b.crva"});
    EXPECT_EQ(o.command.kind, FileCommand::Kind::ToPdf);
    EXPECT_EQ(o.command.input, "a.mant");
    EXPECT_EQ(o.command.output, "a.pdf");
    EXPECT_EQ(o.documents, std::vector<std::string>{"b.crva"});
    o = parseStartOptions({"--print-table", "a.crva", "b.crva"});
    EXPECT_EQ(o.command.kind, FileCommand::Kind::PrintTable);
    EXPECT_TRUE(o.command.output.empty());
    EXPECT_EQ(o.documents, std::vector<std::string>{"b.crva"});
    o = parseStartOptions({"--export-csv", "--simulated"});
    EXPECT_EQ(o.command.kind, FileCommand::Kind::None);
    EXPECT_EQ(o.missingFile, "--export-csv");
    EXPECT_TRUE(o.simulated);
    EXPECT_EQ(parseStartOptions({"--to-pdf"}).missingFile, "--to-pdf"); // the last argument
}

TEST(GuideLocation, ProgramFolderThenBuildCopyThenInstalledThenDataFolders) {
    EXPECT_EQ(guideFileName(1), "GuidaUtente.htm");
    EXPECT_EQ(guideFileName(2), "UserGuide.htm");
    EXPECT_EQ(guideFileName(7), "GuidaUtente.htm"); // anything else is read as Italian

    EXPECT_EQ(
        guideCandidates("/opt/z/bin", {"/usr/local/share/", "", "/usr/share"}, 2, '/'),
        (std::vector<std::string>{"/opt/z/bin/UserGuide.htm", "/opt/z/bin/guide/UserGuide.htm",
                                  "/opt/z/bin/../share/zephalon/guide/UserGuide.htm",
                                  "/usr/local/share/zephalon/guide/UserGuide.htm",
                                  "/usr/share/zephalon/guide/UserGuide.htm"}));
    // A root folder keeps its one separator; the relative parts take the platform's.
    EXPECT_EQ(guideCandidates("C:\\", {}, 1, '\\'),
              (std::vector<std::string>{"C:\\GuidaUtente.htm", "C:\\guide\\GuidaUtente.htm",
                                        "C:\\..\\share\\zephalon\\guide\\GuidaUtente.htm"}));
    EXPECT_TRUE(guideCandidates("", {}, 1, '/').empty());
}

TEST(FileCommands, KindsByExtensionAndMessagesThatNameTheFile) {
    const std::pair<const char*, FileKindGuess> kinds[] = {{"a.crva", FileKindGuess::Curve},
                                                           {"b.mrot", FileKindGuess::Measurement},
                                                           {"c.mant", FileKindGuess::Measurement},
                                                           {"d.txt", FileKindGuess::Other},
                                                           {"e", FileKindGuess::Other}};
    for (auto [path, kind] : kinds)
        EXPECT_EQ(fileKindOf(path), kind) << path;
    CommandResult r;
    std::string bytes;
    EXPECT_FALSE(readCommandInput("/zephalon-none/x.crva", bytes, r, 0));
    EXPECT_EQ(r.error, "File /zephalon-none/x.crva assente");
    EXPECT_FALSE(writeCommandOutput("/zephalon-none/y.csv", "z", r, 0));
    EXPECT_TRUE(r.error.starts_with("Errore di scrittura su disco: /zephalon-none/y.csv ("))
        << r.error;
}
