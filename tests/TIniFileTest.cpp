// The profile file: look-up without regard to case, order kept, atomic replacement, number parsing.
#include "profile/TIniFile.h"
#include "core/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TIniFileTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString Path(const QString &name = QStringLiteral("test.ini")) const { return dir.filePath(name); }

    void Put(const QByteArray &bytes, const QString &name = QStringLiteral("test.ini")) const {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Get(const QString &name = QStringLiteral("test.ini")) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList Entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

TEST_F(TIniFileTest, FindsSectionsAndKeysWithoutRegardToCase) {
    Put("[Application]\r\nCountry=NL\r\n[Email]\r\nsmtp_host=mail.example\r\n");
    TIniFile ini(Path());
    struct Case {
        const char *section, *key, *expected;
    } cases[] = {
        {"Application", "Country", "NL"},     {"application", "country", "NL"},
        {"APPLICATION", "COUNTRY", "NL"},     {"email", "SMTP_HOST", "mail.example"},
        {"Email", "Country", "default"},      {"Store", "Country", "default"},
        {"Application", "Countr", "default"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), c.expected) << c.section << "/" << c.key;
    EXPECT_TRUE(ini.ValueExists("APPLICATION", "country"));
    EXPECT_FALSE(ini.ValueExists("Application", "smtp_host"));
    EXPECT_TRUE(ini.SectionExists("eMaiL"));
    EXPECT_FALSE(ini.SectionExists("Store"));
}

TEST_F(TIniFileTest, WriteReplacesValueInPlaceWhateverTheCaseOfTheKey) {
    Put("[App]\r\nKey=old\r\nOther=2\r\n");
    {
        TIniFile ini(Path());
        ini.WriteString("app", "KEY", "new");
        EXPECT_EQ(ini.ReadString("App", "Key", ""), "new"); // seen before the file is written
        ini.UpdateFile();
    }
    EXPECT_EQ(Get(), "[App]\r\nKey=new\r\nOther=2\r\n");
}

TEST_F(TIniFileTest, ExistingFileKeepsOrderAndCommentsAndNewKeysAreAppended) {
    Put("; kept comment\r\n"
        "[Zeta]\r\n"
        "b=1\r\n"
        "junk line without equals\r\n"
        "a = spaced \r\n"
        "\r\n"
        "[Alpha]\r\n"
        "x=9\r\n");
    {
        TIniFile ini(Path());
        EXPECT_EQ(ini.ReadString("Zeta", "a", ""), "spaced");
        ini.WriteString("Zeta", "c", "3");   // new key: after the last line of its section
        ini.WriteString("Alpha", "y", "8");  // new key in the last section
        ini.WriteString("New", "k", "v");    // new section at the end
        ini.WriteString("Zeta", "d", "4");   // later new key in an old section
        ini.WriteString("Second", "k", "w"); // second new section after the first
        ini.UpdateFile();
    }
    EXPECT_EQ(Get(), "; kept comment\r\n"
                     "[Zeta]\r\n"
                     "b=1\r\n"
                     "junk line without equals\r\n"
                     "a = spaced \r\n"
                     "c=3\r\n"
                     "d=4\r\n"
                     "\r\n"
                     "[Alpha]\r\n"
                     "x=9\r\n"
                     "y=8\r\n"
                     "\r\n"
                     "[New]\r\n"
                     "k=v\r\n"
                     "\r\n"
                     "[Second]\r\n"
                     "k=w\r\n");
}

TEST_F(TIniFileTest, NewFileHasSectionsInOrderOfFirstWriteWithCrLf) {
    {
        TIniFile ini(Path());
        ini.WriteString("B", "one", "1");
        ini.WriteString("A", "two", "2");
        ini.WriteString("B", "three", "3");
    } // the destructor writes the pending changes
    EXPECT_EQ(Get(), "[B]\r\none=1\r\nthree=3\r\n\r\n[A]\r\ntwo=2\r\n");
}

TEST_F(TIniFileTest, FileWithLfLineEndsKeepsThem) {
    Put("[S]\nk=1\n");
    {
        TIniFile ini(Path());
        ini.WriteString("S", "n", "2");
    }
    EXPECT_EQ(Get(), "[S]\nk=1\nn=2\n");
}

TEST_F(TIniFileTest, WholeNumbersAndBooleans) {
    struct Case {
        const char *value;
        int asInt;      // ReadInteger with default 7
        bool asBoolDef; // ReadBool with default true
    } cases[] = {
        {"0", 0, false},    {"1", 1, true},           {"-5", -5, true},   {"+12", 12, true},
        {" 42 ", 42, true}, {"abc", 7, true},         {"12x", 7, true},   {"", 7, true},
        {"1.5", 7, true},   {"99999999999", 7, true}, {"\"3\"", 3, true},
    };
    for (const Case &c : cases) {
        Put(QByteArray("[S]\r\nk=") + c.value + "\r\n");
        TIniFile ini(Path());
        EXPECT_EQ(ini.ReadInteger("S", "k", 7), c.asInt) << c.value;
        EXPECT_EQ(ini.ReadBool("S", "k", true), c.asBoolDef) << c.value;
        if (c.asInt == 7) { // not a whole number: the other default comes back too
            EXPECT_FALSE(ini.ReadBool("S", "k", false)) << c.value;
        }
    }
    TIniFile ini(Path("missing.ini"));
    EXPECT_EQ(ini.ReadInteger("S", "k", -3), -3);
    EXPECT_TRUE(ini.ReadBool("S", "k", true));
}

TEST_F(TIniFileTest, WritesBooleansAsOneOrZeroAndIntegersInDecimal) {
    {
        TIniFile ini(Path());
        ini.WriteBool("S", "yes", true);
        ini.WriteBool("S", "no", false);
        ini.WriteInteger("S", "neg", -17);
        ini.UpdateFile();
    }
    EXPECT_EQ(Get(), "[S]\r\nyes=1\r\nno=0\r\nneg=-17\r\n");
}

TEST_F(TIniFileTest, ValuesInMatchingQuotesAreReadWithoutThemAndTextIsUtf8) {
    Put("\xEF\xBB\xBF[S]\r\nq=\"a b\"\r\ns='c'\r\nhalf=\"d\r\nname=Caf\xC3\xA9\r\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("S", "q", ""), "a b");
    EXPECT_EQ(ini.ReadString("S", "s", ""), "c");
    EXPECT_EQ(ini.ReadString("S", "half", ""), "\"d");
    EXPECT_EQ(ini.ReadString("S", "name", ""), QString::fromUtf8("Caf\xC3\xA9"));
}

TEST_F(TIniFileTest, UpdateReplacesTheFileAndLeavesNoTemporaryFile) {
    Put("[S]\r\nk=1\r\n");
    TIniFile ini(Path());
    ini.WriteString("S", "k", QString::fromUtf8("\xC3\xBC"));
    EXPECT_EQ(Get(), "[S]\r\nk=1\r\n"); // nothing on disk before the flush
    ini.UpdateFile();
    EXPECT_EQ(Get(), "[S]\r\nk=\xC3\xBC\r\n");
    EXPECT_EQ(Entries(), QStringList{"test.ini"});
}

TEST_F(TIniFileTest, NothingWrittenMeansNoFile) {
    {
        TIniFile ini(Path());
        ini.UpdateFile();
    }
    EXPECT_TRUE(Entries().isEmpty());
}

TEST_F(TIniFileTest, FailedUpdateThrowsAndLeavesTheOldEntryAndNoTemporaryFile) {
    // The name is taken by a folder: the new file cannot be put in its place.
    ASSERT_TRUE(QDir(dir.path()).mkdir("test.ini"));
    Put("keep", "test.ini/inside.txt");
    TIniFile ini(Path());
    ini.WriteString("S", "k", "v");
    EXPECT_THROW(ini.UpdateFile(), Exception);
    EXPECT_EQ(Entries(), QStringList{"test.ini"});
    EXPECT_EQ(Get("test.ini/inside.txt"), "keep");
}

TEST_F(TIniFileTest, FailedUpdateNamesTheFileAndTheDestructorDoesNotThrow) {
    const QString path = Path("no-such-folder/app.ini");
    auto ini = std::make_unique<TIniFile>(path);
    ini->WriteString("S", "k", "v");
    try {
        ini->UpdateFile();
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().contains(path)) << e.Message().toStdString();
    }
    EXPECT_NO_THROW(ini.reset());
    EXPECT_FALSE(QFileInfo::exists(path));
}

} // namespace
