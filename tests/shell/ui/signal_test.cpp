// The workbench itself, run offscreen in a fresh start folder and ended by signals.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

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

} // namespace
