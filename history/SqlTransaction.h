#pragma once

#include <QSqlDatabase>
#include <QSqlError>

namespace velarix {

// One SQLite transaction on a connection: begun by begin(), rolled back when the guard is destroyed
// (or reset) without a successful commit(), so no early return can leave it open or half applied.
class SqlTransaction {
public:
    enum class Mode { deferred, immediate };

    // `error` receives the reason when the transaction could not be begun (the guard is then inactive).
    static SqlTransaction begin(const QSqlDatabase& db, Mode mode, QSqlError* error);

    SqlTransaction() = default;
    SqlTransaction(SqlTransaction&& other) noexcept;
    SqlTransaction& operator=(SqlTransaction&& other) noexcept;
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;
    ~SqlTransaction();

    bool active() const { return m_active; }
    // Commits; on failure the transaction is rolled back and `error` says why.
    bool commit(QSqlError* error);
    void rollback();

private:
    QString m_connection;
    bool m_active = false;
};

} // namespace velarix
