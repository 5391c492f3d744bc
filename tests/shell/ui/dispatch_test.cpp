#include "base/FileStore.h"
#include "base/SystemPath.h"
#include "base/ui/ChildWindow.h"
#include "curve/CurveFile.h"
#include "shell/ui/DocumentDispatch.h"
#include "support/MrotFiles.h"
#include "support/ui/WorkbenchFixture.h"
#include <QDir>
#include <filesystem>
#include <set>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

const std::string kCurve = curve::serializeCrva(curve::CurveDocument{});

// The program's document kinds behind the File menu; the file dialogs answer `answer`.
struct DispatchTest : WorkbenchFixture {
    std::vector<FileDialogRequest> asked;
    QString answer;

    DispatchTest() {
        main->documents().setChooser([this](const FileDialogRequest& r) {
            asked.push_back(r);
            return answer;
        });
    }
    DocumentDispatch& documents() { return main->documents(); }
    std::string file(const std::string& name, const std::string& bytes = kCurve) {
        const std::string p = t.path(name);
        fs::create_directories(fs::path(p).parent_path());
        EXPECT_EQ(writeFileAtomically(p, bytes), "");
        return p;
    }
    std::string mrot(const std::string& name) { return file(name, serializeMrot({})); }
    void trigger(const char* entry, const std::string& path) {
        answer = QString::fromStdString(path);
        main->action(entry)->trigger();
    }
    int open() const { return static_cast<int>(main->mdiArea()->subWindowList().size()); }
    ChildWindow* active() const {
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        return sub ? qobject_cast<ChildWindow*>(sub->widget()) : nullptr;
    }
    std::string activePath() const {
        auto* doc = dynamic_cast<DocumentWindow*>(active());
        return doc ? doc->documentPath() : "";
    }
    std::string lastWarning() const {
        return t.notifier.warnings.empty() ? "" : t.notifier.warnings.back().text;
    }
};

TEST_F(DispatchTest, OpeningRemembersTheFolderAndEntersTheRecentList) {
    const std::string first = file("docs/a.crva");
    const std::string second = file("docs/b.crva");
    trigger("mnuApriCrva", first);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].save);
    EXPECT_EQ(asked[0].title, "Quenaro v 2.3- Apri File");
    EXPECT_EQ(asked[0].folder, ""); // nothing remembered yet: the dialog's own folder
    // The monitor's text files are saved only, never opened.
    EXPECT_EQ(asked[0].filters,
              "Curve Anticipo (*.crva);;Impulso Bobina (*.ibob);;Misura "
              "Anticipo (*.mant);;Misura Rotazione (*.mrot);;Tutti i files (*.*)");
    EXPECT_EQ(asked[0].selectedFilter, "Curve Anticipo (*.crva)");
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(active()->windowNumber(), 2);
    EXPECT_EQ(t.app.LastDocFolder, t.path("docs"));
    EXPECT_EQ(t.app.LastMeasFolder, "");
    EXPECT_EQ(documents().DocPath(), first);
    EXPECT_EQ(t.app.RecentDoc[1].Path, first);
    EXPECT_EQ(t.app.RecentDoc[1].Kind, 2);

    // The next open starts in the remembered folder; the second editor takes number 3.
    trigger("mnuApriCrva", second);
    EXPECT_EQ(asked[1].folder.toStdString(), t.path("docs"));
    EXPECT_EQ(active()->windowNumber(), 3);
    EXPECT_EQ(t.app.RecentDoc[1].Path, second);
    EXPECT_EQ(t.app.RecentDoc[2].Path, first);
    // A document already open comes forward.
    trigger("mnuApriCrva", first);
    EXPECT_EQ(open(), 2);
    EXPECT_EQ(activePath(), first);

    // A measurement keeps its own folder; its one window taken, nothing more opens; a
    // cancelled dialog does nothing.
    trigger("mnuApriMrot", mrot("mis/m.mrot"));
    EXPECT_EQ(active()->windowNumber(), 33);
    EXPECT_EQ(t.app.LastMeasFolder, t.path("mis"));
    EXPECT_EQ(t.app.LastDocFolder, t.path("docs"));
    trigger("mnuApriMrot", mrot("mis/n.mrot"));
    EXPECT_EQ(open(), 3);
    EXPECT_EQ(lastWarning(), "Operazione non consentita");
    trigger("mnuApriCrva", "");
    EXPECT_EQ(open(), 3);
}

