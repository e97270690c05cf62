#pragma once

#include <QString>

namespace quilloa {

// The single row of 设置. Margins are millimetres held as text.
struct SettingsRecord
{
    QString doctor;         // 医生
    QString topMargin;      // 上边距 (prescription)
    QString leftMargin;     // 左边距 (prescription)
    QString cardTopMargin;  // 上边距1 (injection card)
    QString cardLeftMargin; // 左边距1 (injection card)
    QString dispenser;      // 配药
    QString clinicName;     // 名称
};

} // namespace quilloa
