#pragma once
// Shared by the benchmarks that run the real main window: a temporary program folder laid out as a
// first start finds it (settings, list files, an item table filled straight through SQLite), the
// start-up of TForm1 offscreen, and the timing helpers.
#include "dialogs/Dialogs.h"
#include "dialogs/ScriptedDialogs.h"
#include "engine/Session.h"
#include "engine/TQuery.h"
#include "uAbout.h"
#include "uConfigIni.h"
#include "uDB.h"
#include "uDir.h"
#include "uItem.h"
#include "uItemReport.h"
#include "uMain.h"
#include "uStock.h"
#include "uUser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace bench {

// The item table's column list, as the item owner hands it to CREATE TABLE.
inline const char *const kItemColumns =
    "ID autoinc, Store char(2), Department_id char(2), Department char(64), item_name char(128), "
    "row char(3), col char(2),Count_Shop Float, Count_New Float, Count_InStore Float,count_default Float, "
    "Count_Total Float, Price Float,Date_Year char(4), Date_Day char(2),Date_Month char(2), "
    "Date_DayOfWeek char(1), Date_Julian char(12),Reconciled Float, Note char(255)";

inline void Check(int rc, sqlite3 *db, const char *what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, db ? sqlite3_errmsg(db) : "?");
        std::exit(1);
    }
}

inline sqlite3 *OpenFile(const QString &path) {
    sqlite3 *db = nullptr;
    Check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    sqlite3_busy_timeout(db, 10000);
    return db;
}

// Wall time of one run, in milliseconds.
inline double Timed(const std::function<void()> &run) {
    QElapsedTimer t;
    t.start();
    run();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

inline double Best(std::vector<double> v) {
    return *std::min_element(v.begin(), v.end());
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs the message loop until `done` holds; false when `ms` passed first.
inline bool WaitFor(const std::function<bool()> &done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

// One row of the fixture's item table.
struct ItemRow {
    QByteArray store, departmentId, department, name;
    double countNew = 0, inStore = 0, keep = 0, price = 0;
};

// A program folder in a temporary directory, and the real main window started on it.
class ProgramBench {
  public:
    QTemporaryDir dir;
    QString folder; // ends in '/'
    ScriptedDialogs dialogs;

    ProgramBench() {
        if (!dir.isValid()) {
            std::fprintf(stderr, "no temporary folder\n");
            std::exit(1);
        }
        folder = dir.path() + QLatin1Char('/');
        SetProgramFolderForTests(folder);
        qputenv("XDG_CONFIG_HOME", (folder + QStringLiteral("xdg")).toUtf8());
        SetDialogAnswerer(&dialogs);
    }

    ~ProgramBench() {
        FreeProgram();
        SetDialogAnswerer(nullptr);
        SetProgramFolderForTests(QString());
    }

    QString DBPath() const { return folder + QStringLiteral("DB/"); }

    void WriteFile(const QString &relative, const QString &text) {
        const QString path = folder + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        f.write(text.toUtf8());
    }

    // The list files and the settings of the configured store, as an installation keeps them.
    void LayDown(const QStringList &departments, const QStringList &stores, const QString &storeId) {
        WriteFile(QStringLiteral("DB/departments.txt"),
                  departments.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        WriteFile(QStringLiteral("DB/stores.txt"),
                  stores.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        WriteFile(QStringLiteral("Config/application.ini"),
                  QStringLiteral("[Application]\r\nForceLogin=0\r\n[Store]\r\nname=Corner Shop\r\nID=%1\r\n")
                      .arg(storeId));
    }

    // Creates the item table through the engine and fills it with `count` rows from `make`, in one
    // transaction straight through SQLite.
    void CreateItems(int count, const std::function<ItemRow(int)> &make) {
        {
            TQuery create;
            create.SetDatabaseName(DBPath());
            create.SQLAdd(QStringLiteral("CREATE TABLE item"));
            create.SQLAdd(QStringLiteral("( ") + QLatin1String(kItemColumns) + QLatin1Char(')'));
            create.ExecSQL();
        }
        Session.Close();
        sqlite3 *db = OpenFile(DBPath() + QStringLiteral("item.db"));
        Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
        sqlite3_stmt *st = nullptr;
        Check(sqlite3_prepare_v2(
                  db,
                  "INSERT INTO item (Store, Department_id, Department, item_name, Count_New, "
                  "Count_InStore, count_default, Count_Total, Price, Date_Year, Date_Day, Date_Month, "
                  "Date_DayOfWeek, Date_Julian) VALUES "
                  "(?1,?2,?3,?4,?5,?6,?7,?8,?9,'2024','15','3','6','45366')",
                  -1, &st, nullptr),
              db, "prepare insert");
        for (int i = 0; i < count; ++i) {
            const ItemRow r = make(i);
            sqlite3_bind_text(st, 1, r.store.constData(), r.store.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, r.departmentId.constData(), r.departmentId.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 3, r.department.constData(), r.department.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 4, r.name.constData(), r.name.size(), SQLITE_TRANSIENT);
            sqlite3_bind_double(st, 5, r.countNew);
            sqlite3_bind_double(st, 6, r.inStore);
            sqlite3_bind_double(st, 7, r.keep);
            sqlite3_bind_double(st, 8, r.inStore);
            sqlite3_bind_double(st, 9, r.price);
            Check(sqlite3_step(st), db, "insert");
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
        sqlite3_close(db);
    }

    // The program entry's work: the hidden main window and the About box; then waits until the start
    // timer has run the start-up and the table owners' timers have fired.
    void Start() {
        Form1 = new TForm1();
        frmAbout = new TfrmAbout(Form1);
        if (!WaitFor([] { return Form1->StartedUp(); }, 60000) || !WaitFor(
                                                                      [] {
                                                                          return User && Item && Stock &&
                                                                                 !User->Timer1->isActive() &&
                                                                                 !Item->Timer1->isActive() &&
                                                                                 !Stock->Timer1->isActive();
                                                                      },
                                                                      60000)) {
            std::fprintf(stderr, "the program did not start\n");
            std::exit(1);
        }
        QCoreApplication::processEvents();
        if (!dialogs.shown.empty()) {
            for (const auto &s : dialogs.shown)
                std::fprintf(stderr, "box shown at start-up: %s\n", qPrintable(s.text));
            std::exit(1);
        }
    }
};

} // namespace bench