TEST_F(DispatchTest, RefusedFilesOpenNothingAndDiskErrorsNameFileAndReason) {
    trigger("mnuApriCrva", file("wrong.crva", "XDOC"));
    EXPECT_EQ(open(), 0);
    EXPECT_TRUE(t.notifier.warnings.empty()); // a refused file is not a message
    EXPECT_EQ(t.app.RecentDoc[1].Path, "");

    const std::string missing = t.path("none.crva");
    trigger("mnuApriCrva", missing);
    EXPECT_EQ(open(), 0);
    EXPECT_EQ(lastWarning(),
              "Errore di lettura da disco: " + missing + " (No such file or directory)");
    EXPECT_EQ(t.notifier.warnings.back().title, "Quenaro v 2.3");

    // A file of another kind, picked through "all files", goes to its reader.
    trigger("mnuApriCrva", mrot("x.mrot"));
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(active()->windowNumber(), 33);
}

TEST_F(DispatchTest, SaveAndSaveAsWriteTheDocumentAndConfirmOverwriting) {
    const std::string path = file("m/first.crva");
    trigger("mnuApriCrva", path);
    ASSERT_EQ(writeFileAtomically(path, "old"), "");
    main->action("mnuSalva")->trigger();
    EXPECT_EQ(readWholeFile(path), kCurve);
    EXPECT_EQ(asked.size(), 1u); // Save never asks for a name

    // Save As adds the extension; a new name needs no confirmation.
    trigger("mnuSalvaAs", t.path("m/copy"));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_TRUE(asked[1].save);
    EXPECT_EQ(asked[1].title, "Salva file come");
    EXPECT_EQ(asked[1].defaultSuffix, "crva");
    EXPECT_EQ(asked[1].folder.toStdString(), t.path("m"));
    EXPECT_EQ(asked[1].filters,
              "Curve Anticipo (*.crva);;Corrente Bobina (*.ibob);;File testo "
              "(*.txt);;Misura Anticipo (*.mant *.mrot);;Misura Rotazione (*.mrot)");
    EXPECT_EQ(asked[1].selectedFilter, "Curve Anticipo (*.crva)");
    const std::string copy = t.path("m/copy.crva");
    EXPECT_EQ(readWholeFile(copy), kCurve);
    EXPECT_EQ(activePath(), copy);
    EXPECT_TRUE(t.notifier.questions.empty());
    EXPECT_EQ(t.app.RecentDoc[1].Path, copy);

    // A folder that does not exist: the file and the reason, the window keeps its path.
    const std::string gone = t.path("gone/s.crva");
    trigger("mnuSalvaAs", gone);
    EXPECT_EQ(lastWarning(),
              "Errore di scrittura su disco: " + gone + " (No such file or directory)");
    EXPECT_EQ(activePath(), copy);

    // An existing file: No keeps it, Yes replaces it.
    const std::string existing = file("m/kept.crva", "old");
    t.notifier.nextAnswer = Notifier::Answer::No;
    trigger("mnuSalvaAs", existing);
    ASSERT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_EQ(t.notifier.questions[0].text, "Conferma sovrascrittura\r\n" + existing);
    EXPECT_EQ(readWholeFile(existing), "old");
    EXPECT_EQ(activePath(), copy);
    t.notifier.nextAnswer = Notifier::Answer::Yes;
    trigger("mnuSalvaAs", existing);
    EXPECT_EQ(readWholeFile(existing), kCurve);
    EXPECT_EQ(activePath(), existing);
}

