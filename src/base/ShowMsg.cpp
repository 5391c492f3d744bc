#include "base/ShowMsg.h"

#include <array>
#include <cstdio>
#include <string>

namespace base {

namespace {

// String id shown by each message code; -1 marks a code that has no message.
constexpr std::array<int, 40> kCodeIds = {
    76,  1,   100, 82, 14,  79,  40,  41, 42,  43,  // 0-9
    16,  110, 49,  89, 77,  78,  93,  90, 27,  28,  // 10-19
    18,  19,  20,  21, 66,  104, 105, 15, 26,  109, // 20-29
    110, 112, 116, 16, 117, 118, 119, -1, 154, 155, // 30-39
};

constexpr int kGenericCode = 0;

} // namespace

int messageStringId(int code) {
    if (code < 0 || code >= static_cast<int>(kCodeIds.size())) return -1;
    return kCodeIds[static_cast<size_t>(code)];
}

std::string composeMessage(const Texts& texts, int code, std::string_view insert) {
    const int id = messageStringId(code);
    std::string message = id < 0 ? std::string() : texts.text(id);
    if (message.empty()) {
        // A code without a message still tells the user something went wrong, and keeps
        // the detail the caller passed along.
        message = texts.text(messageStringId(kGenericCode));
        if (!insert.empty()) message.append(": ").append(insert);
        return message;
    }
    return withInsert(std::move(message), insert);
}

std::string withInsert(std::string text, std::string_view insert) {
    if (const auto mark = text.find('_'); mark != std::string::npos) text.replace(mark, 1, insert);
    return text;
}

std::string fileErrorText(const Texts& texts, int textId, std::string_view path,
                          std::string_view reason) {
    std::string text = texts.text(textId);
    text.append(": ").append(path);
    if (!reason.empty()) text.append(" (").append(reason).append(")");
    return text;
}

void MessageService::ShowMsg(int code, std::string_view title, std::string_view insert) {
    notifier().warning(std::string(title), composeMessage(texts_, code, insert));
}

void UnattendedNotifier::warning(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

Notifier::Answer UnattendedNotifier::question(const std::string&, const std::string&) {
    return Answer::No;
}

void UnattendedNotifier::notice(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace base
