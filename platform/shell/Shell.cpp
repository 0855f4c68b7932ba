#include "shell/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <filesystem>
#include <system_error>

namespace {

std::function<void(const QString &)> &OpenDocumentHook() {
    static std::function<void(const QString &)> hook;
    return hook;
}

// A web address keeps its own scheme; "www.…" without one is taken as a web page; anything else is a
// file, relative names resolved against the current folder. A one-letter scheme is a drive letter,
// not a scheme.
QUrl DocumentUrl(const QString &name) {
    if (QFileInfo(name).isAbsolute())
        return QUrl::fromLocalFile(name);
    if (name.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + name);
    const QUrl url(name);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath());
}

std::filesystem::path NativePath(const QString &name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

// One version number as the program shows it: decimal, no leading zeros, 0 when not given.
[[maybe_unused]] QString VersionPart(const char *text) {
    return QString::number(QByteArray(text).trimmed().toUInt());
}

} // namespace

void ShellOpenDocument(const QString &nameOrUrl) {
    if (const auto &hook = OpenDocumentHook()) {
        hook(nameOrUrl);
        return;
    }
    QDesktopServices::openUrl(DocumentUrl(nameOrUrl));
}

void SetOpenDocumentHook(std::function<void(const QString &)> hook) {
    OpenDocumentHook() = std::move(hook);
}

QStringList ShellListFiles(const QString &folder, const QString &mask) {
    QStringList filters{mask.isEmpty() ? QStringLiteral("*") : mask};
    // As on the system the program came from, "name.*" also matches "name" with no extension at all,
    // so "*.*" is every file.
    if (mask.endsWith(QLatin1String(".*")))
        filters.append(mask.chopped(2).isEmpty() ? QStringLiteral("*") : mask.chopped(2));

    QStringList names;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return names;
    QDirIterator it(folder, filters, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names.append(it.fileName());
    }
    return names;
}

bool ShellCopyFile(const QString &from, const QString &to) {
    std::error_code error;
    return std::filesystem::copy_file(NativePath(from), NativePath(to),
                                      std::filesystem::copy_options::overwrite_existing, error) &&
           !error;
}

QString AutostartEntryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/Larderly.desktop");
}

QString DesktopExecValue(const QString &exePath) {
    // Inside a quoted argument the characters " ` $ and \ take a backslash.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : exePath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    // The value as a whole is a desktop-entry string, whose own escapes are undone before the quoting
    // is read: a backslash is doubled again and control characters are written as escapes. A percent
    // sign would start a field code, so it is doubled.
    QString value;
    for (const QChar c : quoted) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('%'))
            value += QStringLiteral("%%");
        else
            value += c;
    }
    return value;
}

bool AutostartWrite(const QString &exePath) {
    const QString entry = AutostartEntryPath();
    if (!QDir().mkpath(QFileInfo(entry).absolutePath()))
        return false;
    QSaveFile file(entry);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Version=1.0\n"
                                        "Name=Larderly\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n")
                             .arg(DesktopExecValue(exePath));
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.commit();
}

bool AutostartRemove() {
    const QString entry = AutostartEntryPath();
    if (!QFileInfo::exists(entry) && !QFileInfo(entry).isSymLink())
        return true;
    return QFile::remove(entry);
}

#define LARDERLY_TEXT_OF(x) #x
#define LARDERLY_TEXT(x) LARDERLY_TEXT_OF(x)

QString CompiledVersionText() {
#if defined(LARDERLY_VERSION_MAJOR) && defined(LARDERLY_VERSION_MINOR) && defined(LARDERLY_VERSION_PATCH) && \
    defined(LARDERLY_VERSION_TWEAK)
    // The numbers arrive as macro text; a part the project version leaves out is empty and counts as 0.
    return QStringLiteral("%1.%2.%3 Build %4")
        .arg(VersionPart(LARDERLY_TEXT(LARDERLY_VERSION_MAJOR)),
             VersionPart(LARDERLY_TEXT(LARDERLY_VERSION_MINOR)),
             VersionPart(LARDERLY_TEXT(LARDERLY_VERSION_PATCH)),
             VersionPart(LARDERLY_TEXT(LARDERLY_VERSION_TWEAK)));
#else
    return QString();
#endif
}
