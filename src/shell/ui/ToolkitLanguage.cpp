#include "shell/ui/ToolkitLanguage.h"
#include <QCoreApplication>
#include <QLibraryInfo>

namespace shell {

ToolkitLanguage::ToolkitLanguage(int langCode) {
    const bool italian = langCode != 2;
    QLocale::setDefault(italian ? QLocale(QLocale::Italian, QLocale::Italy)
                                : QLocale(QLocale::English, QLocale::UnitedKingdom));
    if (!italian) return;
    loaded_ =
        translator_.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded_) installed_ = QCoreApplication::installTranslator(&translator_);
}

ToolkitLanguage::~ToolkitLanguage() {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
    QLocale::setDefault(previousLocale_);
}

} // namespace shell
