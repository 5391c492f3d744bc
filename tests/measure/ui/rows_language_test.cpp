#include "base/FileStore.h"
#include "measure/ui/frmMisRot.h"
#include "shell/ui/DocumentDispatch.h"
#include "shell/ui/frmMain.h"
#include "support/ui/UnitTimeWorkbench.h"
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace base;
using namespace measure;

namespace {
// The same run recorded in one language and saved: the file's rows, from the first row on
// (the records before it name the path and the date).
std::string savedRows(int langCode) {
    UnitTimeWorkbench program(langCode);
    program.main->action("mnuMisRot")->trigger();
    auto* w = program.main->findChild<frmMisRot*>();
    EXPECT_NE(w, nullptr);
    if (!w) return {};
    auto* start = w->findChild<QPushButton*>("ComStop");
    QTest::mouseClick(start, Qt::LeftButton);
    for (int i = 0; i < 50; ++i)
        program.pump(20'000);
    QTest::mouseClick(start, Qt::LeftButton);
    const std::string path = program.path("run.mrot");
    program.main->documents().setChooser(
        [&path](const FileDialogRequest&) { return QString::fromStdString(path); });
    program.main->action("mnuSalvaAs")->trigger();
    const std::optional<std::string> bytes = readWholeFile(path);
    EXPECT_TRUE(bytes);
    const size_t first = bytes ? bytes->find("\n     1 ") : std::string::npos;
    return first == std::string::npos ? std::string() : bytes->substr(first + 1);
}
} // namespace

TEST(MeasurementRowsLanguage, SavedRowsAreTheSameBytesInItalianAndEnglish) {
    const std::string italian = savedRows(0);
    const std::string english = savedRows(2);
    ASSERT_GE(italian.size(), 97u * 5) << italian; // a few revolutions were recorded
    EXPECT_EQ(italian, english);
    // The fixed layout's decimal point in the first row, whatever the language.
    EXPECT_NE(italian.substr(0, 97).find('.'), std::string::npos);
}
