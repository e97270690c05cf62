#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

class QSqlError;

namespace quilloa {

// Why a store operation failed, in the terms the user can act on.
enum class StoreFault
{
    None,
    Missing,    // the file is not there
    Busy,       // another program holds a lock on it
    ReadOnly,   // the file or its folder cannot be written
    Unreadable, // the file is there but the user has no right to read it
    DiskFull,
    TooLong,     // a value is longer than its column allows
    Damaged,     // not a store, or a store that fails its check
    NoRow,       // the row to change is gone
    Unreachable, // the database server cannot be reached, or the connection to it was lost
    TooNew,      // made or changed by a newer program; detail() holds the store's version
    TimedOut,    // the database server did not answer within the time limit
    Failed,      // anything else: an I/O error, a broken statement
};

// What a store operation reports: success, or the cause of its failure with the file it
// concerns. error() words the cause for the user; detail() keeps the engine's own text.
class [[nodiscard]] StoreStatus
{
public:
    static StoreStatus success() { return StoreStatus(); }
    // A failure worded by the program itself; `message` is shown as it stands.
    static StoreStatus failure(QString message);
    static StoreStatus failure(StoreFault fault, QString path, QString detail = QString());
    // A failure reported by the database engine, sorted into its fault.
    static StoreStatus failure(const QSqlError& error, QString path);

    bool ok() const { return m_fault == StoreFault::None; }
    StoreFault fault() const { return m_fault; }
    const QString& path() const { return m_path; }
    const QString& detail() const { return m_detail; }
    // Plain Chinese naming the cause and what to do (see StoreMessage).
    QString error() const;

protected:
    StoreStatus() = default;

private:
    StoreFault m_fault = StoreFault::None;
    QString m_path;
    QString m_detail;
    QString m_message;
};

// A value or the reason there is none: ok() always means a value is held.
template <class T> class [[nodiscard]] StoreResult : public StoreStatus
{
public:
    StoreResult(T value) : m_value(std::move(value)) {}
    // Only a failure may stand in for a value; a success without one would be read as garbage.
    StoreResult(const StoreStatus& failed)
        : StoreStatus(failed.ok()
                          ? StoreStatus::failure(QStringLiteral("程序内部错误：结果缺少内容。"))
                          : failed)
    {
    }

    const T& value() const
    {
        Q_ASSERT_X(m_value.has_value(), "StoreResult::value", "read the value of a failure");
        return *m_value;
    }
    // Moves the value out, for types that are not meant to be copied (a running query).
    T takeValue()
    {
        Q_ASSERT_X(m_value.has_value(), "StoreResult::takeValue", "took the value of a failure");
        return std::move(*m_value);
    }
    T valueOr(T fallback) const { return ok() ? *m_value : std::move(fallback); }

private:
    std::optional<T> m_value;
};

} // namespace quilloa
