// The database engine: tables as files in a folder, live results, width cuts, errors that name the
// file, shared folders written by two connections.
#include "engine/Connection.h"
#include "engine/Session.h"
#include "engine/TQuery.h"
#include "TestSupport.h"

#include <QFile>
#include <QDir>
#include <sqlite3.h>
#include <future>
#include <thread>

namespace {

const char *kItemColumns =
    "ID autoinc, Store char(2), Department_id char(2), Department char(64), item_name char(128), row char(3), "
    "col char(2),Count_Shop Float, Count_New Float, Count_InStore Float,count_default Float, Count_Total Float, "
    "Price Float,Date_Year char(4), Date_Day char(2),Date_Month char(2), Date_DayOfWeek char(1), Date_Julian "
    "char(12),Reconciled Float, Note char(255)";

class EngineTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString db;
    ScopedDialogs dialogs;

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        db = Slash(tmp.path());
    }
    void TearDown() override { Session.Close(); }

    void exec(const QString &sql) {
        TQuery q;
        q.SetDatabaseName(db);
        q.SetSQL(sql);
        q.ExecSQL();
    }
    void createItem(const QString &name = "item") {
        TQuery q;
        q.SetDatabaseName(db);
        q.SQLAdd("CREATE TABLE " + name);
        q.SQLAdd(QString("( ") + kItemColumns + ")");
        q.ExecSQL();
    }
    std::unique_ptr<TQuery> open(const QString &sql) {
        auto q = std::make_unique<TQuery>();
        q->SetDatabaseName(db);
        q->SetSQL(sql);
        q->Open();
        return q;
    }
    // Reads a value straight from the file with the SQLite library, bypassing the engine.
    QString raw(const QString &file, const QString &sql) {
        sqlite3 *h = nullptr;
        sqlite3_open_v2((db + file).toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *st = nullptr;
        QString out;
        if (sqlite3_prepare_v2(h, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK) {
            QStringList rows;
            while (sqlite3_step(st) == SQLITE_ROW) {
                QStringList cells;
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    cells << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
                rows << cells.join('|');
            }
            out = rows.join('\n');
        } else {
            out = "ERROR: " + QString::fromUtf8(sqlite3_errmsg(h));
        }
        sqlite3_finalize(st);
        sqlite3_close(h);
        return out;
    }
};

TEST_F(EngineTest, CreateTableMakesItsOwnFileWithTheColumnsAsWritten) {
    createItem();
    EXPECT_TRUE(QFile::exists(db + "item.db"));
    const QString cols = raw("item.db", "select name, type from pragma_table_info('item')");
    EXPECT_TRUE(cols.startsWith("ID|INTEGER\nStore|char(2)\nDepartment_id|char(2)")) << cols.toStdString();
    EXPECT_TRUE(cols.contains("Price|Float")) << cols.toStdString();
    EXPECT_EQ(cols.split('\n').size(), 20);
    // Journal mode DELETE on the file (no -wal file ever).
    exec("insert into item (item_name) values ('Milk')");
    EXPECT_FALSE(QFile::exists(db + "item.db-wal"));
    // Creating it again fails with a message naming the table.
    try {
        createItem();
        FAIL() << "second CREATE TABLE succeeded";
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(e.Message().contains("item")) << e.Message().toStdString();
    }
}

TEST_F(EngineTest, LiveResultEditInsertDeleteAndCursor) {
    createItem();
    exec("insert into item (Store, Department, item_name, Count_New) values ('0','Dairy','Milk', 2)");
    exec("insert into item (Store, Department, item_name, Count_New) values ('0','Dairy','Butter', 0)");
    exec("insert into item (Store, Department, item_name, Count_New) values ('1','Bakery','Bread', 5)");

    auto q = open("select * from item where store='0' Order By item_name asc");
    ASSERT_EQ(q->RecordCount(), 2);
    EXPECT_EQ(q->FieldByName("ITEM_NAME").AsString(), "Butter"); // names without regard to case
    EXPECT_EQ(q->RecNo(), 1);
    q->Next();
    EXPECT_EQ(q->FieldByName("item_name").AsString(), "Milk");
    EXPECT_FALSE(q->Eof());
    q->Next();
    EXPECT_TRUE(q->Eof());

    // MoveBy stops at the ends and says so.
    q->First();
    q->MoveBy(5);
    EXPECT_EQ(q->RecNo(), 2);
    EXPECT_TRUE(q->Eof());
    q->MoveBy(-1);
    EXPECT_EQ(q->RecNo(), 1);
    EXPECT_FALSE(q->Eof());
    q->MoveBy(-3);
    EXPECT_TRUE(q->Bof());
    q->Last();

    // Edit and post: reaches the file; only when posted.
    q->Edit();
    q->FieldByName("count_new").SetAsFloat(7);
    EXPECT_EQ(q->State(), TDataSetState::dsEdit);
    EXPECT_EQ(raw("item.db", "select Count_New from item where item_name='Milk'"), "2.0");
    q->Post();
    EXPECT_EQ(raw("item.db", "select Count_New from item where item_name='Milk'"), "7.0");

    // Insert: ID filled by the table, row stays in the result.
    q->Append();
    q->FieldByName("item_name").SetAsString("Cheese");
    q->FieldByName("Store").SetAsString("0");
    q->Post();
    EXPECT_EQ(q->RecordCount(), 3);
    EXPECT_EQ(q->FieldByName("ID").AsInteger(), 4);
    EXPECT_EQ(raw("item.db", "select item_name from item where ID=4"), "Cheese");

    // Delete the current row.
    q->First();
    q->Delete();
    EXPECT_EQ(raw("item.db", "select count(*) from item"), "3");
    EXPECT_EQ(raw("item.db", "select count(*) from item where item_name='Butter'"), "0");

    // Refresh re-reads and keeps the row by ID.
    exec("update item set Note='fresh' where item_name='Cheese'");
    q->Last();
    q->Refresh();
    EXPECT_EQ(q->FieldByName("item_name").AsString(), "Cheese");
    EXPECT_EQ(q->FieldByName("Note").AsString(), "fresh");
}

TEST_F(EngineTest, TextIsCutToItsColumnWidthAndNumbersReadAsText) {
    createItem();
    auto q = open("select * from item");
    q->Append();
    q->FieldByName("Store").SetAsString("12345");
    q->FieldByName("item_name").SetAsString(QString(200, 'x'));
    q->FieldByName("Date_DayOfWeek").SetAsString("Monday");
    q->FieldByName("Price").SetAsString("2.50");
    q->FieldByName("Count_New").SetAsFloat(3);
    q->Post();
    EXPECT_EQ(raw("item.db", "select Store, length(item_name), Date_DayOfWeek, Price from item"), "12|128|M|2.5");
    EXPECT_EQ(q->FieldByName("Count_New").AsString(), "3");
    EXPECT_EQ(q->FieldByName("Price").AsString(), "2.5");
    EXPECT_EQ(q->FieldByName("Note").AsString(), "");
    EXPECT_EQ(q->FieldByName("Note").AsFloat(), 0);

    // A non-numeric value for a Float field is refused and nothing is stored.
    q->Edit();
    EXPECT_THROW(q->FieldByName("Price").SetAsString("abc"), Exception);
    q->Cancel();
    EXPECT_EQ(raw("item.db", "select Price from item"), "2.5");
}

TEST_F(EngineTest, LeavingAnUntouchedNewRowCancelsItAndATouchedOnePostsIt) {
    createItem();
    exec("insert into item (item_name) values ('Milk')");
    auto q = open("select * from item");
    q->Append();
    q->First(); // untouched: cancelled
    EXPECT_EQ(q->RecordCount(), 1);
    EXPECT_EQ(raw("item.db", "select count(*) from item"), "1");
    q->Append();
    q->FieldByName("item_name").SetAsString("Tea");
    q->First(); // touched: posted
    EXPECT_EQ(raw("item.db", "select count(*) from item"), "2");
    // Editing and moving posts too.
    q->Edit();
    q->FieldByName("Note").SetAsString("n");
    q->Next();
    EXPECT_EQ(raw("item.db", "select Note from item where item_name='Milk'"), "n");
}

TEST_F(EngineTest, ChangingTheSqlClosesAndOpeningTwiceDoesNothing) {
    createItem();
    exec("insert into item (item_name) values ('Milk')");
    auto q = open("select * from item");
    q->Edit();
    q->FieldByName("Note").SetAsString("pending");
    q->Open(); // already open: nothing happens, the edit stays pending
    EXPECT_EQ(q->State(), TDataSetState::dsEdit);
    q->SQLClear(); // closes; the pending edit is dropped
    EXPECT_FALSE(q->Active());
    EXPECT_EQ(raw("item.db", "select ifnull(Note,'') from item"), "");
    q->SQLAdd("select * from item where item_name='none'");
    q->Open();
    EXPECT_TRUE(q->IsEmpty());
    EXPECT_TRUE(q->Eof());
    EXPECT_THROW(q->Delete(), EDatabaseError);
    EXPECT_THROW(q->Edit(), EDatabaseError);
}

TEST_F(EngineTest, StatementsAsTheProgramWritesThem) {
    createItem();
    exec("insert into item (Store, Department, item_name, Count_New) values ('0','Dairy','Milk', 2)");
    exec("insert into item (Store, Department, item_name, Count_New) values ('0','Dairy','mints', 0)");
    exec("insert into item (Store, Department, item_name, Count_New) values ('0','Dairy','Semi-skimmed', 1)");
    exec("insert into item (Store, Department, item_name) values ('0','Dairy','O''Brien')");
    struct Case {
        const char *sql;
        int rows;
    } cases[] = {
        {"select * from item where store='0' and Department = 'Dairy'", 4},
        {"select * from item where store='0' and LOWER(Item_Name) Like 'mi%'", 2},
        {"select * from item where store='0' and LOWER(Item_Name) Like 'o''b%'", 1},
        {"select * from item where department='Dairy' and count_new <>'0' and store ='0'\nOrder By item_name asc", 2},
        {"select * from item where store='-1' and LOWER(Item_Name) Like '%'", 0},
        {"Select * from ITEM where Count_New <> '0' or Reconciled <> '0'", 2},
    };
    for (const Case &c : cases) {
        auto q = open(c.sql);
        EXPECT_EQ(q->RecordCount(), c.rows) << c.sql;
    }
    exec("delete from item where item_name='Milk'");
    EXPECT_EQ(raw("item.db", "select count(*) from item"), "3");
}

TEST_F(EngineTest, RoundEvenReadsACountAsTheProgramDoes) {
    exec("CREATE TABLE t (ID autoinc, v Float, s char(8))");
    struct Case {
        const char *value;
        const char *rounded;
    } cases[] = {{"NULL", "0"}, {"2.5", "2"}, {"3.5", "4"}, {"-2.5", "-2"}, {"2.6", "3"},
                 {"7", "7"},    {"'abc'", "0"}, {"'12abc'", "0"}, {"''", "0"}};
    for (const Case &c : cases) {
        exec("delete from t");
        exec(QString("insert into t (v, s) values (%1, %1)").arg(c.value));
        auto q = open("select ROUNDEVEN(v) as a, ROUNDEVEN(s) as b from t");
        EXPECT_EQ(q->FieldByName("a").AsString(), c.rounded) << c.value;
        EXPECT_EQ(q->FieldByName("b").AsString(), c.rounded) << c.value;
    }
}

TEST_F(EngineTest, TableFilesAreFoundWithoutRegardToCase) {
    exec("CREATE TABLE stock (ID autoinc, Item_id char(24))");
    Session.Close();
    ASSERT_TRUE(QFile::rename(db + "stock.db", db + "STOCK.DB"));
    auto q = open("select * from Stock");
    EXPECT_TRUE(q->Active());
    q->Append();
    q->FieldByName("Item_id").SetAsString("157");
    q->Post();
    EXPECT_EQ(raw("STOCK.DB", "select Item_id from stock"), "157");
}

TEST_F(EngineTest, ATableFileThatAppearsOrDisappearsIsNoticed) {
    auto q = open("select 1");
    EXPECT_THROW(open("select * from item"), EDatabaseError);
    // Another installation creates the table through its own connection.
    {
        Connection other(db);
        other.Exec(QString("CREATE TABLE item (") + kItemColumns + ")");
        other.Exec("insert into item (item_name) values ('Milk')");
    }
    EXPECT_EQ(open("select * from item")->RecordCount(), 1);
    ASSERT_TRUE(QFile::remove(db + "item.db"));
    try {
        open("select * from item");
        FAIL() << "a deleted table still opened";
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(e.Message().contains("item")) << e.Message().toStdString();
    }
}

TEST_F(EngineTest, ADamagedTableFileGivesAnErrorNamingItAndIsLeftUntouched) {
    createItem();
    exec("CREATE TABLE appuser (ID autoinc, User_Name char(24))");
    exec("insert into appuser (User_Name) values ('admin')");
    Session.Close();

    // One file that is no database at all, and one valid file cut short.
    QFile junk(db + "item.db");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
    junk.write(QByteArray(3000, 'z'));
    junk.close();
    QFile good(db + "appuser.db");
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    QByteArray whole = good.readAll();
    good.close();
    QFile cut(db + "stock.db");
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.left(100));
    cut.close();

    for (const char *table : {"item", "stock"}) {
        const QString file = db + table + ".db";
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        try {
            open(QString("select * from ") + table);
            FAIL() << "damaged " << table << " opened";
        } catch (const EDatabaseError &e) {
            EXPECT_TRUE(e.Message().contains(QString(table) + ".db")) << e.Message().toStdString();
        }
        EXPECT_THROW(exec(QString("insert into ") + table + " (ID) values (1)"), EDatabaseError);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before) << table;
    }
    // The sound table of the same folder still works.
    EXPECT_EQ(open("select * from appuser")->RecordCount(), 1);
}

