// The database module: table files, re-pointing queries, creating tables, the table owners, the date
// columns and the quoting helper.
#include "ProgramHarness.h"

namespace {

class DBTest : public ProgramTest {};

TEST_F(DBTest, TableFilesAreFoundWithoutRegardToCase) {
    Start();
    for (const char *name : {"Stock.db", "stock.db", "STOCK.DB"})
        EXPECT_TRUE(DB1->TableExists(name)) << name;
    EXPECT_FALSE(DB1->TableExists("ItemReport.db"));
    Session.Close();
    ASSERT_TRUE(QFile::rename(DBPath() + "stock.db", DBPath() + "STOCK.DB"));
    Stock->EnsureTable(); // finds the renamed file and creates nothing
    EXPECT_FALSE(QFile::exists(DBPath() + "stock.db"));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(DBTest, OpenQueryPointsTheQueryAtTheDatabaseFolderOnlyWhenItPointsElsewhere) {
    Start();
    TQuery q;
    q.SetSQL("select * from item");
    q.SetDatabaseName(folder + "elsewhere/");
    DB1->OpenQuery(q);
    EXPECT_EQ(q.DatabaseName(), AppDirs->DBPath);
    EXPECT_TRUE(q.Active());
    // Already pointed there: the folder stays, and an open query stays open on its result.
    Exec("insert into item (item_name) values ('Milk')");
    DB1->OpenQuery(q);
    EXPECT_EQ(q.RecordCount(), 0);
}

TEST_F(DBTest, CreateTableReportsAFailureInAMessageAndTheCallerGoesOn) {
    Start();
    DB1->CreateTable("item", Item->GetSchema(), false);
    ASSERT_EQ(dialogs->Messages().size(), 1);
    EXPECT_TRUE(dialogs->Messages().first().startsWith("Failed to create 'item' . ")) << dialogs->Messages().first().toStdString();
    // With the replace flag the old files go first.
    Exec("insert into item (item_name) values ('Milk')");
    DB1->CreateTable("item", Item->GetSchema(), true);
    EXPECT_EQ(Value("select count(*) from item"), "0");
    EXPECT_EQ(dialogs->Messages().size(), 1);
}

TEST_F(DBTest, TheFourOwnersUseTheSchemasAsWritten) {
    Start();
    ItemReport->EnsureTable();
    struct Owner {
        TTableOwner *owner;
        const char *name, *file, *schema;
    } owners[] = {
        {User, "appuser", "appuser.db",
         "ID autoinc, User_Name char(24), User_Password char(24), Store char(2), User_Level char(1), User_caption char(64)"},
        {Item, "item", "item.db",
         "ID autoinc, Store char(2), Department_id char(2), Department char(64), item_name char(128), row char(3), "
         "col char(2),Count_Shop Float, Count_New Float, Count_InStore Float,count_default Float, Count_Total Float, "
         "Price Float,Date_Year char(4), Date_Day char(2),Date_Month char(2), Date_DayOfWeek char(1), Date_Julian "
         "char(12),Reconciled Float, Note char(255)"},
        {Stock, "Stock", "Stock.db",
         "ID autoinc, Item_id char(24), Store char(2), Department char(64), item_name char(128),Count_New char(4), "
         "price char(16),Date_Year char(4), Date_Day char(2),Date_Month char(2), Date_DayOfWeek char(1), Date_Julian "
         "char(12)"},
        {ItemReport, "ItemReport", "ItemReport.db",
         "ID autoinc, item_id char(9), Store char(2), Department_id char(2), Department char(64), item_name char(128), "
         "Count_Total Float, Price_Total Float, Price_Average Float, Price_High Float, Price_Low Float, Price_Percent "
         "Float, Price_LowDate Float, Price_HighDate char(128), Replace_Rate char(128)"},
    };
    for (const Owner &o : owners) {
        EXPECT_EQ(o.owner->GetSchema(), o.schema) << o.name;
        EXPECT_EQ(o.owner->TableName, o.name);
        EXPECT_EQ(o.owner->TableFile, o.file);
        EXPECT_TRUE(DB1->TableExists(o.file)) << o.file;
    }
}

TEST_F(DBTest, AStartWithAllFourTablesPresentCreatesNothing) {
    Start();
    ItemReport->EnsureTable();
    Exec("insert into item (item_name) values ('Milk')");
    Exec("insert into stock (item_name) values ('Milk')");
    Exec("insert into ItemReport (item_name) values ('Milk')");
    TearDown();
    SetUp();
    // The same folder again: a fresh start over the existing files.
    SetProgramFolderForTests(dir.path());
    Start();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(Value("select count(*) from item"), "1");
    EXPECT_EQ(Value("select count(*) from stock"), "1");
    EXPECT_EQ(Value("select count(*) from ItemReport"), "1");
    EXPECT_EQ(Value("select count(*) from appuser where User_Name='admin'"), "1");
}

TEST_F(DBTest, AMissingUserTableIsCreatedWithExactlyOneAdmin) {
    Start();
    Session.Close();
    ASSERT_TRUE(QFile::remove(DBPath() + "appuser.db"));
    User->EnsureTable();
    User->EnsureTable();
    EXPECT_EQ(Rows("select User_Name, User_Password, Store, User_Level, User_caption from appuser"),
              QStringList{"admin|tulip|1|3|"});
}

TEST_F(DBTest, DateColumnsOfOneMoment) {
    struct Case {
        QDateTime moment;
        const char *expected;
    } cases[] = {
        {QDateTime(QDate(2007, 1, 1), QTime(9, 30)), "2007|1|1|2|39083"},
        {QDateTime(QDate(2026, 12, 13), QTime(23, 59, 59)), "2026|13|12|1|46369"},
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), "1899|30|12|7|0"},
    };
    for (const Case &c : cases) {
        const TDateStamp s = TDateStamp::From(c.moment);
        EXPECT_EQ(QStringList({s.Year, s.Day, s.Month, s.DayOfWeek, s.Julian}).join('|'), c.expected);
    }
}

TEST_F(DBTest, QuotingAndWholeNumbers) {
    EXPECT_EQ(QuotedStr("O'Brien"), "'O''Brien'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(QuotedStr("0"), "'0'");
    struct Case {
        const char *text;
        int value;
    } cases[] = {{"3", 3}, {"-1", -1}, {"2.5", 0}, {"", 0}, {"x", 0}, {" 7 ", 7}};
    for (const Case &c : cases)
        EXPECT_EQ(ReadWholeNumber(c.text), c.value) << c.text;
}

TEST_F(DBTest, TheSessionIsToldTheDefaultFolderEvenWhenTheDatabaseMoved) {
    QDir().mkpath(folder + "shared");
    WriteFile("Config/application.ini", "[Application]\r\nUser_DB=" + folder + "shared\r\n");
    Start();
    EXPECT_EQ(AppDirs->DBPath, folder + "shared/");
    EXPECT_EQ(Session.NetFileDir(), folder + "DB/");
    EXPECT_EQ(Session.PrivateDir(), folder + "DB/");
    EXPECT_TRUE(QFile::exists(folder + "shared/item.db"));
    EXPECT_FALSE(QFile::exists(folder + "DB/item.db"));
}

} // namespace
