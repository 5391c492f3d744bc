#include "base/ui/Sheet.h"
#include "base/FileStore.h"
#include "base/ui/WindowContext.h"
#include <QBuffer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>

namespace base {

namespace {
constexpr double kMarginMm = 15;
constexpr int kPdfResolution = 300;
} // namespace

SheetPainter::SheetPainter(QPagedPaintDevice& device, int langOffset)
    : device_(device), painter_(&device), langOffset_(langOffset) {
    // The painter's origin is the corner of the area inside the margins.
    page_ = QRectF(0, 0, device.width(), device.height());
    y_ = page_.top();
    text_ = QFont(QStringLiteral("DejaVu Sans"));
    text_.setPointSizeF(10);
    mono_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono_.setPointSizeF(8);
}

SheetPainter::~SheetPainter() {
    painter_.end();
}

double SheetPainter::pt(double points) const {
    return points * device_.logicalDpiY() / 72.0;
}

double SheetPainter::lineHeight(const QFont& font) const {
    return QFontMetricsF(font, &device_).lineSpacing();
}

void SheetPainter::newPage() {
    device_.newPage();
    y_ = page_.top();
}

void SheetPainter::gap(double points) {
    y_ += pt(points);
}

void SheetPainter::line(const QString& text, bool mono, bool bold) {
    QFont font = mono ? mono_ : text_;
    font.setBold(bold);
    const double h = lineHeight(font);
    if (y_ + h > page_.bottom() && y_ > page_.top()) newPage();
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    painter_.drawText(QRectF(page_.left(), y_, page_.width(), h), Qt::AlignLeft | Qt::AlignVCenter,
                      text);
    y_ += h;
}

void SheetPainter::paragraphs(const QString& heading, const QString& text) {
    if (text.isEmpty()) return;
    gap(6);
    line(heading, false, true);
    for (const QString& l : text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r"))))
        line(l);
}

void SheetPainter::heading(const QString& title, const QString& file, const QDateTime& date) {
    QFont big = text_;
    big.setPointSizeF(15);
    big.setBold(true);
    const double h = lineHeight(big);
    painter_.setFont(big);
    painter_.setPen(Qt::black);
    painter_.drawText(QRectF(page_.left(), y_, page_.width(), h), Qt::AlignLeft, title);
    y_ += h;
    line(QFileInfo(file).fileName() + QStringLiteral("    ") +
         QLocale().toString(date, english() ? QStringLiteral("yyyy-MM-dd HH:mm")
                                            : QStringLiteral("dd/MM/yyyy HH:mm")));
    gap(6);
}

QRectF SheetPainter::block(double height) {
    height = std::min(height, page_.height());
    if (y_ + height > page_.bottom()) newPage();
    const QRectF r(page_.left(), y_, page_.width(), height);
    y_ += height;
    return r;
}

void SheetPainter::columns(const QString& heading, const QStringList& lines) {
    QFont bold = mono_;
    bold.setBold(true);
    const QFontMetricsF metrics(mono_, &device_);
    double width = metrics.horizontalAdvance(heading);
    for (const QString& l : lines)
        width = std::max(width, metrics.horizontalAdvance(l));
    width += pt(12);
    const int perRow = std::max(1, static_cast<int>(page_.width() / width));
    const double h = lineHeight(mono_);
    qsizetype next = 0;
    while (next < lines.size()) {
        if (page_.bottom() - y_ < 4 * h) newPage();
        const int rows = std::max(1, static_cast<int>((page_.bottom() - y_) / h) - 1);
        double bottom = y_;
        for (int col = 0; col < perRow && next < lines.size(); ++col) {
            const double x = page_.left() + col * width;
            double y = y_;
            painter_.setPen(Qt::black);
            painter_.setFont(bold);
            painter_.drawText(QRectF(x, y, width, h), Qt::AlignLeft | Qt::AlignVCenter, heading);
            y += h;
            painter_.setFont(mono_);
            for (int r = 0; r < rows && next < lines.size(); ++r, ++next, y += h)
                painter_.drawText(QRectF(x, y, width, h), Qt::AlignLeft | Qt::AlignVCenter,
                                  lines[next]);
            bottom = std::max(bottom, y);
        }
        y_ = bottom;
        if (next < lines.size()) newPage();
    }
}

QPageSize localePageSize() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

std::string writeSheetPdf(const std::string& path, const QString& title, const SheetPaint& paint,
                          int langOffset) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("ZEPHALON"));
        pdf.setResolution(kPdfResolution);
        pdf.setPageSize(localePageSize());
        pdf.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                           QPageLayout::Millimeter);
        SheetPainter sheet(pdf, langOffset);
        paint(sheet);
    }
    return writeFileAtomically(path, bytes.toStdString());
}

void printSheet(QWidget* parent, const QString& title, const SheetPaint& paint, int langOffset) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageSize(localePageSize());
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                           QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    SheetPainter sheet(printer, langOffset);
    paint(sheet);
}

QDateTime documentDate(const std::string& path) {
    const QFileInfo info(fromSystemPath(path));
    return info.exists() ? info.lastModified() : QDateTime::currentDateTime();
}

} // namespace base
