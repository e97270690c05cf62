#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace quilloa {

// What a store operation reports: success, or the reason it failed. Callers decide whether to
// pass over a failure quietly or to tell the user.
class StoreStatus
{
public:
    static StoreStatus success() { return StoreStatus(); }
    static StoreStatus failure(QString error) { return StoreStatus(std::move(error)); }

    bool ok() const { return m_error.isNull(); }
    const QString& error() const { return m_error; }

protected:
    StoreStatus() = default;
    explicit StoreStatus(QString error)
        : m_error(error.isNull() ? QStringLiteral("unknown error") : std::move(error))
    {
    }

private:
    QString m_error;
};

template <class T>
class StoreResult : public StoreStatus
{
public:
    StoreResult(T value) : m_value(std::move(value)) {}
    StoreResult(const StoreStatus& failed) : StoreStatus(failed) {}

    const T& value() const { return *m_value; }
    // Moves the value out, for types that are not meant to be copied (a running query).
    T takeValue() { return std::move(*m_value); }
    T valueOr(T fallback) const { return ok() ? *m_value : std::move(fallback); }

private:
    std::optional<T> m_value;
};

} // namespace quilloa
