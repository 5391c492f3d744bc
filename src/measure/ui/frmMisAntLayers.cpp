// The advance window's layers (measurements and curves laid over the diagram) and its
// printed sheet.
#include "base/FileStore.h"
#include "base/MenuCaptions.h"
#include "base/PathNames.h"
#include "base/ui/FileDialogs.h"
#include "curve/CurveFile.h"
#include "measure/MeasurementLayer.h"
#include "measure/ui/MeasurementSheet.h"
#include "measure/ui/frmMisAnt.h"
#include "measure/ui/frmMisAntPicture.h"
#include <QComboBox>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

using namespace base;
using namespace curve;

namespace measure {

namespace {
constexpr int kOpenTitleId = 67; // "Apri File"
constexpr int kPlainMessage = 1; // the insert is the whole message
constexpr int kWrongFormat = 4;  // "Formato dati _ errato"
constexpr int kFileMissing = 5;  // "File _ assente"

QString fileName(const std::string& path) {
    return fromSystemPath(fileNameOf(path));
}
} // namespace

void frmMisAnt::buildLayerControls() {
    ComSovrapponi = new QPushButton(caption("ComSovrapponi"), this);
    ComSovrapponi->setObjectName("ComSovrapponi");
    ComSovrapponi->setToolTip(caption("ComSovrapponiTip"));
    ComSovrapponiCurva = new QPushButton(caption("ComSovrapponiCurva"), this);
    ComSovrapponiCurva->setObjectName("ComSovrapponiCurva");
    ComSovrapponiCurva->setToolTip(caption("ComSovrapponiCurvaTip"));
    ComRimuoviStrato = new QPushButton(caption("ComRimuoviStrato"), this);
    ComRimuoviStrato->setObjectName("ComRimuoviStrato");
    ListStrati = new QListWidget(this);
    ListStrati->setObjectName("ListStrati");
    Picture1->setLayers(&layers_);
    connect(ComSovrapponi, &QPushButton::clicked, this, &frmMisAnt::ComSovrapponi_Click);
    connect(ComSovrapponiCurva, &QPushButton::clicked, this, &frmMisAnt::ComSovrapponiCurva_Click);
    connect(ComRimuoviStrato, &QPushButton::clicked, this, &frmMisAnt::ComRimuoviStrato_Click);
    connect(ListStrati, &QListWidget::itemChanged, this, &frmMisAnt::ListStrati_Changed);
}

void frmMisAnt::placeLayerControls(int left, int top, int width) {
    const int button = 1700, height = 375, gap = 90;
    int x = left;
    for (QPushButton* b : {ComSovrapponi, ComSovrapponiCurva, ComRimuoviStrato}) {
        b->setGeometry(toPixelsX(x), toPixelsY(top), toPixelsX(button), toPixelsY(height));
        x += button + gap;
    }
    ListStrati->setGeometry(toPixelsX(x), toPixelsY(top), toPixelsX(left + width - x),
                            toPixelsY(3 * height));
}

void frmMisAnt::addLayer(DiagramLayer layer) {
    layer.colour = layerColour(layersLaid_++);
    layers_.push_back(std::move(layer));
    layersChanged();
}

// The list follows the layers (checked: shown), and the diagram is drawn again with them.
void frmMisAnt::layersChanged() {
    {
        const QSignalBlocker quiet(ListStrati);
        const int selected = ListStrati->currentRow();
        ListStrati->clear();
        for (const DiagramLayer& layer : layers_) {
            auto* item =
                new QListWidgetItem(layer.name + QStringLiteral("  ") +
                                        QLocale().toString(layer.date, QLocale::ShortFormat),
                                    ListStrati);
            QPixmap swatch(12, 12);
            swatch.fill(layer.colour);
            item->setIcon(QIcon(swatch));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(layer.visible ? Qt::Checked : Qt::Unchecked);
        }
        ListStrati->setCurrentRow(std::min(selected, ListStrati->count() - 1));
    }
    ComRimuoviStrato->setEnabled(!layers_.empty());
    MADiagrammaDis();
}

bool frmMisAnt::layFile(const std::string& path) {
    const FileRead read = readFile(path);
    if (!read.ok()) {
        ctx.messages.ShowMsg(kFileMissing, ctx.app.MsgTitle, path);
        return false;
    }
    const QDateTime date = documentDate(path);
    const QString name = fileName(path);
    if (const curve::CrvaReadResult curve = curve::parseCrva(read.bytes);
        curve.refusal == curve::CrvaRefusal::None) {
        layCurves(curve.document, name, date);
        return true;
    }
    auto points = mrotAdvancePoints(read.bytes);
    if (!points) {
        ctx.messages.ShowMsg(kWrongFormat, ctx.app.MsgTitle, path);
        return false;
    }
    DiagramLayer layer;
    layer.name = name;
    layer.date = date;
    layer.points = std::move(*points);
    addLayer(std::move(layer));
    return true;
}

void frmMisAnt::layCurves(const curve::CurveDocument& doc, const QString& name,
                          const QDateTime& date) {
    for (int c = 0; c < curve::CurveCount; ++c) {
        const curve::Curve& cur = doc.curves[static_cast<size_t>(c)];
        if (!cur.hasSegment()) continue;
        DiagramLayer layer;
        layer.name =
            name +
            QStringLiteral(" - %1 %2").arg(ctx.texts.LangOffset == 200 ? "curve" : "curva").arg(c);
        layer.date = date;
        layer.curve = true;
        layer.points = curveCorners(cur);
        addLayer(std::move(layer));
    }
}

void frmMisAnt::ComSovrapponi_Click() {
    const QString folder = fromSystemPath(ctx.app.LastMeasFolder);
    const QString filter =
        QStringLiteral("Misure e curve (*.mrot *.mant *.crva);;Misure (*.mrot *.mant);;"
                       "Curve Anticipo (*.crva)");
    const QString chosen =
        chooseFile(ctx, FileDialogRequest::toOpen(ctx.text(kOpenTitleId), folder, filter));
    if (!chosen.isEmpty()) layFile(toSystemPath(chosen));
}

void frmMisAnt::ComSovrapponiCurva_Click() {
    const OpenCurveDocument* window = chosenCurveWindow();
    if (!window) {
        ctx.messages.ShowMsg(kPlainMessage, ctx.app.MsgTitle,
                             designCaption("layerNoCurveWindow", ctx.texts.LangOffset));
        return;
    }
    layCurves(*window->document, fileName(window->path), QDateTime::currentDateTime());
}

void frmMisAnt::ComRimuoviStrato_Click() {
    const int row = ListStrati->currentRow();
    if (row < 0 || row >= static_cast<int>(layers_.size())) return;
    layers_.erase(layers_.begin() + row);
    layersChanged();
}

void frmMisAnt::ListStrati_Changed(QListWidgetItem* item) {
    const int row = ListStrati->row(item);
    if (row < 0 || row >= static_cast<int>(layers_.size())) return;
    layers_[static_cast<size_t>(row)].visible = item->checkState() == Qt::Checked;
    MADiagrammaDis();
}

QString frmMisAnt::sheetTitle(int langOffset) const {
    return measurementSheetTitle(langOffset);
}

void frmMisAnt::paintSheet(SheetPainter& sheet) {
    MeasurementSheetData data = sheetDataOf(documentPath(), ctx.measurement->Notes, rows_);
    data.diagram = diagram_;
    data.layers = layers_;
    paintMeasurementSheet(sheet, data);
}

} // namespace measure
