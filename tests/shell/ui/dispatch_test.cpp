#include "base/FileStore.h"
#include "base/ui/ChildWindow.h"
#include "protocol/Decoder.h"
#include "shell/ui/DocumentDispatch.h"
#include "shell/ui/frmMain.h"
#include "support/ui/TestContext.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace base;
using namespace transport;
using namespace shell;

namespace {

// A document kind of its own: files begin with "TDOC"; windows 12 and 13.
class TestDoc : public ChildWindow, public DocumentWindow {
public:
    TestDoc(WindowContext& ctx, int winNo, std::string path, std::string content)
        : ChildWindow(ctx, winNo), path(std::move(path)), content(std::move(content)) {}
    void Form_Load() override {
        ctx.app.WinRec[windowNumber()].State = 1;
        countIn();
    }
    std::string documentPath() const override { return path; }
    std::string documentBytes() override {
        if (failWriter) throw std::runtime_error("writer");
        return content;
    }
    void documentSaved(const std::string& p) override {
        path = p;
        ++saved;
    }
    bool documentModified() const override { return false; }

    std::string path;
    std::string content;
    int saved = 0;
    bool failWriter = false;

protected:
    void closeEvent(QCloseEvent* e) override {
        storePlacementAtUnload();
        countOut();
        e->accept();
    }
};

DocumentKind testKind(int first, int last, const char* ext, bool measurement, const char* entry) {
    DocumentKind k;
    k.firstWindow = first;
    k.lastWindow = last;
    k.extension = ext;
    k.measurement = measurement;
    k.openFilter = std::string("Prova (*.") + ext + ")";
    k.saveFilter = k.openFilter;
    k.openEntries = {entry};
    k.extensions = {ext};
    k.read = [](WindowContext& ctx, int winNo, const std::string& path, const std::string& bytes,
                int& refusal) -> ChildWindow* {
        if (bytes.rfind("TDOC", 0) != 0) {
            refusal = 1;
            return nullptr;
        }
        return new TestDoc(ctx, winNo, path, bytes);
    };
    return k;
}

class NullDecoder : public MessageDecoder {
public:
    void DecodeMIDIIn(uint32_t) override {}
};

struct DispatchTest : ::testing::Test {
    TestContext t;
    NullDecoder decoder;
    std::unique_ptr<frmMain> main;
    std::vector<FileDialogRequest> asked;
    QString answer;

    DispatchTest() {
        main = std::make_unique<frmMain>(t.ctx, decoder);
        main->documents().registerKind(testKind(12, 13, "tdoc", false, "mnuApriIBob"));
        main->documents().registerKind(testKind(33, 33, "tmis", true, "mnuApriMrot"));
        main->documents().setChooser([this](const FileDialogRequest& r) {
            asked.push_back(r);
            return answer;
        });
        main->MDIForm_Load();
        main->show();
    }
    ~DispatchTest() override {
        main->mdiArea()->closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    DocumentDispatch& documents() { return main->documents(); }
    std::string file(const std::string& name, const std::string& bytes) {
        const std::string p = t.path(name);
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        EXPECT_EQ(writeFileAtomically(p, bytes), "");
        return p;
    }
    void trigger(const char* entry, const std::string& path) {
        answer = QString::fromStdString(path);
        main->action(entry)->trigger();
    }
    std::vector<TestDoc*> docs() const {
        std::vector<TestDoc*> out;
        for (QMdiSubWindow* sub : main->mdiArea()->subWindowList())
            if (auto* d = dynamic_cast<TestDoc*>(sub->widget()); d && sub->isVisible())
                out.push_back(d);
        return out;
    }
    TestDoc* active() const {
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        return sub ? dynamic_cast<TestDoc*>(sub->widget()) : nullptr;
    }
    std::string lastWarning() const {
        return t.notifier.warnings.empty() ? "" : t.notifier.warnings.back().text;
    }
};

TEST_F(DispatchTest, OpeningRemembersTheFolderAndEntersTheRecentList) {
    const std::string first = file("docs/a.tdoc", "TDOC one");
    const std::string second = file("docs/b.tdoc", "TDOC two");
    EXPECT_TRUE(main->action("mnuApriIBob")->isEnabled());

    trigger("mnuApriIBob", first);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].save);
    EXPECT_EQ(asked[0].title, "Quenaro v 2.3- Apri File");
    EXPECT_EQ(asked[0].folder, ""); // nothing remembered yet: the dialog's own folder
    EXPECT_EQ(asked[0].filters, "Prova (*.tdoc);;Prova (*.tmis);;Tutti i files (*.*)");
    EXPECT_EQ(asked[0].selectedFilter, "Prova (*.tdoc)");
    ASSERT_EQ(docs().size(), 1u);
    EXPECT_EQ(docs()[0]->windowNumber(), 12);
    EXPECT_EQ(docs()[0]->content, "TDOC one");
    EXPECT_EQ(t.app.LastDocFolder, t.path("docs"));
    EXPECT_EQ(t.app.LastMeasFolder, "");
    EXPECT_EQ(documents().DocPath(), first);
    EXPECT_EQ(t.app.RecentDoc[1].Path, first);
    EXPECT_EQ(t.app.RecentDoc[1].Kind, 12);
    EXPECT_TRUE(main->action("mnuRecentFile_1")->isVisible());

