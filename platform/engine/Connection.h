#pragma once
// One SQLite connection over a database folder. Every table file N.db of the folder is attached, so
// statements use bare table names. Files that appear or disappear are noticed before the next statement.
#include "engine/EDatabaseError.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement owned by the connection's cache; reset (not finalized) after use.
class Statement {
public:
    Statement(sqlite3_stmt *stmt, sqlite3 *db) : stmt_(stmt), db_(db) {}
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt *get() const { return stmt_; }

private:
    sqlite3_stmt *stmt_;
    sqlite3 *db_;
};

// What the engine knows of one column of a table.
struct ColumnInfo {
    QString name;
    QString declType; // as written in CREATE TABLE
    int width = 0;    // char(n): n; 0 for no limit
    bool isFloat = false;
    bool isInteger = false; // the autoinc key
};

class Connection {
public:
    explicit Connection(const QString &folder);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &Folder() const { return folder_; }
    sqlite3 *Handle() const { return db_; }

    // Prepares (or takes from the cache) a statement of the program or of the engine. Translates the
    // one dialect difference (autoinc). CREATE TABLE makes the table's own file.
    sqlite3_stmt *Prepare(const QString &sql);
    // Finishes use of a statement from Prepare (resets it and clears its bindings).
    void Release(sqlite3_stmt *stmt);
    // Executes a statement that returns no rows.
    void Exec(const QString &sql);

    // Columns of a table as created; throws when the table is unknown.
    const std::vector<ColumnInfo> &Columns(const QString &table);

    // Transactions. Nested Begin calls count; only the outermost Commit writes.
    void Begin();
    void Commit();
    void Rollback();
    bool InTransaction() const { return txDepth_ > 0; }

    // Builds the error for the last failure of the connection, naming the table file when it can.
    [[noreturn]] void Fail(const QString &what, int rc, const QString &sql = QString());

    // Brings the attached files in line with the folder's content (cheap when nothing changed).
    void Sync();

    // Table file on disk for a table name (matched without regard to case); empty when none.
    QString FileForTable(const QString &table) const;

private:
    void attach(const QString &fileName);
    void detachAll();
    void createTable(const QString &name, const QString &columns);
    QString translate(const QString &sql) const;

    QString folder_;
    sqlite3 *db_ = nullptr;
    int txDepth_ = 0;
    qint64 dirStamp_ = -1;
    // lower-case table name -> schema alias and file
    struct Attached {
        QString schema;
        QString file;
    };
    QHash<QString, Attached> attached_;
    QHash<QString, QString> badFiles_; // lower-case table -> reason
    std::unordered_map<std::string, std::unique_ptr<Statement>> cache_;
    QHash<QString, std::vector<ColumnInfo>> columns_;
    int schemaSeq_ = 0;
};

// Quoting of SQL identifiers inside the engine (never used for values of the program).
QString QuoteIdent(const QString &name);
