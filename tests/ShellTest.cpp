// Shell stand-ins: listing and copying files, the start-at-logon entry, opening documents, the version.
#include "shell/Shell.h"
#include "AutostartSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "TestSupport.h"
#include <gtest/gtest.h>

namespace {

QSet<QString> AsSet(const QStringList &list) {
    return QSet<QString>(list.begin(), list.end());
}

class ShellListFilesTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    void SetUp() override {
        for (const char *name : {"a.txt", "B.TXT", ".hidden", "noext", "two words.db"})
            Put(dir.filePath(name), "x");
        ASSERT_TRUE(QDir(dir.path()).mkdir("sub.txt"));
        Put(dir.filePath("sub.txt/inner.txt"), "x");
    }
};

TEST_F(ShellListFilesTest, MatchesMasksLikeTheProgramExpects) {
    struct Case {
        const char *mask;
        QSet<QString> expected;
    } cases[] = {
        {"*.*", {"a.txt", "B.TXT", ".hidden", "noext", "two words.db"}},
        {"*", {"a.txt", "B.TXT", ".hidden", "noext", "two words.db"}},
        {"*.txt", {"a.txt", "B.TXT"}}, // without regard to case; the folder sub.txt is left out
        {"noext.*", {"noext"}},
        {"*.zip", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AsSet(ShellListFiles(dir.path(), c.mask)), c.expected) << c.mask;
}

TEST_F(ShellListFilesTest, KeepsTheOrderOfTheFileSystem) {
    const QStringList listed = ShellListFiles(dir.path() + "/", "*.*");
    const QStringList fsOrder =
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    EXPECT_EQ(listed, fsOrder);
}

TEST(ShellListFiles, MissingOrEmptyFolderGivesNothing) {
    QTemporaryDir dir;
    EXPECT_TRUE(ShellListFiles(dir.path(), "*.*").isEmpty());
    EXPECT_TRUE(ShellListFiles(dir.filePath("missing"), "*.*").isEmpty());
    EXPECT_TRUE(ShellListFiles(QString(), "*.*").isEmpty());
}

TEST(ShellCopyFile, CopiesAndReplacesAnExistingTarget) {
    QTemporaryDir dir;
    Put(dir.filePath("from"), "new content");
    Put(dir.filePath("to"), "old content that is longer");
    EXPECT_TRUE(ShellCopyFile(dir.filePath("from"), dir.filePath("to")));
    EXPECT_EQ(Get(dir.filePath("to")), "new content");
    EXPECT_TRUE(ShellCopyFile(dir.filePath("from"), dir.filePath("fresh copy")));
    EXPECT_EQ(Get(dir.filePath("fresh copy")), "new content");
}

TEST(ShellCopyFile, FailsForAMissingSourceOrTargetFolder) {
    QTemporaryDir dir;
    Put(dir.filePath("from"), "x");
    EXPECT_FALSE(ShellCopyFile(dir.filePath("missing"), dir.filePath("to")));
    EXPECT_FALSE(ShellCopyFile(dir.filePath("from"), dir.filePath("no/such/folder/to")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("to")));
}

TEST(ShellAutostart, EntryLivesInTheUsersAutostartFolder) {
    AutostartSandbox sandbox;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    EXPECT_TRUE(config.startsWith(sandbox.home.path())) << config.toStdString();
    EXPECT_EQ(AutostartEntryPath(), config + "/autostart/Larderly.desktop");
}

TEST(ShellAutostart, WriteCreatesTheFolderAndAValidEntryRemoveDeletesIt) {
    AutostartSandbox sandbox;
    const QString entry = AutostartEntryPath();
    ASSERT_FALSE(QFileInfo::exists(QFileInfo(entry).path()));
    ASSERT_TRUE(AutostartWrite("/opt/Larder ly/larderly"));
    EXPECT_EQ(Get(entry), "[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.0\n"
                          "Name=Larderly\n"
                          "Exec=\"/opt/Larder ly/larderly\"\n"
                          "Terminal=false\n");
    ASSERT_TRUE(AutostartWrite("/usr/bin/larderly")); // a second write replaces the entry
    EXPECT_EQ(QDir(QFileInfo(entry).path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Larderly.desktop"});
    EXPECT_TRUE(Get(entry).contains("Exec=\"/usr/bin/larderly\"\n"));
    EXPECT_TRUE(AutostartRemove());
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_TRUE(AutostartRemove()); // nothing left to remove: fine
}

TEST(ShellAutostart, ExecValueIsQuotedAndEscapedForADesktopEntry) {
    struct Case {
        const char *path, *exec;
    } cases[] = {
        {"/opt/larderly", R"("/opt/larderly")"}, {"/opt/my app/larderly", R"("/opt/my app/larderly")"},
        {"/opt/a$b/x", R"("/opt/a\\$b/x")"},     {"/opt/a\"b/x", R"("/opt/a\\"b/x")"},
        {"/opt/a`b/x", R"("/opt/a\\`b/x")"},     {"/opt/a\\b/x", R"("/opt/a\\\\b/x")"},
        {"/opt/100%/x", R"("/opt/100%%/x")"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DesktopExecValue(QString::fromUtf8(c.path)), QString::fromUtf8(c.exec)) << c.path;
}

TEST(ShellOpenDocument, HookReceivesTheNameInsteadOfALaunch) {
    QStringList opened;
    SetOpenDocumentHook([&](const QString &name) { opened.append(name); });
    ShellOpenDocument("/tmp/Help/index.html");
    ShellOpenDocument("https://larderly.example.org");
    SetOpenDocumentHook({});
    EXPECT_EQ(opened, (QStringList{"/tmp/Help/index.html", "https://larderly.example.org"}));
}

TEST(ShellVersion, ComesFromTheProjectVersion) {
    // The project is version 1.0.0.1; change this text together with the version in CMakeLists.txt.
    EXPECT_EQ(CompiledVersionText(), "1.0.0 Build 1");
}

} // namespace
