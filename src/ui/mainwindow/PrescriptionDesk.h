#pragma once

#include <QWidget>

class QLabel;

namespace quilloa {

class AppContext;
class EntryFocusMemory;
class InjectionCard;
class KeyboardPanel;
class PrescriptionSheet;

// The teal desk of the main window (Picture1): the prescription sheet, the injection card and
// the on-screen keyboard, each lying on its grey shadow, and the "打印注射卡" link under the card.
class PrescriptionDesk : public QWidget
{
    Q_OBJECT
public:
    PrescriptionDesk(const AppContext& context, EntryFocusMemory* focusMemory, QWidget* parent);

    PrescriptionSheet* sheet() const { return m_sheet; }
    InjectionCard* card() const { return m_card; }
    KeyboardPanel* keyboard() const { return m_keyboard; }

    // Without a sheet to work on the desk stands empty.
    void setPanelsShown(bool shown);

signals:
    // A press on the desk itself or anything on it that lets the press through.
    void pressed();
    void cardLinkClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCardLink();

    PrescriptionSheet* m_sheet = nullptr;
    InjectionCard* m_card = nullptr;
    KeyboardPanel* m_keyboard = nullptr;
    QLabel* m_sheetShadow = nullptr;
    QLabel* m_cardShadow = nullptr;
    QLabel* m_keyboardShadow = nullptr;
    QLabel* m_cardLink = nullptr;
    QLabel* m_cardLinkImage = nullptr;
};

} // namespace quilloa
