#include "engine/Connection.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <sqlite3.h>
#include <cmath>
#include "engine/TQuery.h"
#include <sys/stat.h>

namespace {

// How long a writer waits for another installation's lock before it gives up.
constexpr int kBusyTimeoutMs = 10000;

QString lower(const QString &s) {
    return s.toLower();
}

// Modification stamp of the folder: changes when a file is created, renamed or removed.
qint64 folderStamp(const QString &folder) {
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return -2;
    return static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

bool isTableFileName(const QString &fileName) {
    return fileName.endsWith(QLatin1String(".db"), Qt::CaseInsensitive) && fileName.size() > 3;
}

QString tableOfFile(const QString &fileName) {
    return fileName.left(fileName.size() - 3);
}

const QRegularExpression &createTableRe() {
    static const QRegularExpression re(
        QString::fromLatin1(R"re(^\s*CREATE\s+TABLE\s+"?([A-Za-z_][A-Za-z0-9_]*)"?\s*\((.*)\)\s*;?\s*$)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

const QRegularExpression &autoincRe() {
    static const QRegularExpression re(QString::fromLatin1(R"re(\bautoinc\b)re"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression &charWidthRe() {
    static const QRegularExpression re(QString::fromLatin1(R"re(^\s*(?:var)?char\s*\(\s*(\d+)\s*\))re"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

// ROUNDEVEN(x): a count as the program reads it (a number; empty or non-numeric text is 0), rounded to
// the nearest whole number with halves going to the even number. Lets a whole pass over the counts run
// as one statement.
void roundEven(sqlite3_context *context, int, sqlite3_value **argv) {
    double v = 0;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        v = sqlite3_value_double(argv[0]);
        break;
    case SQLITE_TEXT: {
        const char *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
        v = ParseNumberText(QString::fromUtf8(text, sqlite3_value_bytes(argv[0])));
        break;
    }
    default:
        break;
    }
    sqlite3_result_double(context, std::nearbyint(v));
}

} // namespace

QString QuoteIdent(const QString &name) {
    // Built in one allocation: the engine quotes column names on every post of a bulk pass.
    QString s;
    s.reserve(name.size() + 2);
    s += QLatin1Char('"');
    if (name.contains(QLatin1Char('"'))) {
        for (QChar c : name) {
            s += c;
            if (c == QLatin1Char('"'))
                s += c;
        }
    } else {
        s += name;
    }
    s += QLatin1Char('"');
    return s;
}

Statement::~Statement() {
    if (stmt_)
        sqlite3_finalize(stmt_);
}

Connection::Connection(const QString &folder) : folder_(folder) {
    if (!folder_.endsWith('/'))
        folder_ += '/';
    if (!QFileInfo(folder_).isDir())
        throw EDatabaseError(QStringLiteral("The database folder %1 does not exist.").arg(QDir::toNativeSeparators(folder_)));
    // The main database is private and in memory; every table file is attached to it.
    int rc = sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI,
                             nullptr);
    if (rc != SQLITE_OK) {
        QString msg = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        if (db_)
            sqlite3_close(db_);
        db_ = nullptr;
        throw EDatabaseError(QStringLiteral("Cannot open the database engine: %1").arg(msg));
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 125);
    sqlite3_create_function_v2(db_, "ROUNDEVEN", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                               &roundEven, nullptr, nullptr, nullptr);
    Sync();
}

Connection::~Connection() {
    cache_.clear();
    if (db_) {
        if (txDepth_ > 0)
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db_);
    }
}

QString Connection::FileForTable(const QString &table) const {
    QDir dir(folder_);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    const QString wanted = lower(table) + QStringLiteral(".db");
    for (const QString &f : files)
        if (lower(f) == wanted)
            return folder_ + f;
    return QString();
}

void Connection::detachAll() {
    cache_.clear();
    columns_.clear();
    for (auto it = attached_.begin(); it != attached_.end(); ++it) {
        QString sql = QStringLiteral("DETACH DATABASE %1").arg(QuoteIdent(it->schema));
        sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    attached_.clear();
    badFiles_.clear();
}

void Connection::attach(const QString &fileName) {
    const QString table = tableOfFile(fileName);
    const QString key = lower(table);
    if (attached_.contains(key))
        return; // two files differing only in case: the first one found counts
    const QString schema = QStringLiteral("t%1_%2").arg(++schemaSeq_).arg(key);
    const QString path = folder_ + fileName;
    // Attach read-write without creating: a file that vanished in between is not made anew.
    const QString uri = QStringLiteral("file:%1?mode=rw").arg(QString::fromUtf8(QUrl::toPercentEncoding(path, "/")));
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db_, "ATTACH DATABASE ?1 AS ?2", -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        QByteArray u = uri.toUtf8(), s = schema.toUtf8();
        sqlite3_bind_text(st, 1, u.constData(), u.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, s.constData(), s.size(), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK) {
        badFiles_.insert(key, QString::fromUtf8(sqlite3_errmsg(db_)));
        return;
    }
    // Check the file really is a database now, so a damaged file only affects its own table.
    QString check = QStringLiteral("SELECT count(*) FROM %1.sqlite_master").arg(QuoteIdent(schema));
    char *err = nullptr;
    rc = sqlite3_exec(db_, check.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        badFiles_.insert(key, err ? QString::fromUtf8(err) : QStringLiteral("unreadable"));
        sqlite3_free(err);
        QString det = QStringLiteral("DETACH DATABASE %1").arg(QuoteIdent(schema));
        sqlite3_exec(db_, det.toUtf8().constData(), nullptr, nullptr, nullptr);
        return;
    }
    // Journal mode DELETE: WAL does not work on network file systems shared by installations.
    QString jm = QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(QuoteIdent(schema));
    sqlite3_exec(db_, jm.toUtf8().constData(), nullptr, nullptr, nullptr);
    attached_.insert(key, Attached{schema, path});
}

void Connection::Sync() {
    if (txDepth_ > 0)
        return; // files cannot be attached or detached inside a transaction
    const qint64 stamp = folderStamp(folder_);
    if (stamp == dirStamp_)
        return;
    QDir dir(folder_);
    QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QHash<QString, QString> present; // lower table -> file name
    for (const QString &f : files)
        if (isTableFileName(f) && !present.contains(lower(tableOfFile(f))))
            present.insert(lower(tableOfFile(f)), f);

    bool same = present.size() == attached_.size() + badFiles_.size();
    if (same) {
        for (auto it = present.begin(); it != present.end() && same; ++it) {
            auto a = attached_.find(it.key());
            if (a != attached_.end())
                same = a->file == folder_ + it.value();
            else
                same = false; // a bad file may have been repaired: try it again
        }
    }
    if (!same) {
        detachAll();
        for (auto it = present.begin(); it != present.end(); ++it)
            attach(it.value());
    }
    dirStamp_ = stamp;
}

QString Connection::translate(const QString &sql) const {
    QString out = sql;
    out.replace(autoincRe(), QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
    return out;
}

void Connection::createTable(const QString &name, const QString &columns) {
    Sync();
    const QString key = lower(name);
    if (attached_.contains(key) || badFiles_.contains(key) || !FileForTable(name).isEmpty())
        throw EDatabaseError(QStringLiteral("Table %1 already exists in %2.")
                                 .arg(name, QDir::toNativeSeparators(folder_)));
    const QString path = folder_ + name + QStringLiteral(".db");
    const QString schema = QStringLiteral("t%1_%2").arg(++schemaSeq_).arg(key);
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db_, "ATTACH DATABASE ?1 AS ?2", -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        QByteArray p = path.toUtf8(), s = schema.toUtf8();
        sqlite3_bind_text(st, 1, p.constData(), p.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, s.constData(), s.size(), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
        sqlite3_finalize(st);
    }
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        Fail(QStringLiteral("Cannot create the table file %1").arg(QDir::toNativeSeparators(path)), rc);
    QString jm = QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(QuoteIdent(schema));
    sqlite3_exec(db_, jm.toUtf8().constData(), nullptr, nullptr, nullptr);
    const QString ddl = QStringLiteral("CREATE TABLE %1.%2 (%3)")
                            .arg(QuoteIdent(schema), QuoteIdent(name), translate(columns));
    char *err = nullptr;
    rc = sqlite3_exec(db_, ddl.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        QString msg = err ? QString::fromUtf8(err) : QString();
        sqlite3_free(err);
        QString det = QStringLiteral("DETACH DATABASE %1").arg(QuoteIdent(schema));
        sqlite3_exec(db_, det.toUtf8().constData(), nullptr, nullptr, nullptr);
        QFile::remove(path);
        dirStamp_ = -1;
        throw EDatabaseError(QStringLiteral("Cannot create table %1 in %2: %3")
                                 .arg(name, QDir::toNativeSeparators(folder_), msg));
    }
    attached_.insert(key, Attached{schema, path});
    dirStamp_ = folderStamp(folder_);
}

void Connection::Fail(const QString &what, int rc, const QString &sql) {
    QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
    // A statement about a table whose file is damaged: name the file.
    static const QRegularExpression noTable(QString::fromLatin1(R"re(no such table: (?:\w+\.)?(\w+))re"));
    auto m = noTable.match(msg);
    if (m.hasMatch()) {
        const QString t = m.captured(1);
        auto bad = badFiles_.find(lower(t));
        if (bad != badFiles_.end())
            throw EDatabaseError(QStringLiteral("The table file %1 is not a valid database (%2).")
                                     .arg(QDir::toNativeSeparators(FileForTable(t)), *bad));
        throw EDatabaseError(QStringLiteral("Table %1 does not exist in %2.")
                                 .arg(t, QDir::toNativeSeparators(folder_)));
    }
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        msg = QStringLiteral("the table is locked by another user (%1)").arg(msg);
    QString text = what.isEmpty() ? msg : what + QStringLiteral(": ") + msg;
    if (!sql.isEmpty())
        text += QStringLiteral("\nStatement: ") + sql.simplified();
    text += QStringLiteral("\nDatabase folder: ") + QDir::toNativeSeparators(folder_);
    throw EDatabaseError(text);
}

sqlite3_stmt *Connection::Prepare(const QString &sql) {
    Sync();
    const std::string key = sql.toStdString();
    auto it = cache_.find(key);
    if (it != cache_.end())
        return it->second->get();
    const QString translated = translate(sql);
    QByteArray utf8 = translated.toUtf8();
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v3(db_, utf8.constData(), utf8.size(), SQLITE_PREPARE_PERSISTENT, &st, nullptr);
    if (rc != SQLITE_OK) {
        if (st)
            sqlite3_finalize(st);
        Fail(QString(), rc, sql);
    }
    if (!st) // an empty statement
        throw EDatabaseError(QStringLiteral("The query has no SQL statement."));
    if (cache_.size() > 64)
        cache_.clear();
    auto owned = std::make_unique<Statement>(st, db_);
    cache_.emplace(key, std::move(owned));
    return st;
}

void Connection::Release(sqlite3_stmt *stmt) {
    if (!stmt)
        return;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
}

void Connection::Exec(const QString &sql) {
    auto m = createTableRe().match(sql);
    if (m.hasMatch()) {
        createTable(m.captured(1), m.captured(2));
        return;
    }
    sqlite3_stmt *st = Prepare(sql);
    int rc = sqlite3_step(st);
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) {
        sqlite3_reset(st);
        Fail(QString(), rc, sql);
    }
    Release(st);
}

const std::vector<ColumnInfo> &Connection::Columns(const QString &table) {
    Sync();
    const QString key = lower(table);
    auto cached = columns_.find(key);
    if (cached != columns_.end())
        return *cached;
    auto a = attached_.find(key);
    if (a == attached_.end()) {
        auto bad = badFiles_.find(key);
        if (bad != badFiles_.end())
            throw EDatabaseError(QStringLiteral("The table file %1 is not a valid database (%2).")
                                     .arg(QDir::toNativeSeparators(FileForTable(table)), *bad));
        throw EDatabaseError(QStringLiteral("Table %1 does not exist in %2.")
                                 .arg(table, QDir::toNativeSeparators(folder_)));
    }
    std::vector<ColumnInfo> cols;
    QString sql = QStringLiteral("PRAGMA %1.table_info(%2)").arg(QuoteIdent(a->schema), QuoteIdent(table));
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr);
    if (rc != SQLITE_OK)
        Fail(QStringLiteral("Cannot read the columns of %1").arg(table), rc);
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ColumnInfo c;
        c.name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
        c.declType = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 2)));
        auto w = charWidthRe().match(c.declType);
        if (w.hasMatch())
            c.width = w.captured(1).toInt();
        const QString t = c.declType.toUpper();
        c.isInteger = t.contains(QLatin1String("INT"));
        c.isFloat = !c.isInteger && (t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("REAL")) ||
                                     t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM")));
        cols.push_back(c);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        Fail(QStringLiteral("Cannot read the columns of %1").arg(table), rc);
    return *columns_.insert(key, std::move(cols));
}

void Connection::Begin() {
    if (txDepth_ == 0) {
        Sync();
        char *err = nullptr;
        // IMMEDIATE: take the write lock now, so a bulk pass waits for another installation up front.
        int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, &err);
        sqlite3_free(err);
        if (rc != SQLITE_OK)
            Fail(QStringLiteral("Cannot start a transaction"), rc);
    }
    ++txDepth_;
}

void Connection::Commit() {
    if (txDepth_ == 0)
        return;
    if (--txDepth_ > 0)
        return;
    int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw EDatabaseError(QStringLiteral("Cannot commit the changes in %1: %2")
                                 .arg(QDir::toNativeSeparators(folder_), msg));
    }
}

void Connection::Rollback() {
    if (txDepth_ == 0)
        return;
    txDepth_ = 0;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}
