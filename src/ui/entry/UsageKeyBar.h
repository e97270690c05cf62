#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QTextEdit;

namespace quilloa {

// The bar of usage keys under the desk: abbreviations and ready-made usage lines inserted at
// the caret of the prescription body, after which the drug search box is ready for the next
// drug code.
class UsageKeyBar : public QFrame
{
    Q_OBJECT
public:
    UsageKeyBar(QTextEdit* body, QLineEdit* drugSearchBox, QWidget* parent = nullptr);

    // The key Label5 `index`; none for an index that is not a key.
    QLabel* key(int index) const;

    // What a click on a key with this caption does.
    void useKey(const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextEdit* m_body = nullptr;
    QLineEdit* m_drugSearchBox = nullptr;
};

} // namespace quilloa