    // The next open starts in the remembered folder; the second window takes number 13.
    trigger("mnuApriIBob", second);
    EXPECT_EQ(asked[1].folder.toStdString(), t.path("docs"));
    ASSERT_EQ(docs().size(), 2u);
    EXPECT_EQ(active()->windowNumber(), 13);
    EXPECT_EQ(t.app.RecentDoc[1].Path, second);
    EXPECT_EQ(t.app.RecentDoc[2].Path, first);

    // A document already open comes forward; with both windows taken nothing more opens.
    trigger("mnuApriIBob", first);
    EXPECT_EQ(docs().size(), 2u);
    EXPECT_EQ(active()->path, first);
    trigger("mnuApriIBob", file("docs/c.tdoc", "TDOC three"));
    EXPECT_EQ(docs().size(), 2u);
    EXPECT_EQ(lastWarning(), "Operazione non consentita");

    // A measurement kind keeps its own folder; a cancelled dialog does nothing.
    trigger("mnuApriMrot", file("mis/m.tmis", "TDOC m"));
    EXPECT_EQ(t.app.LastMeasFolder, t.path("mis"));
    EXPECT_EQ(t.app.LastDocFolder, t.path("docs"));
    const size_t open = docs().size();
    trigger("mnuApriMrot", "");
    EXPECT_EQ(docs().size(), open);
}

TEST_F(DispatchTest, RefusedFilesOpenNothingAndDiskErrorsNameFileAndReason) {
    trigger("mnuApriIBob", file("wrong.tdoc", "XDOC"));
    EXPECT_TRUE(docs().empty());
    EXPECT_TRUE(t.notifier.warnings.empty()); // a refused file is not a message
    EXPECT_EQ(t.app.RecentDoc[1].Path, "");

    const std::string missing = t.path("none.tdoc");
    trigger("mnuApriIBob", missing);
    EXPECT_TRUE(docs().empty());
    EXPECT_EQ(lastWarning(),
              "Errore di lettura da disco: " + missing + " (No such file or directory)");
    EXPECT_EQ(t.notifier.warnings.back().title, "Quenaro v 2.3");

    // A file of another registered kind, picked through "all files", goes to its reader.
    trigger("mnuApriIBob", file("x.tmis", "TDOC"));
    ASSERT_EQ(docs().size(), 1u);
    EXPECT_EQ(docs()[0]->windowNumber(), 33);
}

TEST_F(DispatchTest, SaveWritesAtomicallyAndReportsOnlyWhatWasSaved) {
    const std::string path = file("s.tdoc", "TDOC old");
    trigger("mnuApriIBob", path);
    TestDoc* doc = active();
    ASSERT_NE(doc, nullptr);
    doc->content = "TDOC new";
    main->action("mnuSalva")->trigger();
    EXPECT_EQ(readWholeFile(path), "TDOC new");
    EXPECT_EQ(doc->saved, 1);
    EXPECT_TRUE(asked.size() == 1u); // Save never asks for a name

    // A folder that does not exist: the message names the file and the reason, the
    // window is not told it was saved.
    doc->path = t.path("gone/s.tdoc");
    main->action("mnuSalva")->trigger();
    EXPECT_EQ(doc->saved, 1);
    EXPECT_EQ(lastWarning(),
              "Errore di scrittura su disco: " + doc->path + " (No such file or directory)");

    // A fault inside the writer: the notice with the step, nothing written.
    doc->path = path;
    doc->content = "TDOC newer";
    doc->failWriter = true;
    main->action("mnuSalva")->trigger();
    ASSERT_EQ(t.notifier.notices.size(), 1u);
    EXPECT_EQ(t.notifier.notices[0], "Errore: MSF1");
    EXPECT_EQ(readWholeFile(path), "TDOC new");
    answer = QString::fromStdString(t.path("other.tdoc"));
    main->action("mnuSalvaAs")->trigger();
    EXPECT_EQ(t.notifier.notices.back(), "Errore: MSFA1");
}

