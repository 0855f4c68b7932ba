#pragma once
// The database module: table files in the database folder, opening queries there, creating tables, and
// the pattern every table-owning window follows. Also the few helpers every statement and stamped row
// goes through: SQL quoting, whole-number reading and the date columns.
#include "engine/TQuery.h"
#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>

class QTimer;

class TDB1 : public QObject {
    Q_OBJECT
public:
    explicit TDB1(QObject *owner);
    // True when DBPath + fileName exists as a file (matched without regard to case).
    bool TableExists(const QString &fileName) const;
    // Deletes the index file and the table file of a table, each only if present.
    void DeleteTableFiles(const QString &tableName) const;
    // Points the query at DBPath (if it points elsewhere) and opens it. Errors reach the caller.
    void OpenQuery(TQuery &query) const;
    // Creates a table; a failure is shown in a message ("Failed to create ...") and the caller goes on.
    void CreateTable(const QString &tableName, const QString &columns, bool replaceFirst) const;
    // Hands the engine session its network control folder and private folder.
    void SetSessionDirs() const;
};

extern TDB1 *DB1;

// A value as an SQL string literal: single quotes around it, inner single quotes doubled. The only way
// a value gets into the program's SQL text.
QString QuotedStr(const QString &value);

// Text read as a whole decimal number; anything else (empty, "2.5", "x") gives `fallback`.
int ReadWholeNumber(const QString &text, int fallback = 0);

// The five date columns of a stamped row, from one moment of local time.
struct TDateStamp {
    QString Year, Day, Month, DayOfWeek, Julian;
    static TDateStamp From(const QDateTime &moment);
};
// Whole days since 30 December 1899 (the day number kept in Date_Julian).
qint64 DayNumber(const QDate &date);
// The current local date and time; tests can set the clock.
QDateTime Now();
void SetClockForTests(std::function<QDateTime()> clock);
// Writes Date_Year, Date_Day, Date_Month, Date_DayOfWeek and Date_Julian of the query's current row.
void StampDateColumns(TQuery &query, const QDateTime &moment);

// What every window that owns a table has: its live query Table, the table's names, the one-shot
// 20 ms timer that ensures the table, and the create/ensure/open operations.
class TTableOwner {
public:
    virtual ~TTableOwner() = default;

    TQuery *Table = nullptr;
    QString TableName;
    QString TableFile;
    QTimer *Timer1 = nullptr;

    // The column list handed to CREATE TABLE.
    virtual QString GetSchema() const = 0;
    // Creates the table with the name the owner gives to CREATE TABLE.
    void CreateOwnTable();
    // Opens Table with its current statement.
    virtual void OpenOwnTable();
    // Makes sure the table file exists, creating the table (and what follows creation) when missing.
    void EnsureTable();

protected:
    // `owner` parents Table and Timer1. `startTimer` false for an owner whose table is ensured on demand.
    TTableOwner(QObject *owner, QString tableName, QString createName, bool timerEnabled);
    // Runs after the table was created; by default opens it.
    virtual void AfterCreate() { OpenOwnTable(); }

private:
    QString ownTableName_;
    QString createName_;
};
