#pragma once
#include "base/Notifier.h"
#include <QString>
#include <functional>

class QWidget;

namespace base {

// Message boxes of the running program.
class QtNotifier : public Notifier {
public:
    // The window the boxes are centred on.
    void setParent(QWidget* parent) { parent_ = parent; }
    // Shows the notice window; set once the notice window exists.
    void setNoticeHandler(std::function<void(const QString&)> handler) {
        noticeHandler_ = std::move(handler);
    }

    void warning(const std::string& title, const std::string& text) override;
    Answer question(const std::string& title, const std::string& text) override;
    void notice(const std::string& text) override;

private:
    QWidget* parent_ = nullptr;
    std::function<void(const QString&)> noticeHandler_;
};

} // namespace base
