#pragma once
// The program's settings: application.ini in the Config folder, and the store and department names in
// stores.txt and departments.txt in the database folder. One instance, AppConfig, made at start-up
// right after AppDirs; it reads the settings and writes them straight back, so that missing keys get
// their defaults on disk.
#include "profile/TIniFile.h"

#include <QString>
#include <QStringList>
#include <memory>

class TConfig {
  public:
    // Loads the settings, sets ProductWebSite and saves the settings.
    TConfig();

    // Reads application.ini and both list files. The database folder AppDirs->DBPath becomes the
    // User_DB setting (an empty one means the default DB folder under the program folder).
    void LoadSettings();
    // Writes every setting and both list files (into AppDirs->DBPath) and flushes application.ini.
    // Throws Exception when a list file cannot be written.
    void SaveSettings();
    // Makes the desktop start this program at logon (replacing an older entry); shows nothing.
    void RegisterAutoStart();
    // Removes the start-at-logon entry if there is one; shows nothing.
    void RemoveAutoStart();

    std::unique_ptr<TIniFile> IniFile; // open for the whole run
    QString IniFileName;
    QString Country;
    bool AutoStart = true;
    bool AutoSizeGrid = true;
    QString SmtpHost;
    QString SmtpPort; // as text, exactly as found in the file
    QString SmtpPassword;
    QString SmtpUserId;
    QString SmtpYourName;
    QString SmtpEmailAddress;
    QString ResetPhrase;
    QString ShopListEmail;
    QString StoreName;
    QString StoreID; // zero-based position in Stores, as decimal text
    QStringList Departments;
    QStringList Stores;
    bool ForceLogin = false;
};

// The version the program was built as, e.g. "1.0.0 Build 1"; empty when unknown. Needs no AppConfig.
QString GetVersion();

// The registry root the start-at-logon entry lives under: HKEY_CURRENT_USER on Windows 6.x, else
// HKEY_LOCAL_MACHINE. On this system both roots lead to the same per-user autostart entry.
constexpr unsigned HKEY_CURRENT_USER_ROOT = 0x80000001u;
constexpr unsigned HKEY_LOCAL_MACHINE_ROOT = 0x80000002u;
unsigned RunKeyRoot();

// Reads a name list: one name per line, CR, LF or CR LF ending a line, an empty line an empty name; a
// final line end adds no name. A missing or unreadable file gives an empty list.
QStringList ReadNameList(const QString &fileName);
// Writes a name list, each line ended by CR LF, UTF-8, replacing the file. Throws Exception naming the
// file when it cannot be written.
void WriteNameList(const QString &fileName, const QStringList &names);

// Kept in application.ini; no window uses them.
extern int WindowLeft, WindowTop, WindowWidth, WindowHeight;
extern QString ProductWebSite;
// The address of the product's web site (the value ProductWebSite takes).
QString ProductWebSiteAddress();
extern TConfig *AppConfig;
