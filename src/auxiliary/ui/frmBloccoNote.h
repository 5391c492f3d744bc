#pragma once
#include "base/ui/ChildWindow.h"
#include <cstdint>
#include <string>

namespace auxiliary {

class LimitedTextEdit;

// The notebook: one block of free text kept in "Notebook.txt" beside the program, saved
// whenever the window closes. Window number 38.
class frmBloccoNote : public base::ChildWindow {
    Q_OBJECT
public:
    static constexpr int MaxLength = 32000;
    // A notebook file larger than this is not read (it is left alone, like an unreadable one).
    static constexpr std::uintmax_t MaxFileSize = 1024 * 1024;

    explicit frmBloccoNote(base::WindowContext& ctx, QWidget* parent = nullptr);

    void Form_Load() override;

protected:
    QSize minimumContentSize() const override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Text1_Change();
    // Writes the buffer as the file's one record. False when the write failed and the
    // window should stay open with its text.
    bool Form_QueryUnload();
    void Form_Unload();
    // Reads the file into the buffer. False when it exists but cannot be read: the text box
    // is then read-only.
    bool readNotebookFile();
    // After a failed read: tries again and shows the text when it succeeds.
    void retryRead();
    // The text box at Top 10, Left 0, sized by the window's extents (twips) within the
    // client area.
    void placeTextBox(int windowWidth, int windowHeight);

    LimitedTextEdit* Text1;
    std::string buffer_;
    // The file exists but could not be read: it is left alone and the text is read-only.
    bool readFailed_ = false;
    std::string readError_; // the system's reason for the last failed read
};

} // namespace auxiliary
