#pragma once
#include <string>

namespace base {

// How core code shows a message box or the notice window. The windows layer shows real
// boxes; tests record what would have been shown.
class Notifier {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~Notifier() = default;
    // A warning box with an OK button (exclamation icon).
    virtual void warning(const std::string& title, const std::string& text) = 0;
    // A Yes / No / Cancel question (question icon).
    virtual Answer question(const std::string& title, const std::string& text) = 0;
    // The modeless notice window frmAvviso3 with its label text.
    virtual void notice(const std::string& text) = 0;
};

} // namespace base
