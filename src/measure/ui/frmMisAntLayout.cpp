#include "base/FileStore.h"
#include "measure/ui/frmMisAnt.h"
#include "measure/ui/frmMisAntPicture.h"
#include "protocol/ui/SilenceLabel.h"
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFont>
#include <QLabel>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

namespace measure {

namespace {
// Layout, twips.
constexpr int kPictureLeft = 600;
constexpr int kPictureTop = 360;
constexpr int kLine = 255;
constexpr int kSideLeft = kPictureLeft + frmMisAnt::PictureWidth + 600;
constexpr int kButtonWidth = 1700;
constexpr int kButtonHeight = 420;
} // namespace

void frmMisAnt::layoutControls() {
    const auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height));
    };
    place(LabIntestazione, kPictureLeft, kPictureTop - kLine - 60, PictureWidth, kLine);
    place(Picture1, kPictureLeft, kPictureTop, PictureWidth, PictureHeight);
    place(List1, kPictureLeft, kPictureTop, PictureWidth, PictureHeight);
    place(Text1, kPictureLeft, kPictureTop, PictureWidth, PictureHeight);
    const int below = kPictureTop + PictureHeight + 80;
    place(LabAscUnita, kPictureLeft + PictureWidth - AdvanceDiagram::RightMargin - 1800, below,
          1800, kLine);
    place(HScroll2, kPictureLeft + AdvanceDiagram::Left, below + kLine + 60, 3600, kLine);
    place(HScroll1, kPictureLeft + PictureWidth - AdvanceDiagram::RightMargin - 3600,
          below + kLine + 60, 3600, kLine);
    place(VScroll1, kPictureLeft + PictureWidth + 60, kPictureTop + AdvanceDiagram::TopMargin,
          kLine, 2600);
    place(VScroll2, kPictureLeft + PictureWidth + 60, kPictureTop + AdvanceDiagram::Bottom - 2600,
          kLine, 2600);
    int y = kPictureTop;
    for (QPushButton* b : {ComStop, ComSospendi, ComAttiva, ComDatiGrafico, ComNuovaMisura,
                           ComSalva, ComNote, ComEsporta}) {
        place(b, kSideLeft, y, kButtonWidth, kButtonHeight);
        y += kButtonHeight + 90;
    }
    place(LabContRighe, kSideLeft, y + 120, kButtonWidth, kLine);
    place(LabNessunDato, kSideLeft + kButtonWidth + 90, y + 120, 4200 - kButtonWidth - 90,
          2 * kLine + 60);
    place(LabTmpMis, kSideLeft, y + 120 + kLine + 60, kButtonWidth, kLine);
    place(LabRot, kSideLeft + kButtonWidth + 90, y + 120 + 2 * (kLine + 60), 2000, kLine);
    place(LabPersi, kSideLeft, y + 120 + 3 * (kLine + 60), 4200, kLine);
    y += 120 + 4 * (kLine + 60) + 120;
    place(ComboSorgente, kSideLeft, y, kButtonWidth, kButtonHeight);
    place(ComboCurva, kSideLeft + kButtonWidth + 90, y, 1300, kButtonHeight);
    y += kButtonHeight + 90;
    place(ComVerifica, kSideLeft, y, kButtonWidth, kButtonHeight);
    y += kButtonHeight + 90;
    place(LabVerifica, kSideLeft, y, 4200, 3 * kLine);
    y += 3 * kLine + 60;
    place(ListScarti, kSideLeft, y, 4200, 3300);
    placeLayerControls(kPictureLeft, below + 2 * kLine + 200, PictureWidth);
    placeAxisLabels();
}

void frmMisAnt::placeAxisLabels() {
    const int below = kPictureTop + AdvanceDiagram::Bottom + 40;
    for (size_t i = 0; i < LabAsc.size(); ++i) {
        const int value = diagram_.speedLow + static_cast<int>(i);
        const int x = AdvanceDiagram::Left + static_cast<int>(i) * diagram_.hScale;
        LabAsc[i]->setText(QString::fromStdString(speedAxisLabel(value, ctx.texts.LangOffset)));
        LabAsc[i]->setGeometry(toPixelsX(kPictureLeft + x - 300), toPixelsY(below), toPixelsX(600),
                               toPixelsY(kLine));
        LabAsc[i]->setVisible(state_.graph && value <= diagram_.speedHigh && diagram_.hScale > 0);
    }
    for (size_t j = 0; j < LabOrd.size(); ++j) {
        const int value = diagram_.advanceLow + static_cast<int>(j);
        const int y = AdvanceDiagram::Bottom - static_cast<int>(j) * diagram_.vScale;
        LabOrd[j]->setText(QString::fromStdString(advanceAxisLabel(value)));
        LabOrd[j]->setGeometry(toPixelsX(kPictureLeft - 560),
                               toPixelsY(kPictureTop + y - kLine / 2), toPixelsX(500),
                               toPixelsY(kLine));
        LabOrd[j]->setVisible(state_.graph && value <= diagram_.advanceHigh && diagram_.vScale > 0);
    }
}

} // namespace measure
