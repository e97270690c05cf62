#pragma once

namespace quilloa {

// Qt's own Chinese translations (Debian: qt6-translations-l10n), so message box buttons,
// the print dialog and file dialogs speak Chinese like the rest of the program.
class StockTranslations
{
public:
    // Installs qtbase_zh_CN into the running application; false when it is not installed, in
    // which case the stock dialogs stay English and the program works on.
    static bool install();
};

} // namespace quilloa
