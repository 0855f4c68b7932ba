// Engine overhead against SQLite itself, measured in one run on one table of 100,000 items:
//  (a) opening "select * from item" through TQuery and reading every field of every row, against the
//      same select stepped through the SQLite C API on a connection of its own;
//  (b) editing and posting every row inside one engine transaction, against one UPDATE statement.
// Each side runs several times, taking turns with the other; the best time of each counts. The last line
// holds the two ratios.
#include "engine/Session.h"
#include "engine/TQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {

// The item table's column list, as the item owner hands it to CREATE TABLE.
const char *const kItemColumns =
    "ID autoinc, Store char(2), Department_id char(2), Department char(64), item_name char(128), "
    "row char(3), col char(2),Count_Shop Float, Count_New Float, Count_InStore Float,count_default Float, "
    "Count_Total Float, Price Float,Date_Year char(4), Date_Day char(2),Date_Month char(2), "
    "Date_DayOfWeek char(1), Date_Julian char(12),Reconciled Float, Note char(255)";

// The table size; a smaller one can be given as the first argument (for profiling runs).
int kRows = 100000;

void check(int rc, sqlite3 *db, const char *what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, db ? sqlite3_errmsg(db) : "?");
        std::exit(1);
    }
}

sqlite3 *openFile(const QString &path) {
    sqlite3 *db = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    sqlite3_busy_timeout(db, 10000);
    return db;
}

