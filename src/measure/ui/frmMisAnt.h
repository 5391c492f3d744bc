#pragma once
#include "base/ui/ChildWindow.h"
#include "base/ui/DocumentKind.h"
#include "base/ui/Sheet.h"
#include "curve/ui/CurveEditorList.h"
#include "measure/AdvanceControls.h"
#include "measure/AdvanceDiagram.h"
#include "measure/ClosedLoop.h"
#include "measure/ClosedLoopCheck.h"
#include "measure/CurrentMeasurement.h"
#include "measure/RotationMeasurement.h"
#include "measure/RowSelection.h"
#include "measure/ui/DiagramLayer.h"
#include "protocol/DecoderSinks.h"
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTimer;
namespace protocol {
class SilenceLabel;
} // namespace protocol

namespace measure {

class frmMisAntPicture;
class RowListModel;

// The advance measurement window (25): per revolution the advance the unit produced, as a
// table (List1), a live text (Text1) and a diagram of advance against speed (Picture1).
// List2 holds the rotation rows of the same revolutions; they are what is saved. While the
// rotation window is open it drives Start and Stop here, and the rows are the ones it holds:
// this window reads them (RowSelection) instead of keeping a copy.
class frmMisAnt : public base::ChildWindow,
                  public protocol::MeasurementSink,
                  public AdvanceFollower,
                  public base::DocumentWindow,
                  public base::SheetWindow {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 15000; // twips
    static constexpr int DefaultHeight = 10000;
    // Live views are brought up to date at most this often (ms).
    static constexpr int RefreshMs = 33;
    // Picture1's size (twips).
    static constexpr int PictureWidth = 9600;
    static constexpr int PictureHeight = 6500;

    explicit frmMisAnt(base::WindowContext& ctx, QWidget* parent = nullptr);
    ~frmMisAnt() override;

    void Form_Load() override;

    // The document kind of the advance window for the File menu's dispatch: saved with the
    // extension "mant", its files opened from the measurement filters.
    static base::DocumentKind documentKind();
    // DocumentWindow: a new measurement has only a name, so the first save asks where.
    std::string documentPath() const override;
    // The file records its own path: Save As writes the new one into it.
    void documentWriting(const std::string& path) override { writePath_ = path; }
    std::string documentBytes() override;
    void documentSaved(const std::string& path) override;
    // Not while the rows are coming in.
    bool documentSavable() const override { return !running(); }
    // Rows taken and not saved (while they are coming in too).
    bool documentModified() const override { return measurement_.modified; }

    // SheetWindow: the measurement's printed sheet, the diagram with its layers
    // (frmMisAntSheet.cpp).
    std::string sheetPath() const override { return documentPath(); }
    QString sheetTitle(int langOffset) const override;
    void paintSheet(base::SheetPainter& sheet) override;

    // Measurements and curves laid over the diagram (frmMisAntLayers.cpp): ComSovrapponi
    // lays a measurement file (.mrot, .mant) or the curves of a curve file (.crva),
    // ComSovrapponiCurva the curves of the curve window chosen in ComboSorgente; ListStrati
    // lists them (checked: shown), ComRimuoviStrato removes the one selected.
    const std::vector<DiagramLayer>& layers() const { return layers_; }
    // Lays the file at path; false (with a message) when it cannot be read or is refused.
    bool layFile(const std::string& path);

    // MeasurementSink
    bool running() const override;
    void addRow(const protocol::MeasurementRow& row) override;
    // AdvanceFollower: the rotation window's Start, Stop and new measurement.
    void followStart() override;
    void followStop() override;
    void followNewMeasurement() override;
    void followRowsGone() override;

    // Takes a measurement file's rows and notes (before Form_Load, or into the open window);
    // false, leaving the window empty, when the file is refused.
    bool readDocument(const std::string& path, std::string_view bytes);
    // Reads the file at path into the open window.
    bool openDocument(const std::string& path);
    // The rotation rows of the revolutions taken here (List2; List1 shows their advance rows).
    const RowSource& rows() const { return rows_; }
    // Clears Picture1 to its grid, places the axis labels and plots every row again.
    void MADiagrammaDis();

    // The closed-loop check: the table the measured points are compared with (nothing
    // before a check), and its summary so far.
    const std::optional<curve::Table>& referenceTable() const { return check_.reference(); }
    const ClosedLoopSummary& checkSummary() const { return check_.summary(); }
    // Sets the curve to check against, as a completed check does.
    void setReferenceTable(const curve::Table& table);
    // One tick of TimerVerifica, the read-back's 10 ms pace, as the timer does it.
    void checkTick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The captions before the document's name: a measurement taken or read, one saved.
    static constexpr const char* kCaption = "Misura Anticipo Fase: ";
    static constexpr const char* kSavedCaption = "Misura Anticipo: ";
    void ComStop_Click();
    void ComSospendi_Click();
    void ComAttiva_Click();
    void ComNuovaMisura_Click();
    void ComSalva_Click();
    void ComNote_Click();
    void ComDatiGrafico_Click();
    void ComEsporta_Click();
    void List1_Click();
    void limitsChanged();
    void ComVerifica_Click();
    void endReadBack();
    void cancelReadBackForRecording();
    void fillSourceChoice();
    // The open curve editor chosen as the source, looked up again among the open ones
    // (it may have closed since it was listed); nullptr when it is gone or none is chosen.
    const curve::OpenCurveDocument* chosenCurveWindow();
    std::vector<curve::OpenCurveDocument> openCurves_;
    void compareNewRows();
    void showSummary();

    void buildLayerControls();
    void placeLayerControls(int left, int top, int width);
    void addLayer(DiagramLayer layer);
    void layCurves(const curve::CurveDocument& doc, const QString& name, const QDateTime& date);
    void ComSovrapponi_Click();
    void ComSovrapponiCurva_Click();
    void ComRimuoviStrato_Click();
    void ListStrati_Changed(QListWidgetItem* item);
    void layersChanged();

    void startAcquisition();
    void stopAcquisition();
    void showAcquiring(bool acquiring);
    void render();
    void showRowLabels(size_t index);
    QString caption(const char* key) const;
    void clearMeasurement();
    void newDocumentName();
    void showLoadedDocument();
    void refresh();
    void placeAxisLabels();
    void layoutControls();
    bool rotationOpen() const;

    AdvanceSituation state_;
    RotationMeasurement measurement_; // the rows taken while the rotation window is closed
    RowSelection rows_;               // List1 and List2: these, or the rotation window's
    std::string writePath_;           // where the save in progress writes
    AdvanceDiagram diagram_;
    QString liveText_;
    bool liveDirty_ = false;
    bool loaded_ = false; // a file was read before Form_Load
    uint32_t overrunsAtStart_ = 0;
    std::vector<DiagramLayer> layers_;
    int layersLaid_ = 0; // chooses the next layer's colour
    ClosedLoopCheck check_;
    protocol::UnitReplyWait wait_;
    measure::TableReadBack readBack_;

    QPushButton* ComStop;
    QPushButton* ComSospendi;
    QPushButton* ComAttiva;
    QPushButton* ComNuovaMisura;
    QPushButton* ComSalva;
    QPushButton* ComNote;
    QPushButton* ComDatiGrafico;
    QPushButton* ComEsporta;
    QListView* List1;
    QListView* List2;
    QPlainTextEdit* Text1;
    frmMisAntPicture* Picture1;
    std::array<QLabel*, AdvanceDiagram::SpeedMax + 1> LabAsc{};
    std::array<QLabel*, AdvanceDiagram::AdvanceMax + 1> LabOrd{};
    QScrollBar* HScroll1;
    QScrollBar* HScroll2;
    QScrollBar* VScroll1;
    QScrollBar* VScroll2;
    QLabel* LabTmpMis;
    QLabel* LabContRighe;
    QLabel* LabPersi;
    QLabel* LabRot;                                  // the speed of the row shown, with its unit
    QLabel* LabAscUnita;                             // the unit of the speed axis
    protocol::SilenceLabel* LabNessunDato = nullptr; // a silent unit while recording
    QLabel* LabIntestazione;
    QComboBox* ComboSorgente;
    QComboBox* ComboCurva;
    QPushButton* ComVerifica;
    QLabel* LabVerifica;
    QListView* ListScarti;
    RowListModel* list1Model_;
    RowListModel* list2Model_;
    RowListModel* scartiModel_;
    QPushButton* ComSovrapponi = nullptr;
    QPushButton* ComSovrapponiCurva = nullptr;
    QPushButton* ComRimuoviStrato = nullptr;
    QListWidget* ListStrati = nullptr;
    QTimer* checkTimer_;
    QTimer* refreshTimer_;
    bool closed_ = false;
    bool askToSave();
};

} // namespace measure
