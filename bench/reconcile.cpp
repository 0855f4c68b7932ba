// Reconciling every new item at once in the real reconcile window: 20,000 items in store 0, 1,000 of
// them new (Count_New not 0). Item->Reconcile(Add) with "All" ticked, the window showing, against the
// same 1,000 history rows and item updates written through the SQLite C API in one transaction.
// Between runs the items and the history are put back as they were. The best run of each counts; the
// last line holds the reconcile time in seconds and the ratio.
#include "ProgramBench.h"

#include <QApplication>
#include <QCheckBox>
#include <QStandardPaths>

using namespace bench;

namespace {

constexpr int kItems = 20000;
constexpr int kEvery = 20; // one item in 20 is new: 1,000 of 20,000

ItemRow makeItem(int i) {
    ItemRow r;
    r.store = "0";
    r.departmentId = QByteArray::number(i % 12);
    r.department = QByteArray("Department ") + QByteArray::number(i % 12);
    r.name = QByteArray("Item ") + QByteArray::number(i).rightJustified(5, '0');
    r.countNew = i % kEvery == 0 ? 1 + i % 5 : 0;
    r.inStore = i % 10;
    r.keep = (i * 7) % 10;
    r.price = 0.25 * (i % 97);
    return r;
}

// Puts the items and the history back as the fixture made them (IDs count from 1).
void reset(sqlite3 *db) {
    const QByteArray sql =
        QByteArray("BEGIN IMMEDIATE;"
                   "UPDATE item SET Count_New = CASE WHEN (ID - 1) % ") +
        QByteArray::number(kEvery) +
        " = 0 THEN 1 + (ID - 1) % 5 ELSE 0 END, Count_InStore = (ID - 1) % 10, Reconciled = NULL;"
        "DELETE FROM h.stock; COMMIT;";
    Check(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), db, "reset");
}

int scalar(sqlite3 *db, const char *sql) {
    sqlite3_stmt *st = nullptr;
    Check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db, "prepare count");
    Check(sqlite3_step(st), db, "count");
    const int n = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    return n;
}

QByteArray text(sqlite3_stmt *st, int col) {
    const char *t = reinterpret_cast<const char *>(sqlite3_column_text(st, col));
    return t ? QByteArray(t, sqlite3_column_bytes(st, col)) : QByteArray();
}

