#include "core/oldimport/JetHeader.h"

#include <QByteArray>
#include <QFile>

namespace quilloa {

namespace {

constexpr int kVersionOffset = 0x14;
const QByteArray kJetSignature = QByteArrayLiteral("\0\1\0\0Standard Jet DB\0");
const QByteArray kAceSignature = QByteArrayLiteral("\0\1\0\0Standard ACE DB\0");

QString aceName(int version)
{
    switch (version) {
    case 2:
        return QStringLiteral("Access 2007");
    case 3:
        return QStringLiteral("Access 2010");
    case 4:
        return QStringLiteral("Access 2013");
    case 5:
        return QStringLiteral("Access 2016");
    default:
        return QStringLiteral("Access 2019 或更新");
    }
}

} // namespace

JetStatus JetHeader::probe(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return JetStatus::failure(JetStatus::Fault::Unreadable, path, file.errorString());
    const QByteArray head = file.read(kPageSize);
    const int version = head.size() > kVersionOffset ? quint8(head.at(kVersionOffset)) : -1;
    if (head.startsWith(kAceSignature))
        return JetStatus::failure(JetStatus::Fault::NewerFormat, path, aceName(version));
    if (!head.startsWith(kJetSignature))
        return JetStatus::failure(JetStatus::Fault::NotJet, path);
    if (version == 0)
        return JetStatus::failure(JetStatus::Fault::OlderFormat, path);
    if (version > 1)
        return JetStatus::failure(JetStatus::Fault::NewerFormat, path, aceName(version));
    if (head.size() < kPageSize || file.size() % kPageSize != 0 || file.size() < 3 * kPageSize)
        return JetStatus::failure(JetStatus::Fault::Damaged, path,
                                  QStringLiteral("文件长度不是整页，可能只复制了一部分"));
    return JetStatus::success();
}

} // namespace quilloa
