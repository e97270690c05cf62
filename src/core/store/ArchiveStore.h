#pragma once

#include "core/records/PrescriptionRecord.h"
#include "core/records/VisitDates.h"
#include "core/store/StoreConnection.h"
#include "core/store/StoreResult.h"
#include "core/store/file/DirectRows.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>

namespace quilloa {

// The archive store: prescription records (档案) and the login password (密码).
// Rows come back in the order they were added unless an order is asked for.
class ArchiveStore
{
public:
    explicit ArchiveStore(const QString& filePath);
    // The archive tables of a server's database, or of a store file.
    explicit ArchiveStore(StoreConnection store);

    const StoreConnection& file() const { return m_file; }

    // The first `limit` records in the order they were added.
    StoreResult<QList<ArchiveEntry>> firstEntries(int limit) const;
    // Records whose name contains `nameText` and whose date begins with `datePrefix`.
    // "%" and "_" typed by the user keep acting as wildcards; a quote is just a character.
    StoreResult<QList<ArchiveEntry>> search(const QString& nameText,
                                            const QString& datePrefix) const;
    // The rows the same search finds, in the same order, without their texts: a list that
    // shows thousands of them reads each line's text with entriesOf() when it is shown.
    StoreResult<QList<qint64>> searchRows(const QString& nameText, const QString& datePrefix) const;
    // Whether a search is better read a page at a time: one without a name character to look up
    // finds every record of its dates, up to the whole archive when both texts are empty, and
    // a name looked up in the name index comes in row order, so a page costs the same however
    // many records hold the name.
    bool readsInPages(const QString& nameText, const QString& datePrefix) const;
    // The next `limit` rows the same search finds after row `afterRow`, in the same order; a
    // list reads a search that finds a great many records so, a page as it is scrolled to.
    StoreResult<QList<qint64>> searchRowsAfter(const QString& nameText, const QString& datePrefix,
                                               qint64 afterRow, int limit) const;
    // What a list shows of a search at first: every row it finds, or for a search read in
    // pages its first `pageSize` rows, the way chosen once for both.
    struct FirstRows
    {
        QList<qint64> rows;
        bool paged = false;
    };
    StoreResult<FirstRows> searchFirst(const QString& nameText, const QString& datePrefix,
                                       int pageSize) const;
    // Runs what a first name search needs once, so that the doctor's first search is as quick
    // as any later one; for a quiet moment after the window opened. `pageSize` as for
    // searchFirst().
    void prepareNameSearch(int pageSize) const;
    // The entries of these rows, in the same order; a row that no longer exists is left out.
    StoreResult<QList<ArchiveEntry>> entriesOf(const QList<qint64>& rows) const;

    // The record of one row; none when the row no longer exists.
    StoreResult<std::optional<PrescriptionRecord>> recordAt(qint64 rowId) const;
    // The first record, in the order they were added, whose key equals `key`.
    StoreResult<std::optional<PrescriptionRecord>> firstRecordWithKey(const QString& key) const;

    // Stores a new record; returns its row id.
    StoreResult<qint64> add(const PrescriptionRecord& record);
    // Deletes exactly the row `rowId`, and only while it still holds `key`.
    StoreStatus remove(qint64 rowId, const QString& key);

    // The visits of a period: their fees, their dates and fees, or what the clinic log lists of
    // them in the order their prescriptions were started (equal keys in the order saved). Each
    // visit goes to the reader as it is read; a fee that holds no value comes as none. The clinic
    // log's texts come as stored, valid while the reader runs: a month's thousands of rows are
    // copied once, as bytes, and turned into strings only where they are shown.
    using FeeReader = std::function<void(const std::optional<Money>& fee)>;
    StoreStatus readFees(const VisitDates& dates, const FeeReader& reader) const;
    using DatedFeeReader =
        std::function<void(const QString& date, const std::optional<Money>& fee)>;
    StoreStatus readDatedFees(const VisitDates& dates, const DatedFeeReader& reader) const;
    using VisitReader = std::function<void(const StoredVisit& visit)>;
    StoreStatus readVisits(const VisitDates& dates, const VisitReader& reader) const;

    StoreResult<QString> loginPassword() const;
    StoreStatus setLoginPassword(const QString& password);
    // The same, only while the stored form is still `read`; false, writing nothing, when another
    // room changed the password since.
    StoreResult<bool> changeLoginPassword(const QString& password, const QString& read);

    // The statement a search runs with its values, chosen for the data as it stands: the
    // cheapest exact query; with `rowsOnly` it selects the rows alone. Public so that tests
    // plan the statement the store really runs, not a copy of it.
    struct Statement
    {
        QString sql;
        QVariantList values;
    };
    Statement searchStatement(const QString& nameText, const QString& datePrefix,
                              bool rowsOnly) const;
    Statement pageStatement(const QString& nameText, const QString& datePrefix, qint64 afterRow,
                            int limit) const;

private:
    struct Page
    {
        qint64 afterRow = 0;
        int limit = 0;
    };
    // Rows whose texts entriesOf() reads with one statement: a block of the archive list.
    static constexpr int kRowsPerRead = 64;

    // The character of the name index a search reads, if the index can answer it.
    std::optional<QString> indexCharacter(const QString& nameText, const QString& datePrefix) const;
    // Reads a search one way: through the name index under `character`, or the plain way when
    // there is none; `seen` takes the state of the file the read saw.
    template <typename T>
    using SearchRead = std::function<StoreResult<T>(const std::optional<QString>& character,
                                                    DirectRows::View* seen)>;
    // Reads a search through the index while it is known to answer, checking afterwards that
    // the file did not change under that knowledge.
    template <typename T>
    StoreResult<T> readSearch(const QString& nameText, const QString& datePrefix,
                              const SearchRead<T>& read) const;
    Statement statementFor(const std::optional<QString>& character, const QString& nameText,
                           const QString& datePrefix, bool rowsOnly) const;
    Statement pageFor(const std::optional<QString>& character, const QString& nameText,
                      const QString& datePrefix, qint64 afterRow, int limit) const;
    Statement indexStatement(const QString& character, const QString& nameText,
                             const QString& datePrefix, bool rowsOnly,
                             const std::optional<Page>& page) const;
    // The record keys a statement selects, in its order.
    StoreResult<QList<qint64>> rowIds(const Statement& query,
                                      DirectRows::View* seen = nullptr) const;
    // Whether some record has no name (or that cannot be told now).
    bool lacksNames() const;
    // `expected`: how many rows the statement reads at most, when that is known beforehand.
    StoreResult<QList<ArchiveEntry>> entries(const QString& sql, const QVariantList& values,
                                             DirectRows::View* seen = nullptr,
                                             qsizetype expected = 0) const;
    StoreResult<std::optional<PrescriptionRecord>> record(const QString& sql,
                                                          const QVariant& value) const;
    StoreResult<qint64> insert(const PrescriptionRecord& record);
    static QVariantList valuesOf(const PrescriptionRecord& record);
    // The newest row that holds exactly this record, if any.
    StoreResult<std::optional<qint64>> savedRow(const PrescriptionRecord& record) const;
    // Saves on a server whose outcome is not known yet, by their values.
    static QString signatureOf(const PrescriptionRecord& record);
    static QSet<QString>& unsettledSaves();
    StoreStatus unknownOutcome(const StoreStatus& cause) const;

    StoreConnection m_file;
};

} // namespace quilloa
