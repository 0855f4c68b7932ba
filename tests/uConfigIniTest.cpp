// The settings: application.ini and the two name lists, read at start-up and written straight back.
#include "uConfigIni.h"
#include "AutostartSandbox.h"
#include "TestSupport.h"
#include "core/Exception.h"
#include "shell/Shell.h"
#include "uDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A fresh program folder with its folders laid out, as the start-up sequence leaves it before the
// settings are read.
class uConfigIniTest : public ::testing::Test {
  protected:
    QTemporaryDir program;
    std::unique_ptr<TDir> dirs;

    void SetUp() override {
        dirs = std::make_unique<TDir>(Slash(program.path()));
        AppDirs = dirs.get();
    }
    void TearDown() override { AppDirs = nullptr; }

    QString App() const { return Slash(program.path()); }
    QString Ini() const { return dirs->ConfigPath + "application.ini"; }
    void PutIni(const QByteArray &text) const { Put(Ini(), text); }
    void PutLists(const QByteArray &stores = "Store #1\r\n",
                  const QByteArray &departments = "Dairy\r\n") const {
        Put(dirs->DBPath + "stores.txt", stores);
        Put(dirs->DBPath + "departments.txt", departments);
    }
    // A later start of the program over the same folder.
    std::unique_ptr<TConfig> Restart() {
        dirs = std::make_unique<TDir>(App());
        AppDirs = dirs.get();
        return std::make_unique<TConfig>();
    }
};

TEST_F(uConfigIniTest, FirstStartWritesEveryKeyWithItsDefault) {
    PutLists();
    TConfig config;
    const char *expected = "[Application]\r\n"
                           "Country=US\r\n"
                           "AutoStart=1\r\n"
                           "AutoSizeGrid=1\r\n"
                           "Left=2\r\n"
                           "Top=2\r\n"
                           "Heigth=600\r\n"
                           "Width=800\r\n"
                           "User_DB=@DB@\r\n"
                           "ResetPhrase=MopDog\r\n"
                           "ForceLogin=0\r\n"
                           "\r\n"
                           "[Store]\r\n"
                           "name=Store #1\r\n"
                           "ID=1\r\n"
                           "\r\n"
                           "[Email]\r\n"
                           "smtp_host=\r\n"
                           "smtp_port=25\r\n"
                           "smtp_password=\r\n"
                           "smtp_userid=\r\n"
                           "smtp_YourName=\r\n"
                           "smtp_EmailAddress=\r\n"
                           "shoplist=\r\n";
    EXPECT_EQ(Get(Ini()), QByteArray(expected).replace("@DB@", (App() + "DB/").toUtf8()));
    EXPECT_EQ(QDir(dirs->ConfigPath).entryList(QDir::Files | QDir::Hidden), QStringList{"application.ini"});
    EXPECT_EQ(Get(dirs->DBPath + "stores.txt"), "Store #1\r\n");
    EXPECT_EQ(Get(dirs->DBPath + "departments.txt"), "Dairy\r\n");
}

