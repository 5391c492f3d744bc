#pragma once
#include "base/ui/ChildWindow.h"
#include "base/ui/DocumentKind.h"
#include "coil/CoilDocument.h"
#include "coil/CoilEntry.h"
#include "coil/CoilTransfer.h"
#include "coil/CoilWindowState.h"
#include "coil/IbobFile.h"
#include "protocol/UnitLink.h"
#include "protocol/UnitReplyWait.h"
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;
namespace auxiliary {
class frmProgressBar;
} // namespace auxiliary

namespace coil {

class CoilCurrentPicture;
class CoilBandPicture;

// The coil pulse editor, windows 12-21: the six dwell times per speed band, the coil and
// supply data, the simulated coil current at the reference speed, and the transfer of the
// program into either module of the unit with read-back.
class frmProgTempoBobina : public base::ChildWindow,
                           public base::DocumentWindow,
                           public protocol::ReplyListener,
                           public protocol::LinkObserver {
    Q_OBJECT
public:
    static constexpr int16_t DefaultWidth = 12150; // twips
    static constexpr int16_t DefaultHeight = 7620; // twips

    // A file the open command read, handed to the new window.
    struct OpenedFile {
        IbobRead file;
        std::string path;
    };

    frmProgTempoBobina(base::WindowContext& ctx, int windowNumber,
                       std::optional<OpenedFile> opened = std::nullopt, QWidget* parent = nullptr);
    ~frmProgTempoBobina() override;

    // The reader: a window for the bytes of a .ibob file, or nullptr and refusal 1 when
    // the file is no coil program (nothing is shown then).
    static base::ChildWindow* read(base::WindowContext& ctx, int windowNumber,
                                   const std::string& path, const std::string& bytes, int& refusal);

    void Form_Load() override;
    const coil::DocImage& document() const { return doc_; }

    // The kind's entry in the File menu's dispatch: windows 12-21, ".ibob".
    static base::DocumentKind documentKind();

    // DocumentWindow. The path Save writes to is empty while the program has never been
    // saved under a name of its own, so that a name is asked for instead of writing over
    // "NuovoFile.ibob".
    std::string documentPath() const override;
    // The writer: the 44 bytes of the .ibob file.
    std::string documentBytes() override;
    // The file is safely written at path: the program is neither modified nor untitled, its
    // path and caption follow.
    void documentSaved(const std::string& path) override;
    bool documentModified() const override { return doc_.modified(); }

    // Every message the decoder takes: the transfer's read-back answers come in here.
    void offer(uint32_t message) override;
    bool transferRunning() const { return transfer_.running(); }
    // The Timer1 handler: one step of the transfer.
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One number box with its scroll bar.
    struct Field {
        QLineEdit* text = nullptr;
        QScrollBar* scroll = nullptr;
    };
    // In the order of Quantity.
    enum FieldId { FL, FR, FRPerc, FVB, FVR, FieldCount };

    void buildControls();
    void layoutControls();
    void connectControls();
    void showDocument();
    // The caption and enables as view_ (completed from the link and the transfer) has them.
    void render();

    void scrollChanged(FieldId id, int value);
    void textChanged(FieldId id, const QString& text);
    void textFinished(FieldId id);
    QString textOfRaw(FieldId id, int raw) const;
    std::optional<int> rawOfText(FieldId id, const QString& text) const;
    int rawOfDocument(FieldId id) const;
    void ComboMS_Click(int band, int index);

    // The recalculation: figures, graph and the labels at the curve's end.
    void recalculate();
    void placeEndLabels();

    // The window became active: the programming buttons follow EEPROMMode.
    void activated();
    // LinkObserver: the unit's mode changed.
    void linkChanged() override;
    void CommProgBobinaMS_Click(int k);
    // The transfer's progress window: the phase, the share done and the time left.
    void showProgress();
    void closeProgress();
    auxiliary::TransferSubject subject() const;
    void Form_Unload();

    std::array<Field, FieldCount> fields_;
    std::array<QComboBox*, BandCount> ComboMS{};
    std::array<QPushButton*, 3> CommProgBobinaMS{}; // [1] Master, [2] Slave
    CoilCurrentPicture* Picture1 = nullptr;
    CoilBandPicture* PictureBande = nullptr;
    QLabel* LabVRT = nullptr;
    QLabel* LabTXDiv = nullptr;
    QLabel* LabIbob = nullptr;
    QLabel* LabE = nullptr;
    QLabel* LabIMax = nullptr;
    QLabel* LabEMax = nullptr;
    QLabel* LabPMed = nullptr;
    QLabel* LabTempoBobina = nullptr;
    std::array<QLabel*, FieldCount> captions_{}; // LabL, LabR, LabRPerc, LabVB, LabVR
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

    coil::DocImage doc_;
    CoilWindowState view_;
    std::optional<OpenedFile> opened_;
    protocol::UnitReplyWait wait_;
    coil::CoilTransfer transfer_;
    QPointer<auxiliary::frmProgressBar> progress_;
    bool transferMaster_ = true;
    bool syncing_ = false; // a text box is moving its scroll bar
    bool unloaded_ = false;
};

} // namespace coil
