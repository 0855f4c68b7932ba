#pragma once
// Every folder the program uses, laid out under the program's folder, and the few shell operations the
// program needs on files and folders. One instance, AppDirs, made first at start-up.
#include <QString>
#include <QStringList>

class QWidget;

class TDir {
  public:
    // Lays out the folders under `programFolder` and creates the missing ones (one level at a time; a
    // folder that cannot be created is left missing).
    explicit TDir(const QString &programFolder);

    // Opens a file with its default program, or a web address in the browser.
    void OpenDocument(const QString &nameOrUrl) const;
    // The folder name ending in exactly one '/'; an empty name stays empty (the settings loader reads
    // an empty database folder as "use the default").
    QString IncludeSlash(const QString &folder) const;
    // The plain files of `folder` matching `mask` as a comma list of double-quoted names, no blanks
    // between them; empty when the folder is missing or nothing matches.
    QString ListFiles(const QString &folder, const QString &mask) const;
    // Copies the plain files of `source` into `target`, replacing files of the same name. Subfolders
    // are not copied; a file that fails to copy is skipped without a word.
    void CopyFolderFiles(const QString &source, const QString &target) const;
    // The folder picker: the chosen folder, or an empty text when the user cancels.
    QString BrowseForFolder(QWidget *owner, const QString &title) const;

    // Every folder name is a full path ending in '/'.
    QString AppPath;
    QString DBPath; // the database folder; the settings may move it elsewhere
    QString NetDir; // the default database folder, kept when DBPath moves
    QString PrivDir;
    QString ConfigPath;
    QString BuildPath;
    QString HelpPath;
    QString FTPPath;
    QString LogPath;
    QString ReportPath;
    QString ReportImagesPath;
    QString NewDBPath; // a database folder chosen in the settings dialog, written as User_DB
    QString RootPath;  // the root of backup archives
};

// The text between two double quotes; a double quote inside the text is doubled so that the comma
// list of ListFiles reads back into the same names.
QString QuoteFileName(const QString &text);

// Splits a comma list as ListFiles makes it back into names; blanks and commas inside quoted names are
// kept.
QStringList SplitCommaText(const QString &commaText);

extern TDir *AppDirs;