TEST_F(uConfigIniTest, FirstStartFieldsHoldTheDefaults) {
    PutLists();
    WindowLeft = WindowTop = WindowWidth = WindowHeight = -1;
    TConfig config;
    struct Case {
        const char *field;
        QString actual, expected;
    } cases[] = {
        {"IniFileName", config.IniFileName, App() + "Config/application.ini"},
        {"Country", config.Country, "US"},
        {"SmtpHost", config.SmtpHost, ""},
        {"SmtpPort", config.SmtpPort, "25"},
        {"SmtpPassword", config.SmtpPassword, ""},
        {"SmtpUserId", config.SmtpUserId, ""},
        {"SmtpYourName", config.SmtpYourName, ""},
        {"SmtpEmailAddress", config.SmtpEmailAddress, ""},
        {"ResetPhrase", config.ResetPhrase, "MopDog"},
        {"ShopListEmail", config.ShopListEmail, ""},
        {"StoreName", config.StoreName, "Store #1"},
        {"StoreID", config.StoreID, "1"},
        {"DBPath", dirs->DBPath, App() + "DB/"},
        {"NewDBPath", dirs->NewDBPath, App() + "DB/"},
        {"ProductWebSite", ProductWebSite, "https://larderly.example.org"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.field;
    EXPECT_TRUE(config.AutoStart);
    EXPECT_TRUE(config.AutoSizeGrid);
    EXPECT_FALSE(config.ForceLogin);
    EXPECT_EQ((std::vector<int>{WindowLeft, WindowTop, WindowHeight, WindowWidth}),
              (std::vector<int>{2, 2, 600, 800}));
    ASSERT_NE(config.IniFile, nullptr);
    EXPECT_EQ(config.IniFile->FileName(), config.IniFileName);
}

TEST_F(uConfigIniTest, ValuesOfAnExistingFileAreReadAndTheFileKeepsItsOrder) {
    PutLists();
    PutIni("[Email]\r\n"
           "smtp_host=mail.shop.example\r\n"
           "smtp_EmailAddress=larder@shop.example\r\n"
           "[Application]\r\n"
           "Country=NL\r\n"
           "Left=10\r\n"
           "Top=20\r\n"
           "Heigth=300\r\n"
           "Width=400\r\n"
           "AutoStart=0\r\n"
           "[Store]\r\n"
           "name=Corner Shop\r\n"
           "ID=0\r\n");
    TConfig config;
    EXPECT_EQ(config.SmtpHost, "mail.shop.example");
    EXPECT_EQ(config.SmtpEmailAddress, "larder@shop.example"); // the sender typed by the user is kept
    EXPECT_EQ(config.Country, "NL");
    EXPECT_FALSE(config.AutoStart);
    EXPECT_EQ(config.StoreName, "Corner Shop");
    EXPECT_EQ(config.StoreID, "0");
    EXPECT_EQ((std::vector<int>{WindowLeft, WindowTop, WindowHeight, WindowWidth}),
              (std::vector<int>{10, 20, 300, 400}));
    const QByteArray text = Get(Ini());
    EXPECT_TRUE(
        text.startsWith("[Email]\r\nsmtp_host=mail.shop.example\r\nsmtp_EmailAddress=larder@shop.example\r\n"
                        "smtp_port=25\r\n"))
        << text.toStdString();
    EXPECT_LT(text.indexOf("[Application]"), text.indexOf("[Store]"));
    EXPECT_TRUE(text.contains("Heigth=300\r\nWidth=400\r\nAutoStart=0\r\nAutoSizeGrid=1\r\n"))
        << text.toStdString();
}

TEST_F(uConfigIniTest, NonNumericWindowValuesGiveTheirDefaults) {
    PutLists();
    struct Case {
        const char *value;
    } cases[] = {{"abc"}, {"12px"}, {""}, {"1.5"}};
    for (const Case &c : cases) {
        PutIni(QByteArray("[Application]\r\nLeft=") + c.value + "\r\nTop=" + c.value +
               "\r\nHeigth=" + c.value + "\r\nWidth=" + c.value + "\r\nAutoSizeGrid=" + c.value +
               "\r\nForceLogin=" + c.value + "\r\n");
        auto config = Restart();
        EXPECT_EQ((std::vector<int>{WindowLeft, WindowTop, WindowHeight, WindowWidth}),
                  (std::vector<int>{2, 2, 600, 800}))
            << c.value;
        EXPECT_TRUE(config->AutoSizeGrid) << c.value;
        EXPECT_FALSE(config->ForceLogin) << c.value;
        EXPECT_TRUE(Get(Ini()).contains("Left=2\r\nTop=2\r\nHeigth=600\r\nWidth=800\r\n")) << c.value;
    }
}

TEST_F(uConfigIniTest, HeightIsSpelledHeigth) {
    PutLists();
    PutIni("[Application]\r\nHeight=123\r\n");
    TConfig config;
    EXPECT_EQ(WindowHeight, 600);
    const QByteArray text = Get(Ini());
    EXPECT_TRUE(text.contains("Height=123\r\n")); // an unknown key is kept as it was
    EXPECT_TRUE(text.contains("Heigth=600\r\n"));
}

TEST_F(uConfigIniTest, SmtpPortIsKeptAsTextExactlyAsFound) {
    PutLists();
    for (const char *port : {"587", "0025", "smtp", ""}) {
        PutIni(QByteArray("[Email]\r\nsmtp_port=") + port + "\r\n");
        auto config = Restart();
        EXPECT_EQ(config->SmtpPort, port);
        EXPECT_TRUE(Get(Ini()).contains(QByteArray("\r\nsmtp_port=") + port + "\r\n")) << port;
    }
}

TEST_F(uConfigIniTest, DatabaseFolderWithoutFinalSlashGetsOneAndIsWrittenBackWithIt) {
    QTemporaryDir shared;
    Put(shared.filePath("stores.txt"), "Far Store\r\n");
    Put(shared.filePath("departments.txt"), "Bakery\r\n");
    PutIni("[Application]\r\nUser_DB=" + shared.path().toUtf8() + "\r\n");
    TConfig config;
    EXPECT_EQ(dirs->DBPath, Slash(shared.path()));
    EXPECT_EQ(dirs->NetDir, App() + "DB/"); // the default folder stays where it was
    EXPECT_EQ(dirs->PrivDir, App() + "DB/");
    EXPECT_EQ(config.Stores, QStringList{"Far Store"});
    EXPECT_EQ(config.Departments, QStringList{"Bakery"});
    EXPECT_TRUE(Get(Ini()).contains("User_DB=" + Slash(shared.path()).toUtf8() + "\r\n"));
}

TEST_F(uConfigIniTest, EmptyDatabaseFolderMeansTheDefault) {
    PutLists("Home\r\n");
    PutIni("[Application]\r\nUser_DB=\r\n");
    TConfig config;
    EXPECT_EQ(dirs->DBPath, App() + "DB/");
    EXPECT_EQ(config.Stores, QStringList{"Home"});
    EXPECT_TRUE(Get(Ini()).contains("User_DB=" + (App() + "DB/").toUtf8() + "\r\n"));
}

TEST_F(uConfigIniTest, ChosenDatabaseFolderIsSavedOnlyWhenItExists) {
    PutLists();
    TConfig config;
    QTemporaryDir chosen;
    dirs->NewDBPath = chosen.path();
    config.SaveSettings();
    EXPECT_EQ(dirs->NewDBPath, Slash(chosen.path()));
    EXPECT_TRUE(Get(Ini()).contains("User_DB=" + Slash(chosen.path()).toUtf8() + "\r\n"));

    dirs->NewDBPath = chosen.filePath("missing");
    config.SaveSettings();
    EXPECT_EQ(dirs->NewDBPath, App() + "DB/");
    EXPECT_TRUE(Get(Ini()).contains("User_DB=" + (App() + "DB/").toUtf8() + "\r\n"));
}

TEST_F(uConfigIniTest, NamesWithBlanksSurviveASaveAndALoad) {
    PutLists();
    const QStringList stores{"Corner Shop", " leading blank", "trailing blank ", "",
                             QString::fromUtf8("Caf\xC3\xA9 Z\xC3\xBCrich")};
    const QStringList departments{"Fresh Fruit & Veg", "Dairy", ""};
    {
        TConfig config;
        config.Stores = stores;
        config.Departments = departments;
        config.SaveSettings();
    }
    EXPECT_EQ(Get(dirs->DBPath + "departments.txt"), "Fresh Fruit & Veg\r\nDairy\r\n\r\n");
    auto config = Restart();
    EXPECT_EQ(config->Stores, stores);
    EXPECT_EQ(config->Departments, departments);
}

TEST_F(uConfigIniTest, ListFilesAcceptEveryKindOfLineEnd) {
    struct Case {
        QByteArray bytes;
        QStringList names;
    } cases[] = {
        {"", {}},
        {"One", {"One"}},
        {"One\r\nTwo\r\n", {"One", "Two"}},
        {"One\nTwo\n", {"One", "Two"}},
        {"One\rTwo\r", {"One", "Two"}},
        {"One\r\nTwo\nThree\rFour", {"One", "Two", "Three", "Four"}},
        {"One\r\n\r\nThree\r\n", {"One", "", "Three"}},
        {"\r\n", {""}},
        {"One\n\n", {"One", ""}},
        {"\xEF\xBB\xBF"
         "Caf\xC3\xA9\r\n",
         {QString::fromUtf8("Caf\xC3\xA9")}},
    };
    for (const Case &c : cases) {
        PutLists(c.bytes, c.bytes);
        auto config = Restart();
        EXPECT_EQ(config->Stores, c.names) << c.bytes.toStdString();
        EXPECT_EQ(config->Departments, c.names) << c.bytes.toStdString();
    }
}

TEST_F(uConfigIniTest, WrittenListsEndEveryLineWithCrLf) {
    PutLists("A\nB", "C\rD\r");
    TConfig config;
    EXPECT_EQ(Get(dirs->DBPath + "stores.txt"), "A\r\nB\r\n");
    EXPECT_EQ(Get(dirs->DBPath + "departments.txt"), "C\r\nD\r\n");
}

TEST_F(uConfigIniTest, MissingListFilesStartEmptyAndAreCreated) {
    TConfig config;
    EXPECT_TRUE(config.Stores.isEmpty());
    EXPECT_TRUE(config.Departments.isEmpty());
    EXPECT_EQ(Get(dirs->DBPath + "stores.txt"), "");
    EXPECT_EQ(Get(dirs->DBPath + "departments.txt"), "");
}

TEST_F(uConfigIniTest, UnwritableListFileIsReported) {
    PutLists();
    TConfig config;
    dirs->DBPath = App() + "missing/";
    try {
        config.SaveSettings();
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().contains(App() + "missing/stores.txt")) << e.Message().toStdString();
    }
}

TEST_F(uConfigIniTest, LoginRequirementOutlastsARestart) {
    PutLists();
    {
        TConfig config;
        config.ForceLogin = true;
        config.SaveSettings();
        EXPECT_TRUE(Get(Ini()).contains("ForceLogin=1\r\n"));
    }
    auto config = Restart();
    EXPECT_TRUE(config->ForceLogin);
    config->ForceLogin = false; // Remove Logins, then the settings dialog's Close
    config->SaveSettings();
    EXPECT_FALSE(Restart()->ForceLogin);
}

TEST_F(uConfigIniTest, EditedSettingsSurviveARestart) {
    PutLists();
    {
        TConfig config;
        config.SmtpHost = "smtp.example.net";
        config.SmtpPort = "2525";
        config.SmtpPassword = "p=w;d";
        config.SmtpUserId = "larder";
        config.SmtpYourName = "The Larder";
        config.SmtpEmailAddress = "larder@example.net";
        config.ShopListEmail = "buyer@example.net";
        config.StoreName = "Second Store";
        config.StoreID = "1";
        config.ResetPhrase = "Open Sesame";
        WindowWidth = 1024;
        config.SaveSettings();
    }
    auto config = Restart();
    EXPECT_EQ(config->SmtpHost, "smtp.example.net");
    EXPECT_EQ(config->SmtpPort, "2525");
    EXPECT_EQ(config->SmtpPassword, "p=w;d");
    EXPECT_EQ(config->SmtpUserId, "larder");
    EXPECT_EQ(config->SmtpYourName, "The Larder");
    EXPECT_EQ(config->SmtpEmailAddress, "larder@example.net");
    EXPECT_EQ(config->ShopListEmail, "buyer@example.net");
    EXPECT_EQ(config->StoreName, "Second Store");
    EXPECT_EQ(config->ResetPhrase, "Open Sesame");
    EXPECT_EQ(WindowWidth, 1024);
}

TEST_F(uConfigIniTest, AutoStartRegisteredTwiceLeavesOneEntryAndRemovalIsQuiet) {
    AutostartSandbox sandbox;
    ScopedDialogs dialogs;
    PutLists();
    TConfig config;
    const QString entry = AutostartEntryPath();
    ASSERT_TRUE(entry.startsWith(sandbox.home.path()));

    config.RemoveAutoStart(); // nothing registered yet: nothing happens
    EXPECT_FALSE(QFileInfo::exists(entry));

    config.RegisterAutoStart();
    config.RegisterAutoStart();
    EXPECT_EQ(QDir(QFileInfo(entry).path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Larderly.desktop"});
    EXPECT_TRUE(Get(entry).contains(
        "\nExec=" + DesktopExecValue(QCoreApplication::applicationFilePath()).toUtf8() + "\n"));

    config.RemoveAutoStart();
    EXPECT_FALSE(QFileInfo::exists(entry));
    config.RemoveAutoStart();
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST(uConfigIniVersion, VersionAndRunKeyRoot) {
    // Neither needs the settings object: the About box asks for the version before it exists.
    EXPECT_EQ(GetVersion(), "1.0.0 Build 1");
    EXPECT_EQ(RunKeyRoot(), 0x80000002u); // not Windows 6.x
}

} // namespace
