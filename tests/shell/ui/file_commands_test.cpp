// The file commands of the command line, run as the built program in a fresh start folder.
#include "base/FileStore.h"
#include "curve/CurveFile.h"
#include "curve/ui/frmProgCurva.h"
#include "measure/MrotFile.h"
#include "measure/ui/frmMisRot.h"
#include "measure/ui/measure_fixture.h"
#include "support/MrotFiles.h"
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace curve;

namespace {

struct CommandRun {
    int status = -1;
    QString out;
    QString err;
};

CommandRun zephalon(const QStringList& args, const QString& folder) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM"); // no display is needed
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(ZEPHALON_EXECUTABLE, args);
    CommandRun r; // one that hangs is killed as p goes
    if (!p.waitForFinished(120000)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Three revolutions as the rotation window writes them, the last one past the hour.
MrotDocument threeRows() {
    MrotDocument doc;
    doc.notes = "banco";
    doc.rows = {"     1  3,000    20.000    15.000  +15.000   5.000     1.234   4.000 1010 0101 3C "
                "59:59:990,000",
                "     2  6,000    10.000     8.750   -6.250   1.250     6.000   0.400 0000 0011 00 "
                "59:59:999,000",
                "     3  6,000    10.000     8.750   +0.000   1.250     6.000   0.400 0000 0011 00 "
                "00:00:009,000"};
    return doc;
}

// Curve 1 falls from 30 degrees at 6,000 rpm to 20 at 9,900 rpm. By hand, t = (a / 360) x
// (60 / rpm) x 1,000,000 / 3.2 counts: at 6,000 rpm 260.4 -> 260, above 255, so entry 67
// (address 6 + 67 = 73) holds 4 and bit 7 of flag byte 6 (address 12: 0x80) is set; at
// 6,100 rpm a = 29.744, t = 253.96 -> 254 (address 74); at 9,900 rpm t = 105.2 -> 105
// (address 112). Curve 2 is empty; MaxRpm 7500 goes to address 5 as 75.
curve::CurveDocument handWorkedCurve() {
    curve::CurveDocument doc;
    curve::Curve& c1 = doc.curves[1];
    c1.points[0] = {(6000 - 500) * 1.2, 30 * 120.0};
    c1.points[1] = {(9900 - 500) * 1.2, 20 * 120.0};
    c1.CurveLastPoint = 1;
    curve::BuildCurveTable(c1);
    return doc;
}

// The hand-worked lines: address, value, hex, curve, entry, rpm and count.
void expectHandWorkedLines(const QString& text) {
    auto line = [&text](const char* pattern) {
        return QRegularExpression(pattern, QRegularExpression::MultilineOption)
            .match(text)
            .hasMatch();
    };
    EXPECT_TRUE(line("^\\s*5\\s+75\\s+4B\\s+MaxRpm")) << text;
    EXPECT_TRUE(line("^\\s*12\\s+128\\s+80\\s+1\\s+6\\s+bit 8 5300-6000\\b")) << text;
    EXPECT_TRUE(line("\\b73\\s+4\\s+04\\s+1\\s+67\\s+6000\\s+260\\b")) << text;
    EXPECT_TRUE(line("\\b74\\s+254\\s+FE\\s+1\\s+68\\s+6100\\s+254\\b")) << text;
    EXPECT_TRUE(line("\\b112\\s+105\\s+69\\s+1\\s+106\\s+9900\\s+105\\b")) << text;
    EXPECT_TRUE(line("\\b113\\s+0\\s+00\\s+2\\s+0\\s+bit 8 500-1200\\b")) << text;
    EXPECT_TRUE(line("\\b219\\s+0\\s+00\\s+2\\s+106\\s+9900\\s+0\\b")) << text;
}

// The text of a PDF as pdftotext lays it out; empty when pdftotext is missing.
QString pdfText(const std::string& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

class FileCommandsTest : public MeasureWindowTest {
protected:
    QString folder() const { return QString::fromStdString(t.path("")); }
    // Nothing but the files a test put there and the command's output.
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
};

} // namespace

TEST_F(FileCommandsTest, ExportCsvWritesTheWindowsLinesAndRefusesAFileItCannotRead) {
    const std::string mrot = t.path("giro.mrot");
    ASSERT_TRUE(saveMrot(mrot, threeRows()).empty());

    // The window's export: File, Open measurement, then Esporta CSV.
    const std::string windowCsv = t.path("window.csv");
    main->documents().setChooser([&](const FileDialogRequest& r) {
        return QString::fromStdString(r.save ? windowCsv : mrot);
    });
    main->action("mnuApriMrot")->trigger();
    auto* w = main->findChild<frmMisRot*>();
    ASSERT_NE(w, nullptr);
    click(w, "ComEsporta");
    const std::string expected = readWholeFile(windowCsv).value_or("");
    ASSERT_EQ(QString::fromStdString(expected).count("\r\n"), 4);

    // Beside the file when no output is named, or where it is named.
    CommandRun r = zephalon({"--export-csv", "giro.mrot"}, folder());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readWholeFile(t.path("giro.csv")).value_or("-"), expected);
    r = zephalon({"--export-csv", "giro.mrot", "out.csv"}, folder());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readWholeFile(t.path("out.csv")).value_or("-"), expected);