// The same work through the C API: read the new items, write a history row and update each item.
void rawReconcile(sqlite3 *db) {
    const TDateStamp stamp = TDateStamp::From(Now());
    const QByteArray year = stamp.Year.toUtf8(), day = stamp.Day.toUtf8(), month = stamp.Month.toUtf8(),
                     dow = stamp.DayOfWeek.toUtf8(), julian = stamp.Julian.toUtf8();
    Check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt *sel = nullptr, *ins = nullptr, *upd = nullptr;
    Check(sqlite3_prepare_v2(
              db,
              "select ID, Store, Department, item_name, Count_New, Price, Count_InStore from item "
              "where store='0' and Count_New <> '0'",
              -1, &sel, nullptr),
          db, "prepare select");
    Check(
        sqlite3_prepare_v2(
            db,
            "INSERT INTO h.stock (Item_id, Store, Department, item_name, Count_New, price, Date_Year, "
            "Date_Day, Date_Month, Date_DayOfWeek, Date_Julian) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11)",
            -1, &ins, nullptr),
        db, "prepare insert");
    Check(sqlite3_prepare_v2(
              db,
              "UPDATE item SET Count_InStore=?1, Reconciled=?2, Count_New=0, Date_Year=?3, Date_Day=?4, "
              "Date_Month=?5, Date_DayOfWeek=?6, Date_Julian=?7 WHERE ID=?8",
              -1, &upd, nullptr),
          db, "prepare update");
    while (sqlite3_step(sel) == SQLITE_ROW) {
        const qint64 id = sqlite3_column_int64(sel, 0);
        const double n = sqlite3_column_double(sel, 4);
        const double c = sqlite3_column_double(sel, 6);
        const QByteArray idText = QByteArray::number(id), store = text(sel, 1), dept = text(sel, 2),
                         name = text(sel, 3), count = FormatNumberText(n).toUtf8(),
                         price = FormatNumberText(sqlite3_column_double(sel, 5)).toUtf8();
        sqlite3_bind_text(ins, 1, idText.constData(), idText.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 2, store.constData(), store.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 3, dept.constData(), dept.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 4, name.constData(), name.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 5, count.constData(), count.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 6, price.constData(), price.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 7, year.constData(), year.size(), SQLITE_STATIC);
        sqlite3_bind_text(ins, 8, day.constData(), day.size(), SQLITE_STATIC);
        sqlite3_bind_text(ins, 9, month.constData(), month.size(), SQLITE_STATIC);
        sqlite3_bind_text(ins, 10, dow.constData(), dow.size(), SQLITE_STATIC);
        sqlite3_bind_text(ins, 11, julian.constData(), julian.size(), SQLITE_STATIC);
        Check(sqlite3_step(ins), db, "insert history row");
        sqlite3_reset(ins);
        sqlite3_bind_double(upd, 1, c + n);
        sqlite3_bind_double(upd, 2, n);
        sqlite3_bind_text(upd, 3, year.constData(), year.size(), SQLITE_STATIC);
        sqlite3_bind_text(upd, 4, day.constData(), day.size(), SQLITE_STATIC);
        sqlite3_bind_text(upd, 5, month.constData(), month.size(), SQLITE_STATIC);
        sqlite3_bind_text(upd, 6, dow.constData(), dow.size(), SQLITE_STATIC);
        sqlite3_bind_text(upd, 7, julian.constData(), julian.size(), SQLITE_STATIC);
        sqlite3_bind_int64(upd, 8, id);
        Check(sqlite3_step(upd), db, "update item");
        sqlite3_reset(upd);
    }
    sqlite3_finalize(sel);
    sqlite3_finalize(ins);
    sqlite3_finalize(upd);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Larderly"));

    ProgramBench program;
    program.LayDown({QStringLiteral("Department 0"), QStringLiteral("Department 1")},
                    {QStringLiteral("Main Street"), QStringLiteral("Harbour")}, QStringLiteral("0"));
    program.CreateItems(kItems, makeItem);
    program.Start();

    QCheckBox *all = Item->findChild<QCheckBox *>(QStringLiteral("All"));
    if (!all) {
        std::fprintf(stderr, "the reconcile window has no check box named All\n");
        return 1;
    }
    all->setChecked(true);
    // The window as the user has it: shown, its lists on the configured store's new items.
    Item->show();
    QCoreApplication::processEvents();

    sqlite3 *raw = OpenFile(program.DBPath() + QStringLiteral("item.db"));
    const QByteArray stockFile = (program.DBPath() + QStringLiteral("stock.db")).toUtf8();
    {
        sqlite3_stmt *st = nullptr;
        Check(sqlite3_prepare_v2(raw, "ATTACH DATABASE ?1 AS h", -1, &st, nullptr), raw, "prepare attach");
        sqlite3_bind_text(st, 1, stockFile.constData(), stockFile.size(), SQLITE_TRANSIENT);
        Check(sqlite3_step(st), raw, "attach");
        sqlite3_finalize(st);
    }

    std::vector<double> engine, direct;
    for (int r = 0; r < 3; ++r) {
        reset(raw);
        direct.push_back(Timed([&] { rawReconcile(raw); }));
        if (scalar(raw, "select count(*) from h.stock") != kItems / kEvery) {
            std::fprintf(stderr, "the C API pass wrote %d history rows\n",
                         scalar(raw, "select count(*) from h.stock"));
            return 1;
        }

        reset(raw);
        Item->OpenNewItems();
        Item->OpenInventory();
        if (Stock->Table->Active())
            Stock->Table->Refresh();
        QCoreApplication::processEvents();
        if (Item->ShopList->RecordCount() != kItems / kEvery) {
            std::fprintf(stderr, "the New Items list holds %d rows\n", Item->ShopList->RecordCount());
            return 1;
        }
        engine.push_back(Timed([] {
            Item->Reconcile(ReconcileMode::Add);
            QCoreApplication::processEvents(); // the grids repaint
        }));
        const int history = scalar(raw, "select count(*) from h.stock");
        const int left = scalar(raw, "select count(*) from item where store='0' and Count_New <> 0");
        if (history != kItems / kEvery || left != 0 || Item->ShopList->RecordCount() != 0) {
            std::fprintf(stderr, "the reconcile wrote %d history rows and left %d new items (%d listed)\n",
                         history, left, Item->ShopList->RecordCount());
            return 1;
        }
        if (!program.dialogs.shown.empty()) {
            std::fprintf(stderr, "box shown: %s\n", qPrintable(program.dialogs.shown.front().text));
            return 1;
        }
    }
    sqlite3_close(raw);
    Item->hide();

    const double e = Best(engine), d = Best(direct);
    std::printf("reconcile %d of %d items (All ticked, Add): Item->Reconcile %.1f ms, C API in one "
                "transaction %.1f ms\n",
                kItems / kEvery, kItems, e, d);
    std::printf("reconcile_s=%.2f reconcile_ratio=%.2f\n", e / 1000.0, e / d);
    return 0;
}
