#include "base/FileStore.h"
#include "base/SystemPath.h"
#include "curve/CurveFile.h"
#include "measure/MrotFile.h"
#include "measure/ui/measure_fixture.h"
#include <filesystem>
#include <set>

using namespace base;
using namespace measure;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// The program with every document kind registered; the file dialogs answer `answer`, a
// name as the system's dialog gives it.
class DocumentNamesTest : public MeasureWindowTest {
protected:
    DocumentNamesTest() {
        main->documents().setChooser(
            [this](const FileDialogRequest&) { return QString::fromUtf8(answer.c_str()); });
    }

    void trigger(const char* entry, const std::string& chosen = {}) {
        answer = chosen;
        main->action(entry)->trigger();
    }
    QWidget* active() const {
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        return sub ? sub->widget() : nullptr;
    }
    static std::set<std::string> namesIn(const std::string& folder) {
        std::set<std::string> names;
        for (const fs::directory_entry& e : fs::directory_iterator(filePath(folder)))
            names.insert(pathText(e.path().filename()));
        return names;
    }

    std::string answer;
};

} // namespace

// Names and folders with letters beyond ASCII, Latin-1 ones and others, open from the File
// menu and save under the very same name; nothing else appears in the folder.
TEST_F(DocumentNamesTest, AnyLettersInNameAndFolderOpenAndSaveUnderTheSameName) {
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
        {"mnuApriCrva", curveName, curve::serializeCrva(curve::CurveDocument{})},
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
        trigger("mnuSalva");
        EXPECT_EQ(readWholeFile(path), f.bytes) << f.name;
        EXPECT_EQ(t.app.RecentDoc[1].Path, path);
    }
    EXPECT_TRUE(t.notifier.warnings.empty()) << t.notifier.warnings.front().text;
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{curveName, coilName, measureName}));
    EXPECT_EQ(t.app.LastDocFolder, folder);
    EXPECT_EQ(t.app.LastMeasFolder, folder);
}