TEST_F(EngineTest, TwoConnectionsWriteTheSameTable) {
    createItem();
    auto q = open("select * from item");
    Connection other(db); // as a second installation on the same folder

    // Interleaved single posts from both.
    for (int i = 0; i < 5; ++i) {
        q->Append();
        q->FieldByName("item_name").SetAsString(QString("a%1").arg(i));
        q->Post();
        other.Exec(QString("insert into item (item_name) values ('b%1')").arg(i));
    }
    EXPECT_EQ(raw("item.db", "select count(*) from item"), "10");

    // One holds a write transaction while the other writes from another thread: the second waits for
    // the first to commit instead of failing.
    Session.ConnectionFor(db)->Begin();
    q->Append();
    q->FieldByName("item_name").SetAsString("held");
    q->Post();
    std::promise<void> starting;
    auto started = starting.get_future();
    auto writer = std::async(std::launch::async, [&]() -> QString {
        starting.set_value();
        try {
            other.Exec("insert into item (item_name) values ('waited')");
            return QString();
        } catch (const EDatabaseError &e) {
            return e.Message();
        }
    });
    started.wait();
    Session.ConnectionFor(db)->Commit();
    EXPECT_EQ(writer.get(), QString());
    EXPECT_EQ(raw("item.db", "select count(*) from item where item_name in ('held','waited')"), "2");
}

