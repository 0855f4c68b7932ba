#include "uDir.h"

#include "dialogs/Dialogs.h"
#include "shell/Shell.h"

#include <QDir>
#include <QStringList>

TDir *AppDirs = nullptr;

namespace {

// Folder names end in a separator; an empty name has no folder to end.
QString WithSlash(const QString &folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

// Creates one folder level when it is missing; a failure leaves it missing.
void CreateFolder(const QString &folder) {
    QDir dir;
    if (!dir.exists(folder))
        dir.mkdir(folder);
}

} // namespace

TDir::TDir(const QString &programFolder) {
    AppPath = WithSlash(programFolder);
    DBPath = AppPath + QStringLiteral("DB/");
    NetDir = DBPath;
    PrivDir = DBPath;
    ConfigPath = AppPath + QStringLiteral("Config/");
    BuildPath = AppPath + QStringLiteral("Build/");
    HelpPath = AppPath + QStringLiteral("Help/");
    FTPPath = AppPath + QStringLiteral("FTP/");
    LogPath = AppPath + QStringLiteral("Log/");
    ReportPath = AppPath + QStringLiteral("Report/");
    ReportImagesPath = ReportPath + QStringLiteral("Images/");
    NewDBPath.clear();
    RootPath = AppPath;

    for (const QString *folder : {&LogPath, &AppPath, &NetDir, &ConfigPath, &BuildPath, &HelpPath, &FTPPath,
                                  &ReportPath, &ReportImagesPath})
        CreateFolder(*folder);
}

void TDir::OpenDocument(const QString &nameOrUrl) const {
    ShellOpenDocument(nameOrUrl);
}

QString TDir::IncludeSlash(const QString &folder) const {
    return WithSlash(folder);
}

QString TDir::ListFiles(const QString &folder, const QString &mask) const {
    QStringList quoted;
    const QString dir = folder.isEmpty() ? folder : IncludeSlash(folder);
    for (const QString &name : ShellListFiles(dir, mask))
        quoted.append(QuoteFileName(name));
    return quoted.join(QLatin1Char(','));
}

void TDir::CopyFolderFiles(const QString &source, const QString &target) const {
    QStringList names;
    if (!source.isEmpty() && QDir(source).exists())
        names = SplitCommaText(ListFiles(source, QStringLiteral("*.*")));
    const QString from = IncludeSlash(source);
    const QString to = IncludeSlash(target);
    for (const QString &name : names)
        ShellCopyFile(from + name, to + name); // a failed copy is skipped; the caller is not told
}

QString TDir::BrowseForFolder(QWidget *owner, const QString &title) const {
    return Dialogs().BrowseFolder(owner, title);
}

QString QuoteFileName(const QString &text) {
    QString inner = text;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QStringList SplitCommaText(const QString &commaText) {
    // A quoted item runs to its closing quote ("" stands for one quote inside it); an unquoted item runs
    // to the next comma or blank. Blanks between items are skipped.
    QStringList items;
    const qsizetype n = commaText.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && commaText.at(i).isSpace())
            ++i;
    };
    skipBlanks();
    if (i >= n)
        return items;
    while (true) {
        QString item;
        if (i < n && commaText.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (commaText.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && commaText.at(i + 1) == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += commaText.at(i++);
            }
        } else {
            while (i < n && commaText.at(i) != QLatin1Char(',') && !commaText.at(i).isSpace())
                item += commaText.at(i++);
        }
        items.append(item);
        skipBlanks();
        if (i >= n)
            break;
        if (commaText.at(i) == QLatin1Char(','))
            ++i;
        skipBlanks();
        if (i >= n) {
            items.append(QString()); // a trailing comma ends with an empty item
            break;
        }
    }
    return items;
}