    // A curve file, a missing file and a command without its file are refused with a word.
    ASSERT_TRUE(writeFileAtomically(t.path("curva.crva"), curve::serializeCrva({})).empty());
    r = zephalon({"--export-csv", "curva.crva", "bad.csv"}, folder());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("curva.crva")) << r.err;
    EXPECT_TRUE(r.err.contains("misura")) << r.err; // the settings' language: Italian
    r = zephalon({"--export-csv", "assente.mrot"}, folder());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("assente.mrot")) << r.err;
    r = zephalon({"--export-csv"}, folder());
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("--export-csv")) << r.err;
    // Nothing else was written: no settings file, no output for a refused file.
    EXPECT_EQ(files(),
              (QStringList{"curva.crva", "giro.csv", "giro.mrot", "out.csv", "window.csv"}));
}

TEST_F(FileCommandsTest, PrintTableListsTheHandWorkedCountsAddressByAddress) {
    ASSERT_TRUE(
        writeFileAtomically(t.path("curva.crva"), curve::serializeCrva(handWorkedCurve())).empty());
    const CommandRun r = zephalon({"--print-table", "curva.crva"}, folder());
    ASSERT_EQ(r.status, 0) << r.err;
    expectHandWorkedLines(r.out);
    // One line per address written: 5, then 6..219.
    EXPECT_EQ(r.out.count(QRegularExpression("^\\s+\\d+\\s+\\d+\\s+[0-9A-F]{2}\\s",
                                             QRegularExpression::MultilineOption)),
              1 + 2 * 107);

    const CommandRun refused = zephalon({"--print-table", "curva.mrot"}, folder());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(files(), QStringList{"curva.crva"});
}

// The curve window's File > Esporta PDF and --to-pdf: the sheet's text holds the unit
// table values of the hand-worked curve.
TEST_F(FileCommandsTest, ThePdfOfACurveDocumentHoldsTheHandWorkedTableValues) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    curve::CurveDocument doc = handWorkedCurve();
    doc.notes = "Cliente Rossi";
    const std::string crva = t.path("curva.crva");
    ASSERT_TRUE(writeFileAtomically(crva, curve::serializeCrva(doc)).empty());

    std::string answer = crva;
    main->documents().setChooser(
        [&answer](const FileDialogRequest&) { return QString::fromStdString(answer); });
    main->action("mnuApriCrva")->trigger();
    ASSERT_NE(main->findChild<frmProgCurva*>(), nullptr);
    ASSERT_TRUE(main->action("mnuEsportaPdf")->isEnabled());
    answer = t.path("foglio");
    main->action("mnuEsportaPdf")->trigger();
    const QString window = pdfText(t.path("foglio.pdf"));
    expectHandWorkedLines(window);
    EXPECT_TRUE(window.contains("Curva anticipo")) << window;
    EXPECT_TRUE(window.contains("MaxRpm: 7500")) << window;
    EXPECT_TRUE(window.contains("Cliente Rossi")) << window;

    const CommandRun r = zephalon({"--to-pdf", "curva.crva"}, folder());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pdfText(t.path("curva.pdf")), window);
    EXPECT_EQ(files(), (QStringList{"curva.crva", "curva.pdf", "foglio.pdf"}));
}