TEST_F(DispatchTest, SaveAsAddsTheExtensionAndConfirmsOverwriting) {
    trigger("mnuApriMrot", file("m/first.tmis", "TDOC m"));
    TestDoc* doc = active();
    ASSERT_NE(doc, nullptr);
    trigger("mnuSalvaAs", t.path("m/copy"));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_TRUE(asked[1].save);
    EXPECT_EQ(asked[1].title, "Salva file come");
    EXPECT_EQ(asked[1].defaultSuffix, "tmis");
    EXPECT_EQ(asked[1].folder.toStdString(), t.path("m"));
    EXPECT_EQ(asked[1].filters, "Prova (*.tdoc);;Prova (*.tmis)");
    EXPECT_EQ(readWholeFile(t.path("m/copy.tmis")), "TDOC m");
    EXPECT_EQ(doc->path, t.path("m/copy.tmis"));
    EXPECT_TRUE(t.notifier.questions.empty()); // a new name needs no confirmation
    EXPECT_EQ(t.app.RecentDoc[1].Path, t.path("m/copy.tmis"));

    // An existing file: No keeps it, Yes replaces it.
    const std::string existing = file("m/kept.tmis", "old");
    doc->content = "TDOC changed";
    t.notifier.nextAnswer = Notifier::Answer::No;
    trigger("mnuSalvaAs", existing);
    ASSERT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_EQ(t.notifier.questions[0].text, "Conferma sovrascrittura\r\n" + existing);
    EXPECT_EQ(readWholeFile(existing), "old");
    EXPECT_EQ(doc->path, t.path("m/copy.tmis"));
    t.notifier.nextAnswer = Notifier::Answer::Yes;
    trigger("mnuSalvaAs", existing);
    EXPECT_EQ(readWholeFile(existing), "TDOC changed");
    EXPECT_EQ(doc->path, existing);
}

TEST_F(DispatchTest, RecentEntriesReopenOrAreDroppedWhenGone) {
    const std::string a = file("a.tdoc", "TDOC a");
    const std::string b = file("b.tdoc", "TDOC b");
    documents().openPaths({QString::fromStdString(a), QString::fromStdString(b)});
    main->mdiArea()->closeAllSubWindows();
    ASSERT_TRUE(docs().empty());
    EXPECT_EQ(t.app.RecentDoc[1].Path, b);

    main->action("mnuRecentFile_2")->trigger();
    ASSERT_EQ(docs().size(), 1u);
    EXPECT_EQ(docs()[0]->path, a);
    EXPECT_EQ(t.app.RecentDoc[1].Path, a); // moved to the front
    main->mdiArea()->closeAllSubWindows();

    std::filesystem::remove(b);
    main->action("mnuRecentFile_2")->trigger();
    EXPECT_TRUE(docs().empty());
    EXPECT_EQ(lastWarning(), "File " + b + " assente");
    EXPECT_EQ(t.app.RecentDoc[1].Path, a);
    EXPECT_EQ(t.app.RecentDoc[2].Path, "");
    EXPECT_TRUE(main->action("mnuRecentFile_1")->isVisible());
    EXPECT_FALSE(main->action("mnuRecentFile_2")->isVisible());
}

TEST_F(DispatchTest, CommandLinePathsOpenByTheirExtension) {
    const std::string doc = file("cl.tdoc", "TDOC cl");
    const std::string other = file("cl.xyz", "TDOC");
    const QString before = QDir::currentPath();
    QDir::setCurrent(t.folder.path());
    documents().openPaths({"cl.tdoc", QString::fromStdString(other)});
    QDir::setCurrent(before);
    ASSERT_EQ(docs().size(), 1u);
    EXPECT_EQ(docs()[0]->path, doc); // a relative path is made whole
    EXPECT_EQ(lastWarning(), "Formato dati " + other + " errato");
}

// The file's question is met through the editors' Close; the other kind only here.
TEST_F(DispatchTest, SaveChangesQuestionForAProgram) {
    documents().AskSaveChanges(3, "Program");
    ASSERT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_EQ(t.notifier.questions[0].text,
              "Il Program è stato modificato.\r\nSalvare le modifiche ?");
}

} // namespace