TEST_F(DispatchTest, RecentEntriesAndCommandLinePathsReopenOrAreRefusedWithAWord) {
    const std::string a = file("a.crva");
    const std::string b = file("b.crva");
    documents().openPaths({QString::fromStdString(a), QString::fromStdString(b)});
    main->mdiArea()->closeAllSubWindows();
    ASSERT_EQ(open(), 0);
    EXPECT_EQ(t.app.RecentDoc[1].Path, b);

    main->action("mnuRecentFile_2")->trigger();
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(activePath(), a);
    EXPECT_EQ(t.app.RecentDoc[1].Path, a); // moved to the front
    main->mdiArea()->closeAllSubWindows();

    fs::remove(b);
    main->action("mnuRecentFile_2")->trigger();
    EXPECT_EQ(open(), 0);
    EXPECT_EQ(lastWarning(), "File " + b + " assente");
    EXPECT_EQ(t.app.RecentDoc[1].Path, a);
    EXPECT_EQ(t.app.RecentDoc[2].Path, "");
    EXPECT_TRUE(main->action("mnuRecentFile_1")->isVisible());
    EXPECT_FALSE(main->action("mnuRecentFile_2")->isVisible());

    // The command line's paths open by their extension.
    const std::string doc = file("cl.crva");
    const std::string other = file("cl.xyz");
    const QString before = QDir::currentPath();
    QDir::setCurrent(t.folder.path());
    documents().openPaths({"cl.crva", QString::fromStdString(other)});
    QDir::setCurrent(before);
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(activePath(), doc); // a relative path is made whole
    EXPECT_EQ(lastWarning(), "Formato dati " + other + " errato");

    // The file's question is met through the editors' Close; the program's only here.
    documents().AskSaveChanges(3, "Program");
    ASSERT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_EQ(t.notifier.questions[0].text,
              "Il Program è stato modificato.\r\nSalvare le modifiche ?");
}

// Names and folders with letters beyond ASCII, Latin-1 ones and others, open from the File
// menu and save under the very same name; nothing else appears in the folder.
TEST_F(DispatchTest, AnyLettersInNameAndFolderOpenAndSaveUnderTheSameName) {
    const std::string folder = t.path("Prove pi\u00f9 \u03a9\u03bc\u03ad\u03b3\u03b1");
    fs::create_directories(filePath(folder));
    const std::string curveName = "curva \u00e0\u00e8\u00ec\u00f2\u00f9.crva";
    const std::string coilName = "bobina \u03b2.ibob";
    const std::string measureName = "giro Per\u00f9.mrot";

    MrotDocument measurement;
    measurement.path = folder + kPathSeparator + measureName;
    measurement.notes = "giro di prova";
    const struct {
        const char* entry;
        std::string name;
        std::string bytes;
    } files[] = {
        {"mnuApriCrva", curveName, kCurve},
        // Window 12, neither modified nor untitled; the other header bytes and the eleven
        // after V Batt are not zero, and come back as they are.
        {"mnuApriIBob", coilName,
         "ZEPHALON132"s + "\x0c\x21\x22\0\x23\x24\0\x25\x26\x27"s +
             "\x01\x02\x03\x04\x05\x06\x32\x1e\x14\x03\xe8\x78"s +
             "\x41\x42\x43\x44\x45\x46\x47\x48\x49\x4a\xff"s},
        {"mnuApriMrot", measureName, serializeMrot(measurement)},
    };
    // Inside the measurement file its name is one byte per letter.
    ASSERT_NE(files[2].bytes.find("/giro Per\xF9.mrot "), std::string::npos);

    for (const auto& f : files) {
        const std::string path = folder + kPathSeparator + f.name;
        ASSERT_EQ(writeFileAtomically(path, f.bytes), "");
        trigger(f.entry, path);
        ASSERT_NE(active(), nullptr) << f.name;
        EXPECT_TRUE(active()->windowTitle().endsWith(QString::fromUtf8(f.name.c_str())))
            << active()->windowTitle().toStdString();
        main->action("mnuSalva")->trigger();
        EXPECT_EQ(readWholeFile(path), f.bytes) << f.name;
        EXPECT_EQ(t.app.RecentDoc[1].Path, path);
    }
    EXPECT_TRUE(t.notifier.warnings.empty()) << t.notifier.warnings.front().text;
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(filePath(folder)))
        names.insert(pathText(e.path().filename()));
    EXPECT_EQ(names, (std::set<std::string>{curveName, coilName, measureName}));
    EXPECT_EQ(t.app.LastDocFolder, folder);
    EXPECT_EQ(t.app.LastMeasFolder, folder);
}

} // namespace
