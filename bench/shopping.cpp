// The shopping list commands of the real main window on 50,000 items in 40 departments, against
// SQLite doing the same work on a connection of its own, measured in one run:
//  - "List": StoreListClick (40 per-department selects, the memo text) against the same 40 selects
//    stepped through the C API producing the same lines;
//  - "Auto Generate": BitBtn2Click minus the "List" it ends with (measured right after it, on the same
//    data), against one UPDATE statement; every run starts from a cleared list;
//  - one search keystroke: the search text set, SearchKeyUp, and the events that repaint the grids.
// The sides take turns; the best run of each counts. The last line holds the figures.
#include "ProgramBench.h"
#include "uShoppingList.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTabWidget>
#include <cmath>

using namespace bench;

namespace {

constexpr int kItems = 50000;

const QStringList kDepartments = {
    QStringLiteral("Bakery"),      QStringLiteral("Dairy"),        QStringLiteral("Produce"),
    QStringLiteral("Fresh fruit"), QStringLiteral("Frozen"),       QStringLiteral("Meat"),
    QStringLiteral("Seafood"),     QStringLiteral("Deli"),         QStringLiteral("Beverages"),
    QStringLiteral("Snacks"),      QStringLiteral("Canned goods"), QStringLiteral("Dry goods"),
    QStringLiteral("Spices"),      QStringLiteral("Baking"),       QStringLiteral("Breakfast"),
    QStringLiteral("Pasta"),       QStringLiteral("Rice"),         QStringLiteral("Sauces"),
    QStringLiteral("Condiments"),  QStringLiteral("Oils"),         QStringLiteral("Cleaning"),
    QStringLiteral("Paper"),       QStringLiteral("Household"),    QStringLiteral("Personal care"),
    QStringLiteral("Baby"),        QStringLiteral("Pet"),          QStringLiteral("Wine"),
    QStringLiteral("Beer"),        QStringLiteral("Coffee"),       QStringLiteral("Tea"),
    QStringLiteral("Cheese"),      QStringLiteral("Eggs"),         QStringLiteral("Herbs"),
    QStringLiteral("Nuts"),        QStringLiteral("Sweets"),       QStringLiteral("Health"),
    QStringLiteral("Pharmacy"),    QStringLiteral("Flowers"),      QStringLiteral("Garden"),
    QStringLiteral("Kitchen")};

// One word per initial letter, so a one-letter search finds about one item in 26.
const char *const kWords[26] = {"Apple",   "Bread",  "Carrot", "Dates",  "Eggplant", "Fig",    "Garlic",
                                "Honey",   "Icing",  "Jam",    "Kale",   "Lemon",    "Milk",   "Nutmeg",
                                "Oats",    "Pepper", "Quinoa", "Rice",   "Salt",     "Tomato", "Udon",
                                "Vanilla", "Walnut", "Xigua",  "Yogurt", "Zucchini"};

ItemRow makeItem(int i) {
    ItemRow r;
    r.store = "0";
    r.departmentId = QByteArray::number(i % 40);
    r.department = kDepartments.at(i % 40).toUtf8();
    r.name = QByteArray(kWords[i % 26]) + ' ' + QByteArray::number(i).rightJustified(5, '0');
    r.countNew = i % 4 == 0 ? (i % 7) - 1 : 0; // a quarter on the list; some 0 and some -1 among them
    r.inStore = i % 10;
    r.keep = (i * 7) % 10;
    r.price = 0.25 * (i % 97);
    return r;
}

// The "List" text for store `store` through the C API: the same statements, the same lines.
QString rawList(sqlite3 *db, const QStringList &departments, const QString &store, const QString &storeText) {
    QStringList lines = ShoppingListHeading(storeText);
    for (const QString &dept : departments) {
        const QByteArray sql =
            (ShoppingListSql(dept, &store) + QStringLiteral("\nOrder By item_name asc")).toUtf8();
        sqlite3_stmt *st = nullptr;
        Check(sqlite3_prepare_v2(db, sql.constData(), sql.size(), &st, nullptr), db, "prepare list");
        int countCol = -1, nameCol = -1;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const QByteArray name = QByteArray(sqlite3_column_name(st, i)).toLower();
            if (name == "count_new")
                countCol = i;
            else if (name == "item_name")
                nameCol = i;
        }
        bool first = true;
        while (sqlite3_step(st) == SQLITE_ROW) {
            if (first) {
                lines << QString() << DepartmentHeading(dept);
                first = false;
            }
            double n = 0;
            switch (sqlite3_column_type(st, countCol)) {
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                n = sqlite3_column_double(st, countCol);
                break;
            case SQLITE_TEXT:
                n = ParseNumberText(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, countCol))));
                break;
            default:
                break;
            }
            if (n > 0)
                lines << CountText(n) + QStringLiteral("x ") +
                             QString::fromUtf8(
                                 reinterpret_cast<const char *>(sqlite3_column_text(st, nameCol)),
                                 sqlite3_column_bytes(st, nameCol));
        }
        sqlite3_finalize(st);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Larderly"));

    ProgramBench program;
    program.LayDown(kDepartments, {QStringLiteral("Main Street"), QStringLiteral("Harbour")},
                    QStringLiteral("0"));
    QElapsedTimer fill;
    fill.start();
    program.CreateItems(kItems, makeItem);
    std::printf("fixture: %d items in %lld departments, written in %lld ms\n", kItems,
                static_cast<long long>(kDepartments.size()), static_cast<long long>(fill.elapsed()));
    QElapsedTimer start;
    start.start();
    program.Start();
    std::printf("start-up until the window is up and the table timers have run: %lld ms\n",
                static_cast<long long>(start.elapsed()));

    sqlite3 *raw = OpenFile(program.DBPath() + QStringLiteral("item.db"));
    const QString store = Form1->SelectedStoreID();
    const QString storeText = Form1->Store->currentText();

    // ---- List
    std::vector<double> engineList, rawListTimes;
    QString rawText;
    for (int r = 0; r < 5; ++r) {
        engineList.push_back(Timed([] { Form1->StoreListClick(); }));
        QCoreApplication::processEvents();
        rawListTimes.push_back(Timed([&] { rawText = rawList(raw, kDepartments, store, storeText); }));
    }
    const QString memo = Form1->ShopList->toPlainText();
    if (memo != rawText) {
        std::fprintf(stderr, "the two list texts differ (%lld and %lld characters)\n",
                     static_cast<long long>(memo.size()), static_cast<long long>(rawText.size()));
        return 1;
    }
    const qsizetype listLines = memo.count(QLatin1Char('\n')) + 1;

    // ---- Auto Generate: the whole command, then the List it ends with, on the same data
    std::vector<double> engineAuto, trailingList, rawUpdate;
    // Every run starts from a cleared list, so that each one really writes the counts it generates.
    const auto clearCounts = [&] {
        Check(sqlite3_exec(raw, "UPDATE item SET count_new = 0", nullptr, nullptr, nullptr), raw, "clear");
    };
    const QByteArray update =
        QByteArray("UPDATE item SET count_new = round(count_default) - round(count_inStore) "
                   "WHERE store='0' AND round(count_default) > round(count_inStore)");
    for (int r = 0; r < 5; ++r) {
        clearCounts();
        engineAuto.push_back(Timed([] { Form1->BitBtn2Click(); }));
        QCoreApplication::processEvents();
        trailingList.push_back(Timed([] { Form1->StoreListClick(); }));
        QCoreApplication::processEvents();
        clearCounts();
        rawUpdate.push_back(Timed(
            [&] { Check(sqlite3_exec(raw, update.constData(), nullptr, nullptr, nullptr), raw, "update"); }));
    }
    const double autoOnly = Best(engineAuto) - Best(trailingList);

    // Where the time of Auto Generate goes: its three parts done the same way by hand through the engine
    // (open the store's rows, edit and post each shortfall in one transaction, re-read the view), and
    // the same row-by-row work done through the C API, for reference.
    std::vector<double> partOpen, partPass, partRefresh, rawRowByRow;
    int posted = 0, viewRows = 0;
    for (int r = 0; r < 3; ++r) {
        TQuery q;
        q.SetDatabaseName(AppDirs->DBPath);
        q.SQLAdd(QStringLiteral("select * from item where store=") + QuotedStr(QStringLiteral("0")));
        clearCounts();
        partOpen.push_back(Timed([&] { q.Open(); }));
        partPass.push_back(Timed([&] {
            posted = 0;
            Session.RunBulk(AppDirs->DBPath, [&] {
                TField &inStore = q.FieldByName(QStringLiteral("count_inStore"));
                TField &keep = q.FieldByName(QStringLiteral("Count_default"));
                TField &toBuy = q.FieldByName(QStringLiteral("count_new"));
                for (q.First(); !q.Eof(); q.Next()) {
                    const double have = std::nearbyint(inStore.AsFloat());
                    const double want = std::nearbyint(keep.AsFloat());
                    if (want > have) {
                        q.Edit();
                        toBuy.SetAsFloat(want - have);
                        q.Post();
                        ++posted;
                    }
                }
            });
        }));
        partRefresh.push_back(Timed([] { Form1->ShopView->Refresh(); }));
        viewRows = Form1->ShopView->RecordCount();
        QCoreApplication::processEvents();
        clearCounts();
        rawRowByRow.push_back(Timed([&] {
            Check(sqlite3_exec(raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), raw, "begin");
            sqlite3_stmt *sel = nullptr, *upd = nullptr;
            Check(sqlite3_prepare_v2(raw, "select * from item where store='0'", -1, &sel, nullptr), raw,
                  "prepare");
            Check(sqlite3_prepare_v2(raw, "UPDATE item SET count_new=?1 WHERE ID=?2", -1, &upd, nullptr), raw,
                  "prepare");
            std::vector<std::pair<qint64, double>> changes;
            const int n = sqlite3_column_count(sel);
            qsizetype chars = 0;
            while (sqlite3_step(sel) == SQLITE_ROW) {
                for (int i = 0; i < n; ++i) // every column read, as the live query reads it
                    if (sqlite3_column_type(sel, i) == SQLITE_TEXT)
                        chars +=
                            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(sel, i)),
                                              sqlite3_column_bytes(sel, i))
                                .size();
                const double have = std::nearbyint(sqlite3_column_double(sel, 9));
                const double want = std::nearbyint(sqlite3_column_double(sel, 10));
                if (want > have)
                    changes.emplace_back(sqlite3_column_int64(sel, 0), want - have);
            }
            sqlite3_finalize(sel);
            for (const auto &[id, count] : changes) {
                sqlite3_bind_double(upd, 1, count);
                sqlite3_bind_int64(upd, 2, id);
                Check(sqlite3_step(upd), raw, "update row");
                sqlite3_reset(upd);
            }
            sqlite3_finalize(upd);
            Check(sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr), raw, "commit");
            if (chars < 0)
                std::printf("?");
        }));
    }
    const qsizetype afterLines = Form1->ShopList->toPlainText().count(QLatin1Char('\n')) + 1;

    // ---- one search keystroke: typing a word, on the Shopping List page and on the Inventory List page
    const QStringList typed = {QStringLiteral("b"), QStringLiteral("br"), QStringLiteral("bre"),
                               QStringLiteral("brea"), QStringLiteral("bread")};
    double worstKey = 0;
    QString worstWhat;
    for (int page : {0, 2}) {
        Form1->pgMain->setCurrentIndex(page);
        QCoreApplication::processEvents();
        for (const QString &prefix : typed) {
            std::vector<double> keys;
            for (int r = 0; r < 3; ++r) {
                Form1->Search->setText(prefix);
                keys.push_back(Timed([] {
                    Form1->SearchKeyUp();
                    // The bound grids repaint from the events the new result posted.
                    QCoreApplication::processEvents();
                    QCoreApplication::processEvents();
                }));
            }
            const double key = Median(keys);
            std::printf("search keystroke, page %d, \"%s\" (%d rows): %.1f ms\n", page, qPrintable(prefix),
                        Form1->ShopView->RecordCount(), key);
            if (key > worstKey) {
                worstKey = key;
                worstWhat = QStringLiteral("page %1, \"%2\"").arg(page).arg(prefix);
            }
        }
    }
    sqlite3_close(raw);

    std::printf("List (%lld lines): StoreListClick %.1f ms, C API %.1f ms\n",
                static_cast<long long>(listLines), Best(engineList), Best(rawListTimes));
    std::printf("Auto Generate: BitBtn2Click %.1f ms, minus its trailing List %.1f ms (%lld lines) = %.1f "
                "ms; one UPDATE "
                "%.1f ms\n",
                Best(engineAuto), Best(trailingList), static_cast<long long>(afterLines), autoOnly,
                Best(rawUpdate));
    std::printf(
        "  of which, done by hand through the engine: open the store's %d rows %.1f ms, %d posts in one "
        "transaction %.1f ms, re-read the view (%d rows) %.1f ms\n",
        kItems, Best(partOpen), posted, Best(partPass), viewRows, Best(partRefresh));
    std::printf("  for reference, the C API doing it row by row (read the rows, update each by ID, one "
                "transaction): %.1f ms\n",
                Best(rawRowByRow));
    std::printf("slowest search keystroke: %s\n", qPrintable(worstWhat));
    std::printf("list_ratio=%.2f autogen_ratio=%.2f search_ms=%.1f\n", Best(engineList) / Best(rawListTimes),
                autoOnly / Best(rawUpdate), worstKey);
    return 0;
}
