// The workbench itself, run offscreen in a fresh start folder and ended by a signal.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class SignalTest : public ::testing::Test {
protected:
    void start() {
        ASSERT_TRUE(folder.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder.path());
        process.start(ZEPHALON_EXECUTABLE, {});
        ASSERT_TRUE(process.waitForStarted(10000));
        // The first run creates the settings file (11 records) before the window shows.
        ASSERT_TRUE(QTest::qWaitFor([&] { return settingsSize() == 5500; }, 20000));
        // Let the main window reach its event loop.
        QTest::qWait(300);
    }
    qint64 settingsSize() const { return QFileInfo(folder.filePath("ZEPHALON.iniz")).size(); }
    void signal(int number) const { ::kill(static_cast<pid_t>(process.processId()), number); }

    QTemporaryDir folder;
    QProcess process;
};

TEST_F(SignalTest, ASecondSignalEndsAtOnce) {
    start();
    // Held stopped, so that both arrive before the first one has been served.
    signal(SIGSTOP);
    signal(SIGHUP);
    signal(SIGINT);
    signal(SIGCONT);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
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
    start();
    // Taken (and said in a box) once the program can be closed by a signal.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(folder.filePath("Recupero.lst")); },
                                20000));
    signal(SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(settingsSize(), 7000);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(name)));
}

} // namespace
