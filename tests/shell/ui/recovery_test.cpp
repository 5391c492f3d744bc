// A termination signal while a document has unsaved changes and a message box is open.
#include "base/FileStore.h"
#include "curve/CurveFile.h"
#include "curve/ui/frmProgCurva.h"
#include "protocol/Decoder.h"
#include "protocol/UnitLink.h"
#include "shell/RecoveryFiles.h"
#include "shell/ui/ShutdownSignals.h"
#include "shell/ui/SignalClosing.h"
#include "shell/ui/WindowRegistry.h"
#include "shell/ui/frmMain.h"
#include "support/ui/TestContext.h"
#include "support/ui/UnitTimeWorkbench.h"
#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

using namespace base;
using namespace curve;
using namespace shell;

namespace {

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

    // The signal comes while a box waits in its own loop (left by a guard, not by the
    // signal, should the signal not close it).
    constexpr int kLeftByGuard = 42;
    int boxResult = -1;
    QTimer::singleShot(0, &main, [&] {
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        QMessageBox box(QMessageBox::Question, "Quenaro v 2.3", "?",
                        QMessageBox::Yes | QMessageBox::No, &main);
        QTimer::singleShot(10000, &box, [&box] { box.done(kLeftByGuard); });
        boxResult = box.exec();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxResult != -1 && !main.isVisible(); }, 20000));
    EXPECT_NE(boxResult, kLeftByGuard);

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
