#pragma once
#include <QLocale>
#include <QTranslator>

namespace shell {

// The toolkit's own texts (standard buttons, its dialogs, the context menus of text boxes)
// and its date formats in the program's language: for LangCode 1 the translations shipped
// with Qt are loaded from its translations folder; English is the toolkit's own language.
// Installed while this object lives.
class ToolkitLanguage {
public:
    explicit ToolkitLanguage(int langCode);
    ~ToolkitLanguage();
    ToolkitLanguage(const ToolkitLanguage&) = delete;
    ToolkitLanguage& operator=(const ToolkitLanguage&) = delete;

    // False when the language needs translations and they were not found.
    bool loaded() const { return loaded_; }

private:
    QTranslator translator_;
    QLocale previousLocale_;
    bool installed_ = false;
    bool loaded_ = true;
};

} // namespace shell
