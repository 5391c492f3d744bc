// Termination signals: in-process while a box is open, and to the workbench itself, run
// offscreen in a fresh start folder.
#include "base/FileStore.h"
#include "curve/CurveFile.h"
#include "curve/ui/frmProgCurva.h"
#include "shell/RecoveryFiles.h"
#include "shell/ui/ShutdownSignals.h"
#include "shell/ui/SignalClosing.h"
#include "support/ui/WorkbenchFixture.h"
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

using namespace curve;

namespace {

class SignalTest : public ::testing::Test {
protected:
    std::unique_ptr<QProcess> start(const QStringList& arguments = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(folder.path());
        process->start(ZEPHALON_EXECUTABLE, arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }
    // The first session: it creates the settings file (11 records) before its window shows.
    std::unique_ptr<QProcess> startFirst(const QStringList& arguments = {}) {
        auto process = start(arguments);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings().size() == 5500; }, 20000));
        return process;
    }
    // A later session: it tells the terminal that the folder is taken before its box shows.
    std::unique_ptr<QProcess> startSecond(QByteArray& said) {
        auto process = start();
        QByteArray own;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                own += process->readAllStandardError();
                return own.contains("Un'altra sessione del programma");
            },
            20000));
        said += own;
        return process;
    }
    QByteArray settings() const {
        QFile file(folder.filePath("ZEPHALON.iniz"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void signal(QProcess& process, int number = SIGTERM) {
        ::kill(static_cast<pid_t>(process.processId()), number);
    }
    static void finish(QProcess& process, QByteArray& said) {
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        said += process.readAllStandardError();
    }

    QTemporaryDir folder;
};

TEST_F(SignalTest, ASecondSignalEndsAtOnce) {
    const auto process = startFirst();
    QTest::qWait(300); // the main window reaches its event loop
    // Held stopped, so that both arrive before the first one has been served.
    signal(*process, SIGSTOP);
    signal(*process, SIGHUP);
    signal(*process, SIGINT);
    signal(*process, SIGCONT);
    ASSERT_TRUE(process->waitForFinished(20000));
    EXPECT_EQ(process->exitStatus(), QProcess::CrashExit);
}

TEST_F(SignalTest, TheStartSaysWhereTheRecoveryFilesAreAndASignalClosesItsBox) {
    // What a signal left in the start folder: a recovery file and the list naming it.
    const QString name = "Recupero-CurvaAnticipo-20261207-040509.crva";
    for (const auto& [file, text] : {std::pair{name, QByteArray("crva 0  7500")},
                                     std::pair{QString("Recupero.lst"), name.toLatin1() + "\n"}}) {
        QFile f(folder.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    const auto process = startFirst();
    // Taken (and said in a box) once the program can be closed by a signal.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(folder.filePath("Recupero.lst")); },
                                20000));
    signal(*process);
    QByteArray said;
    finish(*process, said);
    EXPECT_EQ(settings().size(), 7000);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(name)));
}

// Two sessions in one start folder: the second one says so and writes nothing there.
TEST_F(SignalTest, ASecondSessionLeavesTheFirstOnesFilesAndBothCloseQuietly) {
    ASSERT_TRUE(folder.isValid());
    QByteArray firstSaid;
    QByteArray secondSaid;
    const auto first = startFirst({"--simulated"});
    const QByteArray created = settings();
    {
        const auto second = startSecond(secondSaid);
        signal(*second);
        finish(*second, secondSaid);
    }
    EXPECT_EQ(settings(), created);

    // Ended together: the first writes its settings (the simulated unit as device 0 both
    // ways), the second nothing, and neither meets an error on the way.
    const auto second = startSecond(secondSaid);
    signal(*second);
    signal(*first);
    finish(*first, firstSaid);
    finish(*second, secondSaid);
    const QByteArray written = settings();
    ASSERT_EQ(written.size(), 7000);
    EXPECT_EQ(written[20], 0);
    EXPECT_EQ(written[21], 0);
    for (const QByteArray& said : {firstSaid, secondSaid}) {
        EXPECT_FALSE(said.contains("Errore")) << said.toStdString();
        EXPECT_FALSE(said.contains("Error")) << said.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("ZEPHALON.lock")));
}

// A signal while a document has unsaved changes.
TEST(SignalRecovery, UnsavedDocumentsGoToRecoveryFilesAndTheNextStartSaysWhere) {
    UnitTimeWorkbench t;
    frmMain& main = *t.main;

    // Two curve editors: the first edited, the second untouched.
    main.action("mnuNuovoCrva")->trigger();
    auto* edited = qobject_cast<frmProgCurva*>(main.mdiArea()->activeSubWindow()->widget());
    ASSERT_NE(edited, nullptr);
    auto* vrm = edited->findChild<QLineEdit*>("TextVRM");
    vrm->selectAll();
    QTest::keyClicks(vrm, "6400");
    ASSERT_TRUE(edited->modified());
    main.action("mnuNuovoCrva")->trigger();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);

    ShutdownSignals shutdown;
    ASSERT_TRUE(shutdown.installed());
    SignalClosing closing(t.app, main.documents(), t.messages, [&main] { main.close(); });
    shutdown.setClosingRoutine([&closing] { closing.begin(); });

    // A box waiting for its answer when a signal comes is the program's run below.
    std::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main.isVisible(); }, 20000));

    // Closed as File > Exit closes, with nothing asked: the settings are written.
    EXPECT_TRUE(t.notifier.questions.empty());
    EXPECT_TRUE(main.mdiArea()->subWindowList().empty());
    EXPECT_TRUE(readWholeFile(t.app.SettingsPath).has_value());

    // One recovery file, for the edited curve, in the start folder; the curve reader takes it.
    ASSERT_EQ(closing.recovered().size(), 1u);
    const std::string name = closing.recovered()[0];
    EXPECT_EQ(name.rfind("Recupero-CurvaAnticipo-", 0), 0u) << name;
    EXPECT_EQ(name.substr(name.size() - 5), ".crva");
    const std::optional<std::string> bytes = readWholeFile(t.path(name));
    ASSERT_TRUE(bytes.has_value());
    const curve::CrvaReadResult read = curve::parseCrva(*bytes);
    ASSERT_EQ(read.refusal, curve::CrvaRefusal::None);
    EXPECT_EQ(read.document.maxRpm(), 6400);

    // The next start says where, once.
    const std::vector<std::string> listed = takeRecoveryList(t.app);
    ASSERT_EQ(listed, closing.recovered());
    const std::string report = recoveryReport(Texts{200}, t.app, listed);
    EXPECT_EQ(report, "The program was ended by the system with unsaved documents. They were "
                      "written to the folder " +
                          t.folder.path().toStdString() + ":\r\n" + name);
    EXPECT_TRUE(takeRecoveryList(t.app).empty());
}

} // namespace
