#pragma once
#include "base/ui/ChildWindow.h"

class QPlainTextEdit;

namespace measure {

// The notes of the current measurement (window 34): a plain resizable text editor over the
// one notes text the measurement windows share. A new measurement's notes start empty.
// ComNote of a measurement window opens it through the main window (entry "mnuMisRotNote"),
// which brings an open one to the front instead.
class frmMisRotNote : public base::ChildWindow {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 12000; // twips
    static constexpr int DefaultHeight = 9000;

    explicit frmMisRotNote(base::WindowContext& ctx, QWidget* parent = nullptr);
    ~frmMisRotNote() override;

    void Form_Load() override;
    // The editor's text in the file's form (CR LF line ends, 8-bit).
    std::string notesText() const;

protected:
    QSize minimumContentSize() const override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Text1_Change();
    void activated();

    QPlainTextEdit* Text1;
    bool closed_ = false;
};

} // namespace measure
