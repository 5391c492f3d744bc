#pragma once
#include "app/Notifier.h"
#include "app/Texts.h"
#include <string>
#include <string_view>

// The string id each message code shows; -1 for an unknown code.
int messageStringId(int code);

// The message text: text(id) with insert put in place of its first "_".
std::string composeMessage(const Texts& texts, int code, std::string_view insert);

// The one message routine: composes the text and shows it in a warning box.
class MessageService {
public:
    MessageService(const Texts& texts, Notifier& notifier) : texts_(texts), notifier_(notifier) {}
    void ShowMsg(int code, std::string_view title, std::string_view insert);
    Notifier& notifier() { return notifier_; }
    const Texts& texts() const { return texts_; }

private:
    const Texts& texts_;
    Notifier& notifier_;
};

// Title of most message boxes.
inline constexpr const char* kAppTitle = "Quenaro v 2.3";
inline constexpr const char* kProductName = "ZEPHALON";
