#pragma once

#include "core/exchange/ImportColumns.h"
#include "core/exchange/TextDecoding.h"
#include "core/records/ReferenceEntry.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreResult.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace quilloa {

// Names for a reference list read from a CSV file, checked line by line before anything is
// stored. A drug line is name, usage, code; a diagnosis or address line is name, code, unless a
// first line of column titles orders them otherwise. The usage may instead follow the name
// after "/", and a missing code is made from the name as the maintenance windows make it.
// A file that is not text, or has a line of control characters, gives no entry at all.
// Blanks round a field are dropped, except in a file the export wrote, which comes back exact.
class ReferenceImport
{
public:
    static constexpr int kCodeLimit = 50;

    struct Entry
    {
        QString name; // 名称 as stored (a drug's usage after "/")
        QString code; // 拼音 as stored
    };
    struct Refusal
    {
        int lineNumber = 0;
        QString reason;
    };

    // Checks the file's lines against each other and against the names already in the list.
    static ReferenceImport read(ReferenceList list, const QByteArray& fileBytes,
                                const QStringList& existingNames);

    const QList<Entry>& entries() const { return m_entries; }
    const QList<Refusal>& refused() const { return m_refused; }
    // Lines whose stored name the list (or an earlier line) already holds; they are skipped.
    const QList<int>& duplicateLines() const { return m_duplicates; }
    TextDecoding::Encoding encoding() const { return m_encoding; }
    // Why the whole file was refused ("不是……文本", "第3行有控制字符……"); empty when it was read.
    const QString& fileRefusal() const { return m_fileRefusal; }
    // Which column was taken for what, for the user to check.
    QString columnsText() const { return m_columns.description(); }

    // Adds every entry in one transaction: all of them or, when the store fails, none.
    StoreStatus store(const SettingsStore& settings) const;

    // "第3行：名称为空" and so on, one line per refused line, in file order.
    QStringList refusalLines() const;
    static int nameLimit(ReferenceList list);

private:
    explicit ReferenceImport(ReferenceList list)
        : m_list(list), m_columns(ImportColumns::inExportOrder(list))
    {
    }
    bool refuseFile(const TextDecoding::Decoded& decoded);
    void readRecord(int lineNumber, const QStringList& fields);
    bool refuseLongText(int lineNumber, const QString& what, const QString& text, int limit);

    ReferenceList m_list;
    QList<Entry> m_entries;
    QList<Refusal> m_refused;
    QList<int> m_duplicates;
    QSet<QString> m_knownNames;
    TextDecoding::Encoding m_encoding = TextDecoding::Encoding::Utf8;
    QString m_fileRefusal;
    ImportColumns m_columns;
    bool m_exact = false;
};

} // namespace quilloa
