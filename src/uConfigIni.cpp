#include "uConfigIni.h"

#include "core/Exception.h"
#include "shell/Shell.h"
#include "uDir.h"
#include "uWinVersion.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

int WindowLeft = 2;
int WindowTop = 2;
int WindowWidth = 800;
int WindowHeight = 600;
QString ProductWebSite;

QString ProductWebSiteAddress() {
    return QStringLiteral("https://larderly.example.org");
}

TConfig *AppConfig = nullptr;

namespace {

const QString kApplication = QStringLiteral("Application");
const QString kStore = QStringLiteral("Store");
const QString kEmail = QStringLiteral("Email");

} // namespace

TConfig::TConfig() {
    LoadSettings();
    ProductWebSite = ProductWebSiteAddress();
    SaveSettings();
}

void TConfig::LoadSettings() {
    IniFileName = AppDirs->ConfigPath + QStringLiteral("application.ini");
    IniFile.reset(); // the old object writes what it still holds before the file is read again
    IniFile = std::make_unique<TIniFile>(IniFileName);
    TIniFile &ini = *IniFile;

    SmtpHost = ini.ReadString(kEmail, QStringLiteral("smtp_host"), QString());
    SmtpPort = ini.ReadString(kEmail, QStringLiteral("smtp_port"), QStringLiteral("25"));
    SmtpUserId = ini.ReadString(kEmail, QStringLiteral("smtp_userid"), QString());
    SmtpYourName = ini.ReadString(kEmail, QStringLiteral("smtp_YourName"), QString());
    SmtpEmailAddress = ini.ReadString(kEmail, QStringLiteral("smtp_EmailAddress"), QString());
    SmtpPassword = ini.ReadString(kEmail, QStringLiteral("smtp_password"), QString());
    ShopListEmail = ini.ReadString(kEmail, QStringLiteral("shoplist"), QString());

    Country = ini.ReadString(kApplication, QStringLiteral("Country"), QStringLiteral("US"));
    AutoStart = ini.ReadBool(kApplication, QStringLiteral("AutoStart"), true);
    AutoSizeGrid = ini.ReadBool(kApplication, QStringLiteral("AutoSizeGrid"), true);
    WindowLeft = ini.ReadInteger(kApplication, QStringLiteral("Left"), 2);
    WindowTop = ini.ReadInteger(kApplication, QStringLiteral("Top"), 2);
    WindowHeight = ini.ReadInteger(kApplication, QStringLiteral("Heigth"), 600);
    WindowWidth = ini.ReadInteger(kApplication, QStringLiteral("Width"), 800);
    ForceLogin = ini.ReadBool(kApplication, QStringLiteral("ForceLogin"), false);
    ResetPhrase = ini.ReadString(kApplication, QStringLiteral("ResetPhrase"), QStringLiteral("MopDog"));

    StoreName = ini.ReadString(kStore, QStringLiteral("name"), QStringLiteral("Store #1"));
    StoreID = ini.ReadString(kStore, QStringLiteral("ID"), QStringLiteral("1"));

    // The database folder; an empty setting means the default DB folder under the program folder. A
    // folder named here is used as it is and not created.
    AppDirs->DBPath =
        AppDirs->IncludeSlash(ini.ReadString(kApplication, QStringLiteral("User_DB"), AppDirs->DBPath));
    if (AppDirs->DBPath.isEmpty())
        AppDirs->DBPath = AppDirs->NetDir;

    Departments = ReadNameList(AppDirs->DBPath + QStringLiteral("departments.txt"));
    Stores = ReadNameList(AppDirs->DBPath + QStringLiteral("stores.txt"));
}

void TConfig::SaveSettings() {
    TIniFile &ini = *IniFile;
    ini.WriteString(kApplication, QStringLiteral("Country"), Country);
    ini.WriteBool(kApplication, QStringLiteral("AutoStart"), AutoStart);
    ini.WriteBool(kApplication, QStringLiteral("AutoSizeGrid"), AutoSizeGrid);
    ini.WriteInteger(kApplication, QStringLiteral("Left"), WindowLeft);
    ini.WriteInteger(kApplication, QStringLiteral("Top"), WindowTop);
    ini.WriteInteger(kApplication, QStringLiteral("Heigth"), WindowHeight);
    ini.WriteInteger(kApplication, QStringLiteral("Width"), WindowWidth);

    // A database folder chosen in the settings dialog counts only when it exists.
    if (AppDirs->NewDBPath.isEmpty() || !QFileInfo(AppDirs->NewDBPath).isDir())
        AppDirs->NewDBPath = AppDirs->DBPath;
    AppDirs->NewDBPath = AppDirs->IncludeSlash(AppDirs->NewDBPath);
    ini.WriteString(kApplication, QStringLiteral("User_DB"), AppDirs->NewDBPath);

    ini.WriteString(kApplication, QStringLiteral("ResetPhrase"), ResetPhrase);
    ini.WriteString(kStore, QStringLiteral("name"), StoreName);
    ini.WriteString(kStore, QStringLiteral("ID"), StoreID);
    ini.WriteString(kEmail, QStringLiteral("smtp_host"), SmtpHost);
    ini.WriteString(kEmail, QStringLiteral("smtp_port"), SmtpPort);
    ini.WriteString(kEmail, QStringLiteral("smtp_password"), SmtpPassword);
    ini.WriteString(kEmail, QStringLiteral("smtp_userid"), SmtpUserId);
    ini.WriteString(kEmail, QStringLiteral("smtp_YourName"), SmtpYourName);
    ini.WriteString(kEmail, QStringLiteral("smtp_EmailAddress"), SmtpEmailAddress);
    ini.WriteString(kEmail, QStringLiteral("shoplist"), ShopListEmail);

    try {
        WriteNameList(AppDirs->DBPath + QStringLiteral("stores.txt"), Stores);
        WriteNameList(AppDirs->DBPath + QStringLiteral("departments.txt"), Departments);
    } catch (...) {
        // What was written so far still reaches application.ini before the error is shown.
        try {
            ini.UpdateFile();
        } catch (...) {
        }
        throw;
    }

    // The login requirement is saved as it stands, so that switching it on outlasts a restart.
    ini.WriteBool(kApplication, QStringLiteral("ForceLogin"), ForceLogin);
    ini.UpdateFile();
}

void TConfig::RegisterAutoStart() {
    // Both registry roots lead to the one per-user autostart entry here; the root is asked for all the
    // same so that the choice stays where the program makes it.
    (void)RunKeyRoot();
    AutostartRemove();
    AutostartWrite(QCoreApplication::applicationFilePath());
}

void TConfig::RemoveAutoStart() {
    (void)RunKeyRoot();
    AutostartRemove();
}

QString GetVersion() {
    return CompiledVersionText();
}

unsigned RunKeyRoot() {
    return GetWinVersion() == 8 ? HKEY_CURRENT_USER_ROOT : HKEY_LOCAL_MACHINE_ROOT;
}

QStringList ReadNameList(const QString &fileName) {
    QStringList names;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return names;
    const QString text = DecodeProfileText(file.readAll());
    QString current;
    bool open = false; // a line has started and is not ended yet
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            names.append(current);
            current.clear();
            open = false;
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            current.append(c);
            open = true;
        }
    }
    if (open)
        names.append(current);
    return names;
}

void WriteNameList(const QString &fileName, const QStringList &names) {
    QString text;
    for (const QString &name : names)
        text += name + QStringLiteral("\r\n");
    const QByteArray bytes = text.toUtf8();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
}