// The fixture rows, written in one transaction straight into the table file.
void fillItems(const QString &file) {
    sqlite3 *db = openFile(file);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt *st = nullptr;
    check(
        sqlite3_prepare_v2(
            db,
            "INSERT INTO item (Store, Department_id, Department, item_name, Count_New, Count_InStore, "
            "count_default, Count_Total, Price, Date_Year, Date_Day, Date_Month, Date_DayOfWeek, "
            "Date_Julian, Reconciled, Note) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16)",
            -1, &st, nullptr),
        db, "prepare insert");
    for (int i = 0; i < kRows; ++i) {
        const QByteArray dept = QByteArray("Department ") + QByteArray::number(i % 40);
        const QByteArray name = QByteArray("Item ") + QByteArray::number(i).rightJustified(6, '0');
        const QByteArray note = i % 5 == 0 ? QByteArray("bought at the market") : QByteArray();
        sqlite3_bind_text(st, 1, "0", -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, QByteArray::number(i % 40).constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, dept.constData(), dept.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, name.constData(), name.size(), SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 5, i % 4 == 0 ? i % 7 : 0);
        sqlite3_bind_double(st, 6, i % 10);
        sqlite3_bind_double(st, 7, (i * 7) % 10);
        sqlite3_bind_double(st, 8, i % 10);
        sqlite3_bind_double(st, 9, 0.25 * (i % 97));
        sqlite3_bind_text(st, 10, "2024", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 11, "15", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 12, "3", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 13, "6", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 14, "45366", -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 15, i % 3);
        if (note.isEmpty())
            sqlite3_bind_null(st, 16);
        else
            sqlite3_bind_text(st, 16, note.constData(), note.size(), SQLITE_TRANSIENT);
        check(sqlite3_step(st), db, "insert");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

// Wall time of one run, in milliseconds.
double timed(const std::function<void()> &run) {
    QElapsedTimer t;
    t.start();
    run();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

volatile double sink = 0; // keeps the reads from being optimised away

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && std::atoi(argv[1]) > 0)
        kRows = std::atoi(argv[1]);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString folder = dir.path() + QLatin1Char('/');
    const QString file = folder + QStringLiteral("item.db");

    {
        TQuery create;
        create.SetDatabaseName(folder);
        create.SQLAdd(QStringLiteral("CREATE TABLE item"));
        create.SQLAdd(QStringLiteral("( ") + QLatin1String(kItemColumns) + QLatin1Char(')'));
        create.ExecSQL();
    }
    QElapsedTimer fillTime;
    fillTime.start();
    fillItems(file);
    std::printf("fixture: %d rows in %.0f ms\n", kRows, static_cast<double>(fillTime.elapsed()));

    // ---- (a) select and read every field
    const auto engineSelectRun = [&] {
        TQuery q;
        q.SetDatabaseName(folder);
        q.SQLAdd(QStringLiteral("select * from item"));
        q.Open();
        double sum = 0;
        qsizetype chars = 0;
        const int n = q.FieldCount();
        std::vector<TField *> fields;
        for (int i = 0; i < n; ++i)
            fields.push_back(&q.Fields(i));
        for (q.First(); !q.Eof(); q.Next())
            for (TField *f : fields) {
                if (f->DataType() == TFieldType::ftString)
                    chars += f->AsString().size();
                else
                    sum += f->AsFloat();
            }
        if (q.RecordCount() != kRows)
            std::fprintf(stderr, "engine select read %d rows\n", q.RecordCount());
        sink = sink + sum + static_cast<double>(chars);
    };

    sqlite3 *raw = openFile(file);
    const auto rawSelectRun = [&] {
        sqlite3_stmt *st = nullptr;
        check(sqlite3_prepare_v2(raw, "select * from item", -1, &st, nullptr), raw, "prepare select");
        const int n = sqlite3_column_count(st);
        double sum = 0;
        qsizetype chars = 0;
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++rows;
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_TEXT:
                    chars += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                               sqlite3_column_bytes(st, i))
                                 .size();
                    break;
                case SQLITE_NULL:
                    break;
                default:
                    sum += sqlite3_column_double(st, i);
                    break;
                }
            }
        }
        sqlite3_finalize(st);
        if (rows != kRows)
            std::fprintf(stderr, "C API select read %d rows\n", rows);
        sink = sink + sum + static_cast<double>(chars);
    };
    // The two sides take turns, so that load from other work on the machine falls on both alike.
    std::vector<double> engineSelects, rawSelects;
    for (int r = 0; r < 7; ++r) {
        engineSelects.push_back(timed(engineSelectRun));
        rawSelects.push_back(timed(rawSelectRun));
    }
    const double engineSelect = *std::min_element(engineSelects.begin(), engineSelects.end());
    const double rawSelect = *std::min_element(rawSelects.begin(), rawSelects.end());

    // ---- (b) edit and post every row in one transaction
    // The engine's pass is timed without opening the query (that is what (a) measures); the opening
    // time of the same runs is printed beside it. Again the two sides take turns.
    int round = 0;
    std::vector<double> opens, posts, updates, perRow;
    for (int r = 0; r < 5; ++r) {
        ++round;
        TQuery q;
        q.SetDatabaseName(folder);
        q.SQLAdd(QStringLiteral("select * from item"));
        QElapsedTimer t;
        t.start();
        q.Open();
        opens.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        t.restart();
        Session.RunBulk(folder, [&] {
            TField &count = q.FieldByName(QStringLiteral("Count_New"));
            TField &id = q.FieldByName(QStringLiteral("ID"));
            for (q.First(); !q.Eof(); q.Next()) {
                q.Edit();
                count.SetAsFloat(static_cast<double>((id.AsInteger() + round) % 9));
                q.Post();
            }
        });
        posts.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);

        ++round;
        const QByteArray sql =
            QByteArray("UPDATE item SET Count_New = (ID + ") + QByteArray::number(round) + ") % 9";
        updates.push_back(timed(
            [&] { check(sqlite3_exec(raw, sql.constData(), nullptr, nullptr, nullptr), raw, "update"); }));

        // For reference: what SQLite itself needs to update the rows one by one by ID, as a post does.
        ++round;
        perRow.push_back(timed([&] {
            check(sqlite3_exec(raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), raw, "begin");
            sqlite3_stmt *st = nullptr;
            check(sqlite3_prepare_v2(raw, "UPDATE item SET Count_New=?1 WHERE ID=?2", -1, &st, nullptr), raw,
                  "prepare");
            for (int id = 1; id <= kRows; ++id) {
                sqlite3_bind_int64(st, 1, (id + round) % 9);
                sqlite3_bind_int64(st, 2, id);
                check(sqlite3_step(st), raw, "update row");
                sqlite3_reset(st);
            }
            sqlite3_finalize(st);
            check(sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr), raw, "commit");
        }));
    }
    const double rawPerRow = *std::min_element(perRow.begin(), perRow.end());
    const double enginePass = *std::min_element(posts.begin(), posts.end());
    const double engineOpenForPass = *std::min_element(opens.begin(), opens.end());
    const double rawPass = *std::min_element(updates.begin(), updates.end());
    sqlite3_close(raw);

    std::printf("select+read all fields: engine %.1f ms, C API %.1f ms\n", engineSelect, rawSelect);
    std::printf(
        "edit+post every row (one transaction): engine %.1f ms (opening the query before it: %.1f ms), "
        "one UPDATE %.1f ms\n",
        enginePass, engineOpenForPass, rawPass);
    std::printf("for reference, C API updating row by row by ID in one transaction: %.1f ms\n", rawPerRow);
    std::printf("select_ratio=%.2f pass_ratio=%.2f\n", engineSelect / rawSelect, enginePass / rawPass);
    return 0;
}
