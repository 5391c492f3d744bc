#pragma once
#include <QDateTime>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QPagedPaintDevice;
class QWidget;

namespace base {

// A printed sheet being painted, page after page: the painter on the device, the page's
// area inside its margins and the position reached, so that text and pictures follow
// each other and a new page begins when the room runs out. Sizes are in the device's
// pixels; pt() converts points.
class SheetPainter {
public:
    SheetPainter(QPagedPaintDevice& device, int langOffset);
    ~SheetPainter();

    QPainter& painter() { return painter_; }
    int langOffset() const { return langOffset_; }
    bool english() const { return langOffset_ == 200; }
    // The language's word of the two.
    QString tr(const char* italian, const char* english) const {
        return QString::fromUtf8(this->english() ? english : italian);
    }
    double pt(double points) const;
    QRectF page() const { return page_; }
    double remaining() const { return page_.bottom() - y_; }

    // The sheet's heading: title, then the name of the file at path and its date.
    void heading(const QString& title, const QString& file, const QDateTime& date);
    // One line of text (a monospaced font when mono); a new page first when it does not fit.
    void line(const QString& text, bool mono = false, bool bold = false);
    void gap(double points);
    // A heading in bold, then the text's lines (any line ends); nothing when text is empty.
    void paragraphs(const QString& heading, const QString& text);
    // A block of the page's width and this height for a picture, on a new page when it
    // does not fit on this one.
    QRectF block(double height);
    // Lines in as many columns as fit across the page, each column under its heading
    // (repeated at the top of each column), flowing on to further pages.
    void columns(const QString& heading, const QStringList& lines);
    void newPage();

private:
    double lineHeight(const QFont& font) const;

    QPagedPaintDevice& device_;
    QPainter painter_;
    int langOffset_;
    QRectF page_;
    double y_ = 0;
    QFont text_;
    QFont mono_;
};

using SheetPaint = std::function<void(SheetPainter&)>;

// The page size the system's locale uses: Letter where the measurements are American,
// otherwise A4.
QPageSize localePageSize();
// The sheet as PDF, written atomically to path (UTF-8); an empty text or the failure.
std::string writeSheetPdf(const std::string& path, const QString& title, const SheetPaint& paint,
                          int langOffset);
// Prints the sheet on a printer the user chooses in the system's print dialog.
void printSheet(QWidget* parent, const QString& title, const SheetPaint& paint, int langOffset);
// The date a document's sheet shows: its file's, or now for a document never saved.
QDateTime documentDate(const std::string& path);

// A window whose document prints as a sheet (File > Stampa, Esporta PDF).
class SheetWindow {
public:
    virtual ~SheetWindow() = default;
    // The document's path (the PDF is proposed beside it) and the sheet's title.
    virtual std::string sheetPath() const = 0;
    virtual QString sheetTitle(int langOffset) const = 0;
    virtual void paintSheet(SheetPainter& sheet) = 0;
};

} // namespace base
