#include "curve/ui/CurveSheet.h"
#include "base/ui/WindowContext.h"
#include "curve/UnitTableListing.h"
#include "curve/ui/CurveGraphPainting.h"

using namespace base;

namespace curve {

using namespace curve;

namespace {
// The graph's area in twips, with room for the scale labels left and below.
constexpr double kLeft = GraphX0 - 450;
constexpr double kTop = GraphYTop - 150;
constexpr double kWidth = GraphXMax + 150 - kLeft;
constexpr double kHeight = GraphY0 + 350 - kTop;

void paintGraph(SheetPainter& sheet, const CurveDocument& doc) {
    const QRectF area = sheet.block(sheet.page().width() * kHeight / kWidth);
    QPainter& p = sheet.painter();
    p.save();
    p.translate(area.topLeft());
    const double scale = area.width() / kWidth;
    p.scale(scale, scale);
    p.translate(-kLeft, -kTop);
    const double hair = sheet.pt(0.4) / scale;
    drawCurveGrid(p, hair);
    p.setRenderHint(QPainter::Antialiasing);
    for (int c = 0; c < CurveCount; ++c)
        drawCurveSegments(p, doc.curves[static_cast<size_t>(c)], c, 4 * hair);
    p.restore();
    // The scale labels at the page's own size: rpm under the graph, degrees beside it.
    auto at = [&](double x, double y) {
        return QPointF(area.left() + (x - kLeft) * scale, area.top() + (y - kTop) * scale);
    };
    QFont font = p.font();
    font.setPointSizeF(7);
    p.setFont(font);
    p.setPen(Qt::black);
    const double w = sheet.pt(30), h = sheet.pt(10);
    for (int rpm = 500; rpm <= 10000; rpm = rpm == 500 ? 1000 : rpm + 1000) {
        const QPointF c = at(GraphX0 + (rpm - 500) * 1.2, GraphY0);
        p.drawText(QRectF(c.x() - w / 2, c.y() + sheet.pt(2), w, h),
                   Qt::AlignHCenter | Qt::AlignTop, QString::number(rpm));
    }
    for (int deg = 0; deg <= 50; deg += 10) {
        const QPointF c = at(GraphX0, GraphY0 - deg * 120.0);
        p.drawText(QRectF(c.x() - w - sheet.pt(3), c.y() - h / 2, w, h),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(deg));
    }
}

void paintLegend(SheetPainter& sheet, const CurveDocument& doc) {
    const char* it[] = {"Curva 0 (confronto, non trasferita)", "Curva 1", "Curva 2"};
    const char* en[] = {"Curve 0 (comparison, never transferred)", "Curve 1", "Curve 2"};
    for (int c = 0; c < CurveCount; ++c) {
        const Curve& curve = doc.curves[static_cast<size_t>(c)];
        const int points = curve.hasSegment() ? curve.CurveLastPoint + 1 : 0;
        const QRectF r = sheet.block(sheet.pt(13));
        QPainter& p = sheet.painter();
        p.setPen(QPen(curvePen(c), sheet.pt(2)));
        p.drawLine(QPointF(r.left(), r.center().y()),
                   QPointF(r.left() + sheet.pt(24), r.center().y()));
        p.setPen(Qt::black);
        p.drawText(r.adjusted(sheet.pt(30), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   sheet.tr(it[c], en[c]) + QStringLiteral(": %1 ").arg(points) +
                       sheet.tr("punti", "points"));
    }
}

QStringList tableLines(const CurveDocument& doc, int curveNo) {
    QStringList lines;
    for (const UnitByte& b : curveUnitBytes(doc, curveNo))
        lines << QString::fromStdString(unitByteLine(b));
    return lines;
}
} // namespace

QString curveSheetTitle(int langOffset) {
    return QString::fromUtf8(langOffset == 200 ? "Advance curve" : "Curva anticipo");
}

void paintCurveSheet(SheetPainter& sheet, const CurveDocument& doc, const std::string& path,
                     const QDateTime& date) {
    sheet.heading(curveSheetTitle(sheet.langOffset()), fromSystemPath(path), date);
    sheet.line(QStringLiteral("MaxRpm: %1    ").arg(doc.maxRpm()) +
               sheet.tr("Documento bloccato: ", "Document locked: ") +
               (doc.locked() ? sheet.tr("sì", "yes") : sheet.tr("no", "no")));
    sheet.gap(4);
    paintGraph(sheet, doc);
    sheet.gap(4);
    paintLegend(sheet, doc);
    sheet.paragraphs(sheet.tr("Note", "Notes"), QString::fromLatin1(doc.notes.c_str()));
    // The tables on their own pages: MaxRpm, then curve 1 and curve 2 address by address.
    const int lang = sheet.langOffset();
    sheet.newPage();
    sheet.line(sheet.tr("Tabelle della centralina", "Unit tables"), false, true);
    const std::vector<UnitByte> all = unitBytes(doc);
    sheet.line(QString::fromStdString(unitTableHeading(lang)), true, true);
    sheet.line(QString::fromStdString(unitByteLine(all.front())), true);
    for (int c = 1; c <= 2; ++c) {
        sheet.gap(6);
        sheet.line(sheet.tr("Curva %1: indirizzi %2-%3", "Curve %1: addresses %2-%3")
                       .arg(c)
                       .arg(c == 1 ? Curve1Address : Curve2Address)
                       .arg((c == 1 ? Curve1Address : Curve2Address) + StoredEntries - 1),
                   false, true);
        sheet.columns(QString::fromStdString(unitTableHeading(lang)), tableLines(doc, c));
    }
}

} // namespace curve
