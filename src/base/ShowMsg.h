#pragma once
#include "base/Notifier.h"
#include "base/Texts.h"
#include <string>
#include <string_view>

namespace base {

// The string id each message code shows; -1 for an unknown code.
int messageStringId(int code);

// text with insert put in place of its first "_".
std::string withInsert(std::string text, std::string_view insert);

// The message text: text(id) with insert put in place of its first "_".
std::string composeMessage(const Texts& texts, int code, std::string_view insert);

// A file that could not be read or written, as every box names it: text(textId), the file
// and the system's reason ("Errore di lettura da disco: /x/Notebook.txt (Permission denied)").
std::string fileErrorText(const Texts& texts, int textId, std::string_view path,
                          std::string_view reason);

// What is said while nobody can answer: warnings and notices go to the standard error
// stream, every question is answered No.
class UnattendedNotifier : public Notifier {
public:
    void warning(const std::string& title, const std::string& text) override;
    Answer question(const std::string& title, const std::string& text) override;
    void notice(const std::string& text) override;
};

// The one message routine: composes the text and shows it in a warning box.
class MessageService {
public:
    MessageService(const Texts& texts, Notifier& notifier) : texts_(texts), notifier_(notifier) {}
    void ShowMsg(int code, std::string_view title, std::string_view insert);
    // The boxes of the program, or the unattended stand-in once the program is ending on a
    // signal.
    Notifier& notifier() { return unattended_ ? static_cast<Notifier&>(stderr_) : notifier_; }
    const Texts& texts() const { return texts_; }
    // From now on nothing waits for the user (see UnattendedNotifier).
    void setUnattended() { unattended_ = true; }

private:
    const Texts& texts_;
    Notifier& notifier_;
    UnattendedNotifier stderr_;
    bool unattended_ = false;
};

// Title of most message boxes.
inline constexpr const char* kAppTitle = "Quenaro v 2.3";
inline constexpr const char* kProductName = "ZEPHALON";
// The program's name line, as the status bar and the about box show it.
inline std::string programNameLine() {
    return std::string(kProductName) + " - " + kAppTitle;
}

} // namespace base
