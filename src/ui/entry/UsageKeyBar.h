#pragma once

#include <QFrame>

class QLineEdit;
class QTextEdit;

namespace quilloa {

// The bar of usage keys under the desk: abbreviations and ready-made usage lines inserted into
// the prescription body.
class UsageKeyBar : public QFrame
{
    Q_OBJECT
public:
    UsageKeyBar(QTextEdit* body, QLineEdit* drugSearchBox, QWidget* parent = nullptr);

private:
    QTextEdit* m_body = nullptr;
    QLineEdit* m_drugSearchBox = nullptr;
};

} // namespace quilloa
