// Measurements laid over the advance diagram, each in its own colour and named in the
// legend; removing one leaves the others.
#include "measure/ui/frmMisAntPicture.h"
#include "measure_fixture.h"
#include "support/MrotFiles.h"
#include <QListWidget>

namespace {

// Row 1: 3,000 rpm, TAnt = Ta - Tss = 5 - 4 ms = 625 ticks of Tc 12,500: 18.0 degrees.
// Row 2: 6,000 rpm, Ta 1.25 ms = 781 ticks, Tss 0.4 ms = 250, Tc 6,250: 30.6 degrees.
const std::string kRow3000 =
    "     1  3,000    20.000    15.000  +15.000   5.000     1.234   4.000 1010 0101 3C "
    "00:00:020,000";
const std::string kRow6000 =
    "     1  6,000    10.000     8.750   -6.250   1.250     6.000   0.400 0000 0011 00 "
    "00:00:010,000";

// Where a point lies in Picture1 (15 twips a pixel): the diagram from 0 to 10,000 rpm over
// 500..9300 twips (880 a thousand rpm) and 0 to 50 degrees over 6200..200 (1200 per ten).
QPoint pixelOf(int rpm, int tenths) {
    return {static_cast<int>((500 + rpm * 880 / 1000) / 15.0 + 0.5),
            static_cast<int>((6200 - tenths * 1200 / 100) / 15.0 + 0.5)};
}

// The point's 2 x 2 pixels, give or take the rounding of the picture's height to pixels.
bool plotted(const QImage& image, QPoint at, const QColor& colour) {
    for (int dy = -2; dy <= 1; ++dy)
        for (int dx = -2; dx <= 1; ++dx)
            if (image.pixelColor(at + QPoint(dx, dy)) == colour) return true;
    return false;
}

bool legendShows(QWidget* picture, const QColor& colour) {
    const QImage shot = picture->grab().toImage();
    for (int y = 0; y < 80; ++y)
        for (int x = shot.width() / 2; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == colour) return true;
    return false;
}

} // namespace

TEST_F(MeasureWindowTest, TwoMeasurementsLaidOverEachOtherAndOneRemoved) {
    auto* w = openFromMenu<frmMisAnt>("mnuMisAnt");
    ASSERT_NE(w, nullptr);
    for (const auto& [name, row] : {std::pair{"a.mrot", kRow3000}, std::pair{"b.mrot", kRow6000}}) {
        MrotDocument doc;
        doc.rows = {row};
        ASSERT_TRUE(saveMrot(t.path(name), doc).empty());
    }
    get<QScrollBar>(w, "HScroll2")->setValue(0);
    get<QScrollBar>(w, "HScroll1")->setValue(10);
    get<QScrollBar>(w, "VScroll2")->setValue(0);
    get<QScrollBar>(w, "VScroll1")->setValue(5);
    click(w, "ComDatiGrafico"); // the diagram

    for (const char* name : {"a.mrot", "b.mrot"}) {
        answerDialogs(t.path(name));
        click(w, "ComSovrapponi");
    }
    ASSERT_EQ(w->layers().size(), 2u);
    const QColor a = w->layers()[0].colour, b = w->layers()[1].colour;
    EXPECT_NE(a, b);
    EXPECT_NE(a, QColor(Qt::black));
    auto* picture = get<frmMisAntPicture>(w, "Picture1");
    EXPECT_TRUE(plotted(picture->image(), pixelOf(3000, 180), a));
    EXPECT_TRUE(plotted(picture->image(), pixelOf(6000, 306), b));
    // The legend names each file with its date, in its colour.
    auto* list = get<QListWidget>(w, "ListStrati");
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(0)->text().startsWith("a.mrot  "));
    EXPECT_TRUE(list->item(1)->text().startsWith("b.mrot  "));
    EXPECT_TRUE(legendShows(picture, a) && legendShows(picture, b));

    // Hidden, a layer leaves the diagram and the legend; shown again it is back.
    list->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(plotted(picture->image(), pixelOf(6000, 306), b));
    EXPECT_FALSE(legendShows(picture, b));
    list->item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(plotted(picture->image(), pixelOf(6000, 306), b));

    // The first removed: the second stays, in its colour.
    list->setCurrentRow(0);
    click(w, "ComRimuoviStrato");
    ASSERT_EQ(w->layers().size(), 1u);
    EXPECT_EQ(w->layers()[0].name, "b.mrot");
    EXPECT_FALSE(plotted(picture->image(), pixelOf(3000, 180), a));
    EXPECT_TRUE(plotted(picture->image(), pixelOf(6000, 306), b));
    EXPECT_FALSE(legendShows(picture, a));

    // A file that is neither a measurement nor a curve is refused with a word.
    ASSERT_TRUE(writeFileAtomically(t.path("x.mrot"), "nothing of ours").empty());
    answerDialogs(t.path("x.mrot"));
    click(w, "ComSovrapponi");
    EXPECT_EQ(w->layers().size(), 1u);
    EXPECT_EQ(t.notifier.warnings.size(), 1u);
}
