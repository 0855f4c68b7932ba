// End-to-end: the built program, copied alone into an empty folder and started as a user would start
// it (offscreen), lays out its folders, writes its settings and creates its tables; a later start in
// the same folder keeps the tables it finds. The table files are read with SQLite itself, not with our
// engine, so the check does not trust the code it checks.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

// A table file opened read-only through the SQLite C API; closed when it goes out of scope.
class TableFile {
  public:
    explicit TableFile(const QString &path) {
        if (!QFileInfo(path).isFile())
            return;
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
            return;
        }
        sqlite3_busy_timeout(db_, 5000);
    }
    ~TableFile() { sqlite3_close(db_); }
    TableFile(const TableFile &) = delete;
    TableFile &operator=(const TableFile &) = delete;

    bool IsOpen() const { return db_ != nullptr; }

    // Rows of a statement, each row's cells joined with '|' (null as empty); empty on any error.
    QStringList Rows(const QString &sql) const {
        QStringList out;
        if (!db_)
            return out;
        sqlite3_stmt *st = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db_, text.constData(), text.size(), &st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            return out;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList cells;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                const char *t = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
                cells << (t ? QString::fromUtf8(t) : QString());
            }
            out << cells.join(QLatin1Char('|'));
        }
        sqlite3_finalize(st);
        return out;
    }

    // Each column as "name type", in order, as the file declares the table.
    QStringList Columns(const QString &table) const {
        QStringList out;
        for (const QString &row : Rows(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table))) {
            const QStringList cells = row.split(QLatin1Char('|'));
            if (cells.size() >= 3)
                out << cells[1] + QLatin1Char(' ') + cells[2];
        }
        return out;
    }

  private:
    sqlite3 *db_ = nullptr;
};

// Runs a statement that changes a table file (between two runs of the program).
void Change(const QString &path, const char *sql) {
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    char *err = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    const QString message = err ? QString::fromUtf8(err) : QString();
    sqlite3_free(err);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message.toStdString();
}

// The identity of a file on disk: replaced or recreated files get a new one.
quint64 Inode(const QString &path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? static_cast<quint64>(st.st_ino) : 0;
}

QStringList Lines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QString l = QString(line).remove(QLatin1Char('\r'));
        if (!l.trimmed().isEmpty())
            out << l;
    }
    return out;
}

QStringList SubFolders(const QString &folder) {
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    return names;
}

// The columns each table file must hold, in order: the column lists given to CREATE TABLE, with the
// engine's one translation (autoinc is an INTEGER primary key).
const QStringList kItemColumns = {"ID INTEGER",          "Store char(2)",          "Department_id char(2)",
                                  "Department char(64)", "item_name char(128)",    "row char(3)",
                                  "col char(2)",         "Count_Shop Float",       "Count_New Float",
                                  "Count_InStore Float", "count_default Float",    "Count_Total Float",
                                  "Price Float",         "Date_Year char(4)",      "Date_Day char(2)",
                                  "Date_Month char(2)",  "Date_DayOfWeek char(1)", "Date_Julian char(12)",
                                  "Reconciled Float",    "Note char(255)"};
const QStringList kStockColumns = {"ID INTEGER",          "Item_id char(24)",       "Store char(2)",
                                   "Department char(64)", "item_name char(128)",    "Count_New char(4)",
                                   "price char(16)",      "Date_Year char(4)",      "Date_Day char(2)",
                                   "Date_Month char(2)",  "Date_DayOfWeek char(1)", "Date_Julian char(12)"};
const QStringList kAppuserColumns = {"ID INTEGER",    "User_Name char(24)", "User_Password char(24)",
                                     "Store char(2)", "User_Level char(1)", "User_caption char(64)"};

class EndToEndTest : public ::testing::Test {
  protected:
    QTemporaryDir programDir; // holds nothing but the program file until the program runs
    QTemporaryDir homeDir;    // HOME and XDG_CONFIG_HOME of the program, away from its folder
    QString folder;           // the program folder as the program sees it, ending in '/'
    QString exe;
    QProcess process;

