#include "uDB.h"
#include "uDir.h"

#include "dialogs/Dialogs.h"
#include "engine/Session.h"

#include <QDir>
#include <QFile>
#include <QTimer>

TDB1 *DB1 = nullptr;

namespace {
// The file of the database folder named `fileName`, matched without regard to case; empty when none.
QString findFile(const QString &folder, const QString &fileName) {
    QDir dir(folder);
    if (QFile::exists(folder + fileName))
        return folder + fileName;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &e : entries)
        if (e.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder + e;
    return QString();
}

std::function<QDateTime()> &testClock() {
    static std::function<QDateTime()> c;
    return c;
}
} // namespace

TDB1::TDB1(QObject *owner) : QObject(owner) {
    setObjectName(QStringLiteral("DB1"));
}

bool TDB1::TableExists(const QString &fileName) const {
    return !findFile(AppDirs->DBPath, fileName).isEmpty();
}

void TDB1::DeleteTableFiles(const QString &tableName) const {
    // Release the engine's hold on the files first, so nothing keeps using a deleted file.
    Session.CloseDatabase(AppDirs->DBPath);
    for (const char *ext : {".px", ".db"}) {
        const QString f = findFile(AppDirs->DBPath, tableName + QLatin1String(ext));
        if (!f.isEmpty())
            QFile::remove(f);
    }
}

void TDB1::OpenQuery(TQuery &query) const {
    if (query.DatabaseName() != AppDirs->DBPath)
        query.SetDatabaseName(AppDirs->DBPath);
    query.Open();
}

void TDB1::CreateTable(const QString &tableName, const QString &columns, bool replaceFirst) const {
    try {
        if (replaceFirst)
            DeleteTableFiles(tableName);
        TQuery q;
        q.SetDatabaseName(AppDirs->DBPath);
        q.SQLClear();
        q.SQLAdd(QStringLiteral("CREATE TABLE ") + tableName);
        q.SQLAdd(QStringLiteral("( ") + columns + QStringLiteral(")"));
        q.ExecSQL();
        q.Close();
    } catch (const Exception &e) {
        ShowMessage(QStringLiteral("Failed to create '") + tableName + QStringLiteral("' . ") + e.Message());
    }
}

void TDB1::SetSessionDirs() const {
    Session.SetNetFileDir(AppDirs->NetDir);
    try {
        Session.SetPrivateDir(AppDirs->PrivDir);
    } catch (...) {
        // The session keeps its previous private folder.
    }
}

QString QuotedStr(const QString &value) {
    QString s = value;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

int ReadWholeNumber(const QString &text, int fallback) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : fallback;
}

qint64 DayNumber(const QDate &date) {
    return QDate(1899, 12, 30).daysTo(date);
}

TDateStamp TDateStamp::From(const QDateTime &moment) {
    const QDate d = moment.date();
    TDateStamp s;
    s.Year = QString::number(d.year());
    s.Day = QString::number(d.day());
    s.Month = QString::number(d.month());
    s.DayOfWeek = QString::number(d.dayOfWeek() % 7 + 1); // 1 Sunday .. 7 Saturday
    s.Julian = QString::number(DayNumber(d));
    return s;
}

QDateTime Now() {
    return testClock() ? testClock()() : QDateTime::currentDateTime();
}

void SetClockForTests(std::function<QDateTime()> c) {
    testClock() = std::move(c);
}

void StampDateColumns(TQuery &query, const QDateTime &moment) {
    const TDateStamp s = TDateStamp::From(moment);
    query.FieldByName(QStringLiteral("Date_Year")).SetAsString(s.Year);
    query.FieldByName(QStringLiteral("Date_Day")).SetAsString(s.Day);
    query.FieldByName(QStringLiteral("Date_Month")).SetAsString(s.Month);
    query.FieldByName(QStringLiteral("Date_DayOfWeek")).SetAsString(s.DayOfWeek);
    query.FieldByName(QStringLiteral("Date_Julian")).SetAsString(s.Julian);
}

TTableOwner::TTableOwner(QObject *owner, QString tableName, QString createName, bool timerEnabled)
    : ownTableName_(std::move(tableName)), createName_(std::move(createName)) {
    Table = new TQuery(owner);
    Table->setObjectName(QStringLiteral("Table"));
    Table->SetSQL(QStringLiteral("select * from ") + ownTableName_);
    Timer1 = new QTimer(owner);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(20);
    Timer1->setSingleShot(true);
    if (timerEnabled)
        Timer1->start();
}

void TTableOwner::CreateOwnTable() {
    DB1->CreateTable(createName_, GetSchema(), false);
}

void TTableOwner::OpenOwnTable() {
    Table->Open();
}

void TTableOwner::EnsureTable() {
    Table->Close();
    TableName = ownTableName_;
    TableFile = ownTableName_ + QStringLiteral(".db");
    Table->SetDatabaseName(AppDirs->DBPath);
    if (DB1->TableExists(TableFile))
        return;
    CreateOwnTable();
    AfterCreate();
}