TEST_F(EngineTest, ABulkPassKeepsWhatWasPostedBeforeAFailure) {
    createItem();
    for (int i = 0; i < 4; ++i)
        exec(QString("insert into item (item_name, Count_New) values ('i%1', 0)").arg(i));
    auto q = open("select * from item");
    int posted = 0;
    EXPECT_THROW(Session.RunBulk(db,
                                 [&] {
                                     for (q->First(); !q->Eof(); q->Next()) {
                                         if (posted == 2)
                                             throw EDatabaseError("row failed");
                                         q->Edit();
                                         q->FieldByName("Count_New").SetAsFloat(9);
                                         q->Post();
                                         ++posted;
                                     }
                                 }),
                 EDatabaseError);
    EXPECT_EQ(raw("item.db", "select count(*) from item where Count_New=9"), "2");
    // And a pass that succeeds writes everything.
    Session.RunBulk(db, [&] {
        for (q->First(); !q->Eof(); q->Next()) {
            q->Edit();
            q->FieldByName("Count_New").SetAsFloat(1);
            q->Post();
        }
    });
    EXPECT_EQ(raw("item.db", "select count(*) from item where Count_New=1"), "4");
}

TEST_F(EngineTest, NumberTextHelpers) {
    struct Case {
        double v;
        const char *text;
    } cases[] = {{3, "3"}, {2.5, "2.5"}, {0.25, "0.25"}, {-4, "-4"}, {0.1 + 0.2, "0.3"}, {12.75, "12.75"}, {-0.0, "0"}};
    for (const Case &c : cases)
        EXPECT_EQ(FormatNumberText(c.v), c.text);
    struct Parse {
        const char *text;
        double v;
    } parses[] = {{"", 0}, {"abc", 0}, {" 2.5 ", 2.5}, {"12", 12}, {"-3", -3}, {"1e2", 100}};
    for (const Parse &p : parses)
        EXPECT_EQ(ParseNumberText(p.text), p.v) << p.text;
}

TEST_F(EngineTest, AMissingFolderIsAClearError) {
    TQuery q;
    q.SetDatabaseName(db + "nowhere/");
    q.SetSQL("select * from item");
    try {
        q.Open();
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(e.Message().contains("nowhere")) << e.Message().toStdString();
    }
}

} // namespace