    void SetUp() override {
        ASSERT_TRUE(programDir.isValid());
        ASSERT_TRUE(homeDir.isValid());
        folder = QFileInfo(programDir.path()).canonicalFilePath() + QLatin1Char('/');
        exe = folder + QFileInfo(QStringLiteral(LARDERLY_EXE)).fileName();
        ASSERT_TRUE(QFile::copy(QStringLiteral(LARDERLY_EXE), exe));
        QFile(exe).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                  QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    }

    void TearDown() override { Stop(); }

    QString Db(const QString &name) const { return folder + QStringLiteral("DB/") + name; }

    void Run() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), homeDir.path() + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), homeDir.path() + QStringLiteral("/xdg"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), homeDir.path() + QStringLiteral("/runtime"));
        QDir().mkpath(homeDir.path() + QStringLiteral("/home"));
        QDir().mkpath(homeDir.path() + QStringLiteral("/runtime"));
        QFile::setPermissions(homeDir.path() + QStringLiteral("/runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(homeDir.path());
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(exe, {});
        ASSERT_TRUE(process.waitForStarted(15000)) << process.errorString().toStdString();
    }

    void Stop() {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(15000)) {
            process.kill();
            process.waitForFinished(15000);
        }
    }

    bool HasTable(const QString &file, const QString &table) const {
        return !TableFile(Db(file)).Columns(table).isEmpty();
    }

    // The first start is complete: the settings written, the three tables made, the default user added.
    bool FirstStartDone() const {
        return QFileInfo::exists(folder + QStringLiteral("Config/application.ini")) &&
               HasTable("item.db", "item") && HasTable("stock.db", "stock") &&
               TableFile(Db("appuser.db")).Rows("select count(*) from appuser where User_Name='admin'") ==
                   QStringList{"1"};
    }
};

TEST_F(EndToEndTest, FirstStartLaysOutFoldersSettingsAndTables) {
    Run();
    ASSERT_TRUE(QTest::qWaitFor([this] { return FirstStartDone(); }, 15000));
    Stop();

    // The folders under the program folder, and nothing else.
    EXPECT_EQ(SubFolders(folder), (QStringList{"Build", "Config", "DB", "FTP", "Help", "Log", "Report"}));
    EXPECT_EQ(SubFolders(folder + "Report"), QStringList{"Images"});
    for (const char *empty : {"Build", "FTP", "Log", "Report/Images"})
        EXPECT_TRUE(QDir(folder + empty).isEmpty()) << empty;

    // The settings file: its sections and keys in order, with their defaults. The sender address is
    // the installation's own choice and only has to be there.
    const QStringList ini = Lines(folder + "Config/application.ini");
    const QStringList expected = {"[Application]",      "Country=US",     "AutoStart=1",
                                  "AutoSizeGrid=1",     "Left=2",         "Top=2",
                                  "Heigth=600",         "Width=800",      "User_DB=" + folder + "DB/",
                                  "ResetPhrase=MopDog", "ForceLogin=0",   "[Store]",
                                  "name=Store #1",      "ID=1",           "[Email]",
                                  "smtp_host=",         "smtp_port=25",   "smtp_password=",
                                  "smtp_userid=",       "smtp_YourName=", "smtp_EmailAddress=",
                                  "shoplist="};
    ASSERT_EQ(ini.size(), expected.size()) << ini.join('\n').toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (expected[i] == "smtp_EmailAddress=")
            EXPECT_TRUE(ini[i].startsWith(expected[i])) << ini[i].toStdString();
        else
            EXPECT_EQ(ini[i], expected[i]);
    }
    // Both list files are written, empty on a first start.
    EXPECT_TRUE(QFileInfo::exists(Db("departments.txt")));
    EXPECT_TRUE(QFileInfo::exists(Db("stores.txt")));

    // Each table file is an ordinary SQLite database holding its one table with exactly its columns.
    const struct {
        const char *file, *table;
        const QStringList *columns;
    } tables[] = {{"item.db", "item", &kItemColumns},
                  {"stock.db", "stock", &kStockColumns},
                  {"appuser.db", "appuser", &kAppuserColumns}};
    for (const auto &t : tables) {
        TableFile f(Db(t.file));
        ASSERT_TRUE(f.IsOpen()) << t.file;
        EXPECT_EQ(f.Rows("select name from sqlite_master where type='table' and name not like 'sqlite%'"),
                  QStringList{t.table})
            << t.file;
        EXPECT_EQ(f.Columns(t.table), *t.columns) << t.file;
        // The ID is the row's key, numbered by the table.
        EXPECT_EQ(f.Rows(QString("select pk from pragma_table_info('%1') where name='ID'").arg(t.table)),
                  QStringList{"1"})
            << t.file;
    }
    // The work table of the shopping history report is made only when a report is prepared.
    EXPECT_FALSE(QFileInfo::exists(Db("ItemReport.db")));

    // The tables start empty, but for the default user.
    EXPECT_EQ(TableFile(Db("item.db")).Rows("select count(*) from item"), QStringList{"0"});
    EXPECT_EQ(TableFile(Db("stock.db")).Rows("select count(*) from stock"), QStringList{"0"});
    EXPECT_EQ(TableFile(Db("appuser.db"))
                  .Rows("select User_Name, User_Password, User_Level, ifnull(User_caption, '') from appuser"),
              QStringList{"admin|tulip|3|"});
}

