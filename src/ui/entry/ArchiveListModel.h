#pragma once

#include "core/records/PrescriptionRecord.h"
#include "core/store/ArchiveStore.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include <optional>

namespace quilloa {

// The archive list's lines. A search hands over only the rows it found, in order, or the first
// page of them; the text of a line, 姓名[key], is read from the store a block at a time when the
// view first asks for it, so a search that finds every record shows at once however many lines it
// has.
class ArchiveListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    // The whole entry of a line, its row included.
    static constexpr int kEntryRole = Qt::UserRole;
    // Lines read from the store at once: about two screens of the list.
    static constexpr int kBlock = 64;
    // Rows of a search read a page at a time (see ArchiveStore::readsInPages) come this many
    // at once, the next page when the list is scrolled to the end of those it holds.
    static constexpr int kPage = 256;

    explicit ArchiveListModel(QObject* parent = nullptr);

    // Lines whose entries are known already.
    void setEntries(const QList<ArchiveEntry>& entries);
    // Lines for these rows of `store`, texts read when shown.
    void setRows(const ArchiveStore& store, QList<qint64> rows);
    // Lines for the first page of rows a search found; the next pages are read from `store`
    // as the list is scrolled.
    void setFirstPage(const ArchiveStore& store, const QString& nameText, const QString& datePrefix,
                      QList<qint64> rows);
    void clear();
    // The entry of a line; none for a line that does not exist, whose record is gone or
    // cannot be read now.
    std::optional<ArchiveEntry> entryAt(int line) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // Lines of the list could not be read (a damaged page of the archive, a lost connection):
    // they would otherwise show blank, as if no patient were there. Once per list filled, after
    // the view's painting is done.
    void readFailed(const QString& error);

private:
    void readBlock(int line) const;
    void tellFailure(const QString& error) const;

    std::optional<ArchiveStore> m_store;
    QList<qint64> m_rows;
    // The search whose further pages are still to be read, if any, and the last row read of
    // it: its line may have been removed since.
    struct PagedSearch
    {
        QString nameText;
        QString datePrefix;
        qint64 lastRow = 0;
    };
    std::optional<PagedSearch> m_pagedSearch;
    // line -> its entry, none when its record no longer exists.
    mutable QHash<int, std::optional<ArchiveEntry>> m_read;
    mutable bool m_failureTold = false;
};

} // namespace quilloa
