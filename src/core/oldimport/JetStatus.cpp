#include "core/oldimport/JetStatus.h"

#include <QDir>

namespace quilloa {

namespace {

QString wording(JetStatus::Fault fault, const QString& file, const QString& detail)
{
    switch (fault) {
    case JetStatus::Fault::None:
        return QString();
    case JetStatus::Fault::Unreadable:
        return QStringLiteral("无法读取“%1”（%2）。请确认文件还在、有读取它的权限，并且没有被别的"
                              "程序独占打开。")
            .arg(file, detail);
    case JetStatus::Fault::NoStores:
        return QStringLiteral("“%1”中没有旧程序的数据：这里既没有 档案.dat 也没有 设置.dat，也没有"
                              "放着它们的“数据库”文件夹。请选择旧程序的文件夹。")
            .arg(file);
    case JetStatus::Fault::NotJet:
        return QStringLiteral(
                   "“%1”不是旧程序的数据文件（不是 Access 数据库）。请选择旧程序的"
                   "文件夹、其中的“数据库”文件夹，或放有 档案.dat 和 设置.dat 的文件夹。")
            .arg(file);
    case JetStatus::Fault::OlderFormat:
        return QStringLiteral("“%1”是 Access 97（Jet 3）格式，比旧程序所用的 Access 2000（Jet 4）"
                              "格式更早，不能导入。请先用 Access 把它转换为 Access 2000 格式。")
            .arg(file);
    case JetStatus::Fault::NewerFormat:
        return QStringLiteral(
                   "“%1”是较新的 Access 格式（%2），不是旧程序所用的 Access 2000（Jet 4）"
                   "格式，不能导入。请在 Access 中把它另存为 Access 2000 格式的数据库"
                   "后再导入。")
            .arg(file, detail);
    case JetStatus::Fault::Damaged:
        return QStringLiteral("“%1”已损坏（%2），不能导入。请在 Access 中对它的一份副本做“压缩和"
                              "修复数据库”后再导入那份副本，或改用旧程序的备份。")
            .arg(file, detail);
    case JetStatus::Fault::CutValue:
        return QStringLiteral("“%1”中有一个值不能完整导入：%2。导入已停止，什么也没有写入。请在 "
                              "Access 中对旧文件的一份副本做“压缩和修复数据库”后再导入那份副本；"
                              "仍不行时，请在旧程序中改正或删去这条记录后再导入。")
            .arg(file, detail);
    case JetStatus::Fault::WrongTables:
        return QStringLiteral("“%1”不是旧程序的数据文件：%2。请选择旧程序的“数据库”文件夹。")
            .arg(file, detail);
    }
    return QString();
}

} // namespace

JetStatus JetStatus::failure(Fault fault, const QString& path, const QString& detail)
{
    JetStatus status;
    status.m_fault = fault;
    status.m_message = wording(fault, QDir::toNativeSeparators(path), detail);
    return status;
}

} // namespace quilloa
