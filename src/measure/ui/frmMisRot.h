#pragma once
#include "base/ui/ChildWindow.h"
#include "base/ui/DocumentKind.h"
#include "base/ui/Sheet.h"
#include "measure/LiveText.h"
#include "measure/RotationControls.h"
#include "measure/RotationGraph.h"
#include "measure/RotationMeasurement.h"
#include "protocol/DecoderSinks.h"
#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTimer;
namespace protocol {
class SilenceLabel;
} // namespace protocol

namespace measure {

class MisRotPicture;
class RowListModel;
class RowListView;

// The rotation measurement window (33): Start and Stop the acquisition of one row per
// engine revolution, hold every row (List1), show them live as text or as a storage
// oscilloscope graph, the extended table, and save them as a .mrot file.
class frmMisRot : public base::ChildWindow,
                  public protocol::MeasurementSink,
                  public base::DocumentWindow,
                  public base::SheetWindow {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 16000; // twips
    static constexpr int DefaultHeight = 10000;
    // The live views (text, graph, labels, list length) are brought up to date at most this
    // often; rows are stored as they come.
    static constexpr int RefreshIntervalMs = 33;
    static constexpr int64_t GraphRowWrap = 32000;

    explicit frmMisRot(base::WindowContext& ctx, QWidget* parent = nullptr);
    ~frmMisRot() override;

    void Form_Load() override;

    // MeasurementSink
    bool running() const override;
    void addRow(const protocol::MeasurementRow& row) override;

    // DocumentWindow: a new measurement's path is its name in the start folder.
    std::string documentPath() const override;
    void documentWriting(const std::string& path) override { writePath_ = path; }
    std::string documentBytes() override;
    void documentSaved(const std::string& path) override;
    // Not while acquiring, nor before a new measurement's first Stop.
    bool documentSavable() const override { return !state_.acquiring && state_.saveOffered; }
    // Rows recorded and not saved (a recording still running included).
    bool documentModified() const override { return doc_.modified && !doc_.rows.empty(); }
    // The reader: takes a .mrot file's rows and notes before the window loads; false when
    // the file is refused.
    bool takeDocument(const std::string& path, const std::string& bytes);

    const RotationMeasurement& measurement() const { return doc_; }
    const RotationGraph& graph() const { return graph_; }

    // SheetWindow: the measurement's printed sheet, the graph's screen as shown.
    std::string sheetPath() const override { return documentPath(); }
    QString sheetTitle(int langOffset) const override;
    void paintSheet(base::SheetPainter& sheet) override;

    // The key map of ComStop and ComAttiva.
    void MRKeyDown(int keyCode);

protected:
    QSize minimumContentSize() const override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The caption before the document's name.
    static constexpr const char* kCaption = "Misura Rotazione: ";
    void ComStop_Click();
    void startAcquisition();
    void stopAcquisition();
    void ComSospendi_Click();
    void ComAttiva_Click();
    void ComNuovaMisura_Click();
    void ComSalva_Click();
    void ComNote_Click();
    void ComAnticipo_Click();
    void ComDatiGrafico_Click();
    void ComDatiEst_Click();
    void ComScanAuto_Click();
    void ComSincTc_Click();
    void ComEsporta_Click();
    void List1_Click();
    void HScrollTempoDiv_Change(int value);
    void HScrollTempoDivFine_Change(int value);
    void HScrollTempoMem_Change(int value);
    void VScroll12_Change();
    void VScroll3_Change(int value);
    void VScroll4_Change(int value);
    void scaleChanged(size_t bar);

    void render();
    void refreshViews();
    void showMemoryRange();
    void showTimeBase(int coarse);
    void sweepOptionChanged();
    void newMeasurement();
    void showTakenDocument();
    bool askToSave();
    void setCaption(bool modified);
    void markModified();
    bool graphView() const;
    void layoutControls();
    void applyGraphSettings();
    void GrigliaDis();
    void GrigliaDisScalaOrd();
    void MisRotDiagrammaAgg(int redrawState);
    void showRowLabels(size_t rowIndex);
    void setMenus(std::initializer_list<const char*> entries, bool enabled);
    void openEntry(const char* entry);

    RotationMeasurement doc_;
    RotationSituation state_;
    RotationGraph graph_;
    LiveText live_;
    bool liveDirty_ = false;
    size_t graphDrawn_ = 0; // rows already drawn live
    int64_t lastRowNo_ = 0;
    int64_t lastElapsedUs_ = 0;
    bool rowsSinceRefresh_ = false;
    uint32_t overrunsAtStart_ = 0;
    bool recordedHere_ = false; // the lost count above belongs to these rows
    bool closed_ = false;
    bool documentTaken_ = false;
    std::string writePath_; // where the file being written goes (its path record)

    QPushButton* ComStop;
    QPushButton* ComSospendi;
    QPushButton* ComAttiva;
    QPushButton* ComNuovaMisura;
    QPushButton* ComSalva;
    QPushButton* ComNote;
    QPushButton* ComAnticipo;
    QPushButton* ComDatiGrafico;
    QPushButton* ComDatiEst;
    QPushButton* ComScanAuto;
    QPushButton* ComSincTc;
    QPushButton* ComEsporta;
    QLabel* Label1;
    QLabel* LabEst;
    RowListView* List1;
    RowListView* ListEst;
    QPlainTextEdit* Text1;
    QLabel* LabContRighe;
    QLabel* LabTmpMis;
    QLabel* LabPersi;
    QLabel* LabRot;                                  // the speed of the row shown, with its unit
    QLabel* LabOrdUnita;                             // the unit of the speed scale Ord
    protocol::SilenceLabel* LabNessunDato = nullptr; // a silent unit while recording
    MisRotPicture* Picture1;
    std::array<QLabel*, 10> Ord{};
    QScrollBar* HScrollTempoDiv;
    QLabel* LabTempoDiv;
    QScrollBar* HScrollTempoDivFine;
    QLabel* LabTempoDivFine;
    QScrollBar* HScrollTempoMem;
    std::array<QScrollBar*, 4> VScroll{};
    std::array<QLabel*, 4> LabVScroll{};
    RowListModel* rowsModel_;
    RowListModel* extendedModel_;
    QTimer* refreshTimer_;
};

} // namespace measure
