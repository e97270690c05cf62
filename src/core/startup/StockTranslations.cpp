#include "core/startup/StockTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quilloa {

bool StockTranslations::install()
{
    // The program is Chinese whatever the desktop's language, so the locale is fixed here.
    auto* translator = new QTranslator(QCoreApplication::instance());
    const bool loaded =
        translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace quilloa
