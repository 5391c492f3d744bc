#include "base/FileStore.h"
#include "coil_fixture.h"
#include <QClipboard>

// Typed coil data feed the settings and the figures and ask nothing; a new program asks on
// close until it has a name; reopened, only a dwell change asks.
TEST_F(CoilWindowTest, SavedOnCloseOverALongerFileReopenedAndOnlyADwellChangeAsks) {
    const std::string path = t.path("mia.ibob");
    ASSERT_TRUE(writeFileAtomically(path, std::string(300, 'x')).empty());
    frmProgTempoBobina* w = newCoil();
    ASSERT_NE(w, nullptr);
    // Both labels of the curve's end sit inside the picture, at its right.
    auto* picture = get<QWidget>(w, "Picture1");
    auto* ibob = get<QLabel>(w, "LabIbob");
    EXPECT_EQ(ibob->parentWidget(), picture);
    EXPECT_GT(ibob->x(), picture->width() / 2);
    EXPECT_LE(ibob->x() + ibob->width(), picture->width());

    const std::tuple<const char*, const char*, float SettingsData::*, float> typed[] = {
        {"TextL", "8.25", &SettingsData::CoilL, 82}, // "8,2": one decimal
        {"TextR", "0,6", &SettingsData::CoilR, 6},
        {"TextRPerc", "35", &SettingsData::CoilRPlus, 35},
        {"TextVB", "13,8", &SettingsData::CoilVBatt, 138}};
    for (const auto& [box, keys, setting, value] : typed) {
        type(w, box, keys);
        EXPECT_FLOAT_EQ(t.app.*setting, value) << box;
    }
    EXPECT_EQ(get<QScrollBar>(w, "VScrollL")->value(), 82);
    settle(w);
    // L 8.2 mH, R 0.6 Ohm * 1.35 = 0.81 Ohm, 13.8 V: I_f = 17.037 A, Emax = 0.5 * 8.2 * I_f^2.
    EXPECT_EQ(text(w, "LabEMax"), "Emax=1.190,1 mJ");
    // Pasted text is held to the same rules; a large step of the scroll bar adds 10 tenths.
    QLineEdit* textR = get<QLineEdit>(w, "TextR");
    for (const char* pasted : {"2.5", "300"}) {
        QApplication::clipboard()->setText(pasted);
        textR->selectAll();
        textR->paste();
    }
    EXPECT_EQ(textR->text(), "2,5");
    get<QScrollBar>(w, "VScrollR")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(text(w, "TextR"), "3,5");
    EXPECT_FLOAT_EQ(t.app.CoilR, 35);
    // A speed of 0 typed over the whole text is refused; an emptied box changes nothing and
    // is refilled when the user leaves it.
    type(w, "TextVR", "4500");
    type(w, "TextVR", "0");
    QTest::keyClick(get<QLineEdit>(w, "TextVR"), Qt::Key_Backspace);
    EXPECT_EQ(text(w, "TextVR"), "");
    EXPECT_EQ(w->document().VR(), 4500);
    EXPECT_EQ(text(w, "LabVRT"), "4.500 giri/min  13,333 ms");
    QTest::keyClick(get<QLineEdit>(w, "TextVR"), Qt::Key_Tab);
    EXPECT_EQ(text(w, "TextVR"), "4500");
    EXPECT_FALSE(w->windowTitle().endsWith('*'));
    chooseDwell(w, 1, 7);

    t.notifier.nextAnswer = Notifier::Answer::Cancel;
    trigger("mnuChiudi");
    ASSERT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_EQ(t.notifier.questions[0].title, "File: NuovoFile.ibob");
    EXPECT_EQ(t.notifier.questions[0].text, "Il file è stato modificato\r\nSalvare le modifiche ?");
    EXPECT_TRUE(w->isVisible()); // Cancel keeps it open
    // Yes asks for a name: none keeps the window; "mia" is saved as mia.ibob, replacing it.
    chooseFile("");
    t.notifier.nextAnswer = Notifier::Answer::Yes;
    trigger("mnuChiudi");
    EXPECT_TRUE(w->isVisible());
    chooseFile(t.path("mia"));
    trigger("mnuChiudi");
    EXPECT_EQ(lastRequest.defaultSuffix, "ibob");
    EXPECT_EQ(lastRequest.selectedFilter, "Corrente Bobina (*.ibob)");
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(readWholeFile(path).value_or("").size(), 44u);

    chooseFile(path);
    trigger("mnuApriIBob");
    w = coilWindow();
    ASSERT_NE(w, nullptr);
    settle(w);
    EXPECT_EQ(lastRequest.selectedFilter, "Impulso Bobina (*.ibob)");
    EXPECT_EQ(combo(w, 1)->currentIndex(), 7);
    QStringList shown;
    for (const char* box : {"TextL", "TextR", "TextRPerc", "TextVB", "TextVR"})
        shown << text(w, box);
    EXPECT_EQ(shown.join(' '), "8,2 3,5 35 13,8 4500");

    chooseDwell(w, 5, 15);
    EXPECT_EQ(w->windowTitle(), "Programmazione Impulso Bobina - mia.ibob*");
    trigger("mnuSalva");
    const std::string file = readWholeFile(path).value_or("");
    ASSERT_EQ(file.size(), 44u);
    EXPECT_EQ(file[26], 15); // band above 7000: 2,5 ms
    EXPECT_EQ(w->windowTitle(), "Programmazione Impulso Bobina - mia.ibob");

    chooseDwell(w, 3, 4);
    t.notifier.questions.clear();
    t.notifier.nextAnswer = Notifier::Answer::No;
    trigger("mnuChiudi");
    EXPECT_EQ(t.notifier.questions.size(), 1u);
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(readWholeFile(path), file); // No: the file is as it was
}
