#pragma once
#include "base/ui/ChildWindow.h"
#include "base/ui/DocumentKind.h"
#include "base/ui/Sheet.h"
#include "curve/CurveEditorState.h"
#include "curve/CurveModel.h"
#include "curve/CurveTransfer.h"
#include "curve/GraphPen.h"
#include "protocol/DecoderSinks.h"
#include "protocol/UnitLink.h"
#include "protocol/UnitReplyWait.h"
#include <QPointer>
#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QUndoStack;
namespace auxiliary {
class frmProgressBar;
} // namespace auxiliary

namespace curve {

class frmProgCurva;

// The graph of the curve editor: drawn in twips at the screen's scale from the window's
// document; mouse events go back to the window.
class CurvePicture : public QWidget {
    Q_OBJECT
public:
    explicit CurvePicture(frmProgCurva& owner);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    frmProgCurva& owner_;
};

// The advance curve editor, windows 2-11: three curves drawn with the mouse on the fixed
// rpm / degree graph, the maximum rpm, notes, and the transfer of curve 1, 2 or both into
// a module of the unit with read-back verification.
class frmProgCurva : public base::ChildWindow,
                     public base::DocumentWindow,
                     public base::SheetWindow,
                     public protocol::ModeHolder,
                     public protocol::ReplyListener {
    Q_OBJECT
public:
    static constexpr int MaxWidthTwips = 14100;
    static constexpr int MaxHeightTwips = 8500;
    static constexpr int DefaultWidthTwips = 13200;
    static constexpr int DefaultHeightTwips = 7800;
    // Picture1 in twips: the graph and room for its scale labels and the speed unit.
    static constexpr int PictureWidth = GraphXMax + 300;
    static constexpr int PictureHeight = GraphY0 + 650;

    // A new, empty document (path: the default name in the start folder) ...
    frmProgCurva(base::WindowContext& ctx, int winNo);
    // ... or one read from path.
    frmProgCurva(base::WindowContext& ctx, int winNo, CurveDocument doc, std::string path);
    ~frmProgCurva() override;

    void Form_Load() override;
    // Brought forward by a mouse press: that press only activates the editor, it adds no
    // point (the release of that press ends it).
    void Form_Activate() override;

    // DocumentWindow
    std::string documentPath() const override { return path_; }
    std::string documentBytes() override;
    void documentSaved(const std::string& path) override;
    bool documentModified() const override { return modified(); }

    // The history of the graph's edits: every press, drag, CANCELLA and ANNULLA, undone
    // and redone from the Edit menu. Nothing while a transfer runs.
    bool canUndo() const override;
    bool canRedo() const override;
    void undo() override;
    void redo() override;

    // SheetWindow: the curve document's printed sheet.
    std::string sheetPath() const override { return path_; }
    QString sheetTitle(int langOffset) const override;
    void paintSheet(base::SheetPainter& sheet) override;

    // ModeHolder: the unit's answer to PROG ON, or none in time.
    void modeAnswered(int status) override;
    void modeTimedOut() override;
    // ReplyListener: the transfer's replies.
    void offer(uint32_t message) override;

    const CurveDocument& document() const { return doc_; }

    // ComCurva0Da takes curve 0, the comparison curve, from another curve file (the file's
    // only drawn curve, or the one the user picks); curves 1 and 2 are left as they are.
    // Puts c into curve 0 and shows it.
    void takeCurve0(const Curve& c);
    // Unsaved changes: the graph's history away from the saved step, or a change of the
    // maximum rpm or the notes.
    bool modified() const;
    int CurveSel() const { return view_.selected; }
    const curve::CurveTransfer& transfer() const { return transfer_; }
    // One tick of TimerProg (80 ms).
    void TimerProg_Timer();

private:
    friend class CurvePicture;
    void buildControls();
    void layoutControls();
    void loadDocument();

    // Graph
    void paintGraph(QPainter& p);
    void FormDiagrammaIniz(QPainter& p);
    void DrawCurve(QPainter& p, int c);
    void drawQuantised(QPainter& p, int c);
    void ShowCursorPosition(double x, double y);
    void graphPress(QMouseEvent* event);
    void graphMove(QMouseEvent* event);
    void graphRelease(QMouseEvent* event);

    // Editing
    using Curves = curve::Curves;
    // A graph edit of the selected curve is done: it goes into the history (the press and
    // release of one gesture make one step; gesture 0 is a step of its own).
    void recordEdit(const Curves& before, int gesture);
    // The history puts the curves back as they were before or after a step.
    void applyCurves(const Curves& curves, int edited);
    // The controls as view_ (completed from the document, the link and the transfer) has
    // them.
    void render();
    void markModified();
    void updateCaption();
    void ComCancella_Click();
    void ComAnnulla_Click();
    void ComboCA_Chosen(int index);
    void ComboCA_Typed();
    void ComCrva_Click(int n);
    void TextVRM_Change(const QString& text);
    void ComNote_Click();
    void ComCurva0Da_Click();

    // Programming
    void ComProg_Click();
    void programmingOff();
    void startTransfer(bool master);
    void endTransfer(int messageCode);
    void closeProgress();
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QSize minimumContentSize() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CurvePicture* Picture1;
    std::array<QLabel*, 11> LabAsc{};
    std::array<QLabel*, 6> LabOrd{};
    QLabel* LabAscUnita;
    QLabel* LabGMA;
    QLineEdit* TextVRM;
    QLabel* LabelVRM;
    QComboBox* ComboCA;
    QLabel* LabelCA;
    QPushButton* ComSalva;
    QPushButton* ComCancella;
    QPushButton* ComAnnulla;
    std::array<QPushButton*, 3> ComCrva{};
    QPushButton* ComApplica;
    QPushButton* ComNote;
    QPushButton* ComTabella;
    QPushButton* ComCurva0Da;
    QPushButton* ComProg;
    QPushButton* ComProgMaster;
    QPushButton* ComProgSlave;
    QPlainTextEdit* Note;
    QTimer* TimerProg;

    CurveDocument doc_;
    std::string path_;
    CurveEditorState view_;
    bool fieldsModified_ = false; // maximum rpm or notes changed since the last save
    QUndoStack* history_ = nullptr;
    GraphPen pen_;
    bool unloaded_ = false;
    bool activatingPress_ = false; // the mouse press in progress brought the editor forward

    protocol::UnitReplyWait wait_;
    curve::CurveTransfer transfer_;
    QPointer<auxiliary::frmProgressBar> progress_;
    auxiliary::TransferSubject
        subject_; // what the transfer writes, for its progress and its report
};

} // namespace curve
