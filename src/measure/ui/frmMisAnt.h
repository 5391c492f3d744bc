#pragma once
#include "app/ui/ChildWindow.h"
#include "measure/AdvanceDiagram.h"
#include "measure/CurrentMeasurement.h"
#include "measure/RotationMeasurement.h"
#include "midi/DecoderSinks.h"
#include <QString>
#include <array>
#include <functional>
#include <vector>

class QLabel;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTimer;
class RingPollTimer;
class frmMisAntPicture;
class RowListModel;

// The advance measurement window (25): per revolution the advance the unit produced, as a
// table (List1), a live text (Text1) and a diagram of advance against speed (Picture1).
// List2 holds the rotation rows of the same revolutions; they are what is saved. While the
// rotation window is open it drives Start and Stop here.
class frmMisAnt : public ChildWindow, public MeasurementSink, public AdvanceFollower {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 15000; // twips
    static constexpr int DefaultHeight = 10000;
    // Live views are brought up to date at most this often (ms).
    static constexpr int RefreshMs = 33;
    // Picture1's size (twips).
    static constexpr int PictureWidth = 9600;
    static constexpr int PictureHeight = 6500;

    // Chooses a path to write to, starting in a folder; empty: cancelled.
    using PathChooser = std::function<QString(const QString& folder, const QString& suggested)>;

    explicit frmMisAnt(WindowContext& ctx, QWidget* parent = nullptr);
    ~frmMisAnt() override;

    void Form_Load() override;
    bool canSaveAs() const { return ComStop_text() == "Start"; }
    void saveDocumentAs();

    // MeasurementSink
    bool running() const override;
    void addRow(const MeasurementRow& row) override;
    // AdvanceFollower: the rotation window's Start, Stop and new measurement.
    void followStart() override;
    void followStop() override;
    void followNewMeasurement() override;

    // Reads a measurement file into the window; false (window left empty) when refused.
    bool openDocument(const std::string& path);
    // Writes the measurement to path; an empty text or the failure.
    std::string saveDocument(const std::string& path);
    const std::string& documentPath() const { return measurement_.path; }
    const RotationMeasurement& measurement() const { return measurement_; }
    const RowStore& advanceRows() const { return advanceRows_; }
    // Clears Picture1 to its grid, places the axis labels and plots every row again.
    void MADiagrammaDis();

    void setPathChooser(PathChooser chooser) { choosePath_ = std::move(chooser); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString ComStop_text() const;
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

    void startAcquisition();
    void stopAcquisition();
    void showAcquiring(bool acquiring);
    void showView();
    void clearMeasurement();
    void newDocumentName();
    void refresh();
    void placeAxisLabels();
    void layoutControls();
    void setSaveEntries(bool enabled);
    bool rotationOpen() const;
    bool dataView() const;
    QString choose(const QString& suggested, const QString& filter, const QString& suffix);

    RotationMeasurement measurement_; // List2: the rotation rows
    RowStore advanceRows_{kAdvanceRowLength};
    AdvanceDiagram diagram_;
    QString liveText_;
    bool liveDirty_ = false;
    bool ownAcquisition_ = false;
    uint32_t overrunsAtStart_ = 0;
    PathChooser choosePath_;

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
    QLabel* LabIntestazione;
    RowListModel* list1Model_;
    RowListModel* list2Model_;
    RingPollTimer* poller_;
    QTimer* refreshTimer_;
    bool closed_ = false;
};