TEST_F(EndToEndTest, LaterStartsKeepTheTablesTheyFind) {
    Run();
    ASSERT_TRUE(QTest::qWaitFor([this] { return FirstStartDone(); }, 15000));
    Stop();

    // Rows written between the runs, as another installation sharing the folder might write them.
    Change(Db("item.db"),
           "insert into item (Store, Department, item_name, Count_New) values ('0', 'Dairy', 'Milk', 2)");
    Change(Db("stock.db"),
           "insert into stock (Item_id, Store, item_name, Count_New) values ('1', '0', 'Milk', '2')");
    const quint64 itemFile = Inode(Db("item.db")), stockFile = Inode(Db("stock.db")),
                  userFile = Inode(Db("appuser.db"));
    const quint64 departmentsFile = Inode(Db("departments.txt"));

    // Second start, every table present. It has run far enough when it has written its list files
    // again (each start does) and its engine holds the three table files open (the main view is open,
    // past the start-up's own check of the item table).
    Run();
    const QString fds = QStringLiteral("/proc/%1/fd").arg(process.processId());
    const auto openFiles = [&fds] {
        QSet<QString> files;
        for (const QFileInfo &fd : QDir(fds).entryInfoList(QDir::Files | QDir::System))
            files.insert(QFileInfo(fd.symLinkTarget()).fileName());
        return files;
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QSet<QString> open = openFiles();
            return Inode(Db("departments.txt")) != departmentsFile && open.contains("item.db") &&
                   open.contains("stock.db") && open.contains("appuser.db");
        },
        15000));
    Stop();
    EXPECT_EQ(Inode(Db("item.db")), itemFile);
    EXPECT_EQ(Inode(Db("stock.db")), stockFile);
    EXPECT_EQ(Inode(Db("appuser.db")), userFile);
    EXPECT_EQ(TableFile(Db("item.db")).Rows("select Store, Department, item_name, Count_New from item"),
              QStringList{"0|Dairy|Milk|2.0"});
    EXPECT_EQ(TableFile(Db("stock.db")).Rows("select count(*) from stock"), QStringList{"1"});
    EXPECT_EQ(TableFile(Db("appuser.db")).Rows("select User_Name from appuser"), QStringList{"admin"});

    // Third start with the stock table file gone: its owner makes it again on its timer, which fires
    // after the timers of the user and item owners, so once stock is back those two have looked at
    // their tables too, and must have left them as they were.
    ASSERT_TRUE(QFile::remove(Db("stock.db")));
    Run();
    ASSERT_TRUE(QTest::qWaitFor([this] { return HasTable("stock.db", "stock"); }, 15000));
    Stop();
    EXPECT_EQ(Inode(Db("item.db")), itemFile);
    EXPECT_EQ(Inode(Db("appuser.db")), userFile);
    EXPECT_EQ(TableFile(Db("item.db")).Rows("select item_name from item"), QStringList{"Milk"});
    EXPECT_EQ(TableFile(Db("appuser.db")).Rows("select User_Name, User_Level from appuser"),
              QStringList{"admin|3"});
    EXPECT_EQ(TableFile(Db("stock.db")).Columns("stock"), kStockColumns);
    EXPECT_EQ(TableFile(Db("stock.db")).Rows("select count(*) from stock"), QStringList{"0"});
}

} // namespace
