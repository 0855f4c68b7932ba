// The folder layout and the file operations of TDir.
#include "uDir.h"
#include "TestSupport.h"
#include "shell/Shell.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Every entry under `root`, as paths relative to it; folders end in '/'.
QSet<QString> Tree(const QString &root) {
    QSet<QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries.insert(QDir(root).relativeFilePath(it.filePath()) + (it.fileInfo().isDir() ? "/" : ""));
    }
    return entries;
}

class uDirTest : public ::testing::Test {
  protected:
    QTemporaryDir program;
    QString App() const { return Slash(program.path()); }
};

TEST_F(uDirTest, FirstStartCreatesExactlyTheProgramFolders) {
    TDir dirs(App());
    EXPECT_EQ(Tree(program.path()), (QSet<QString>{"DB/", "Config/", "Build/", "Help/", "FTP/", "Log/",
                                                   "Report/", "Report/Images/"}));
}

TEST_F(uDirTest, FoldersAreLaidOutUnderTheProgramFolder) {
    TDir dirs(App());
    const QString app = App();
    struct Case {
        const char *field;
        QString actual, expected;
    } cases[] = {
        {"AppPath", dirs.AppPath, app},
        {"DBPath", dirs.DBPath, app + "DB/"},
        {"NetDir", dirs.NetDir, app + "DB/"},
        {"PrivDir", dirs.PrivDir, app + "DB/"},
        {"ConfigPath", dirs.ConfigPath, app + "Config/"},
        {"BuildPath", dirs.BuildPath, app + "Build/"},
        {"HelpPath", dirs.HelpPath, app + "Help/"},
        {"FTPPath", dirs.FTPPath, app + "FTP/"},
        {"LogPath", dirs.LogPath, app + "Log/"},
        {"ReportPath", dirs.ReportPath, app + "Report/"},
        {"ReportImagesPath", dirs.ReportImagesPath, app + "Report/Images/"},
        {"NewDBPath", dirs.NewDBPath, ""},
        {"RootPath", dirs.RootPath, app},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.field;
}

TEST_F(uDirTest, ProgramFolderWithoutFinalSlashGetsOne) {
    TDir dirs(program.path());
    EXPECT_EQ(dirs.AppPath, App());
    EXPECT_EQ(dirs.ConfigPath, App() + "Config/");
}

TEST_F(uDirTest, ExistingFoldersAndFilesAreLeftAlone) {
    ASSERT_TRUE(QDir(program.path()).mkpath("DB"));
    Put(App() + "DB/item.db", "data");
    TDir dirs(App());
    EXPECT_EQ(Get(App() + "DB/item.db"), "data");
    EXPECT_TRUE(QFileInfo(dirs.ReportImagesPath).isDir());
}

TEST_F(uDirTest, MovingTheDatabaseFolderKeepsTheDefaultFolders) {
    TDir dirs(App());
    dirs.DBPath = "/srv/shared/larder/";
    EXPECT_EQ(dirs.NetDir, App() + "DB/");
    EXPECT_EQ(dirs.PrivDir, App() + "DB/");
}

TEST_F(uDirTest, IncludeSlashAppendsExactlyOne) {
    TDir dirs(App());
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"/data/db", "/data/db/"}, {"/data/db/", "/data/db/"}, {"/", "/"}, {"db", "db/"}, {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(dirs.IncludeSlash(c.in), c.out) << c.in;
}

TEST(uDirQuote, QuoteFileNameEnclosesTheText) {
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"item.db", "\"item.db\""}, {"two words.txt", "\"two words.txt\""}, {"", "\"\""},
        {"a,b", "\"a,b\""},         {"say \"hi\"", "\"say \"\"hi\"\"\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QuoteFileName(c.in), c.out) << c.in;
}

TEST(uDirQuote, CommaTextSplitsBackIntoTheNames) {
    struct Case {
        const char *text;
        QStringList names;
    } cases[] = {
        {"", {}},
        {"\"a.db\"", {"a.db"}},
        {"\"a b.db\",\"c.db\"", {"a b.db", "c.db"}},
        {"\"x,y\",\"say \"\"hi\"\"\"", {"x,y", "say \"hi\""}},
        {"plain,\"q\"", {"plain", "q"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SplitCommaText(c.text), c.names) << c.text;
}

TEST_F(uDirTest, ListFilesGivesQuotedPlainFilesHiddenIncludedFoldersLeftOut) {
    TDir dirs(App());
    const QString folder = dirs.BuildPath;
    EXPECT_EQ(dirs.ListFiles(folder, "*.*"), "");
    Put(folder + "two words.txt", "x");
    Put(folder + ".hidden", "x");
    ASSERT_TRUE(QDir(folder).mkdir("sub"));
    const QString text = dirs.ListFiles(folder.chopped(1), "*.*"); // folder without the final slash
    EXPECT_FALSE(text.contains(", ")) << text.toStdString();
    const QStringList names = SplitCommaText(text);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()), (QSet<QString>{"two words.txt", ".hidden"}));
    EXPECT_EQ(text, (QStringList{QuoteFileName(names[0]), QuoteFileName(names[1])}.join(QLatin1Char(','))));
    EXPECT_EQ(dirs.ListFiles(App() + "missing/", "*.*"), "");
}

TEST_F(uDirTest, CopyFolderFilesCopiesPlainFilesUnderTheirFullNames) {
    TDir dirs(App());
    const QString source = dirs.BuildPath, target = dirs.FTPPath;
    Put(source + "my stores.txt", "Corner Shop\r\n");
    Put(source + "item.db", "items");
    Put(source + ".hidden", "h");
    ASSERT_TRUE(QDir(source).mkdir("sub"));
    Put(source + "sub/inner.txt", "not copied");
    Put(target + "item.db", "old items");
    dirs.CopyFolderFiles(source, target.chopped(1));
    EXPECT_EQ(Tree(target), (QSet<QString>{"my stores.txt", "item.db", ".hidden"}));
    EXPECT_EQ(Get(target + "my stores.txt"), "Corner Shop\r\n");
    EXPECT_EQ(Get(target + "item.db"), "items");
}

TEST_F(uDirTest, CopyFolderFilesFromAMissingFolderDoesNothing) {
    TDir dirs(App());
    const QSet<QString> before = Tree(program.path());
    EXPECT_NO_THROW(dirs.CopyFolderFiles(App() + "missing/", dirs.FTPPath));
    EXPECT_NO_THROW(dirs.CopyFolderFiles(dirs.BuildPath, App() + "no/such/target/")); // nothing to copy
    Put(dirs.BuildPath + "a.txt", "x");
    EXPECT_NO_THROW(dirs.CopyFolderFiles(dirs.BuildPath, App() + "no/such/target/")); // copy fails quietly
    EXPECT_EQ(Tree(program.path()), before + QSet<QString>{"Build/a.txt"});
}

TEST_F(uDirTest, BrowseForFolderGoesThroughTheDialogs) {
    ScopedDialogs dialogs;
    dialogs->fileAnswers = {"/srv/larder", ""};
    TDir dirs(App());
    EXPECT_EQ(dirs.BrowseForFolder(nullptr, "Pick the database folder"), "/srv/larder");
    EXPECT_EQ(dirs.BrowseForFolder(nullptr, "Again"), ""); // cancelled
    EXPECT_EQ(dialogs->Texts("folder"), (QStringList{"Pick the database folder", "Again"}));
}

TEST_F(uDirTest, OpenDocumentHandsTheNameToTheShell) {
    QStringList opened;
    SetOpenDocumentHook([&](const QString &name) { opened.append(name); });
    TDir dirs(App());
    dirs.OpenDocument(dirs.HelpPath + "index.html");
    SetOpenDocumentHook({});
    EXPECT_EQ(opened, QStringList{App() + "Help/index.html"});
}

} // namespace
