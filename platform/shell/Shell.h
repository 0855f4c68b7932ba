#pragma once
// The desktop services the program asks of the system shell: opening a document or web address with
// the user's default program, listing and copying plain files, the start-at-logon entry and the
// program's version. (The folder picker is a dialog and lives in the dialogs seam.)
#include <QString>
#include <QStringList>
#include <functional>

// Opens a file with the desktop's default program for its type, or a web address (anything with a
// scheme such as https:, mailto:, or starting with "www.") in the default browser. Whatever the desktop
// does with it is its own business: the result is not reported.
void ShellOpenDocument(const QString &nameOrUrl);
// Tests: when a hook is set it receives the name instead of anything being launched. An empty function
// restores the desktop opener.
void SetOpenDocumentHook(std::function<void(const QString &)> hook);

// The plain files of `folder` whose names match the wildcard `mask` (case-insensitive; "*.*" and any
// mask ending in ".*" also match names without an extension), hidden files included, folders and
// special files (pipes, sockets, devices) excluded, in the order the file system returns them. Names
// only, without the folder. Empty when the folder does not exist or nothing matches.
QStringList ShellListFiles(const QString &folder, const QString &mask);

// Copies one file, replacing a file of the target's name. False when the copy failed.
bool ShellCopyFile(const QString &from, const QString &to);

// The per-user start-at-logon entry: <config folder>/autostart/Larderly.desktop.
QString AutostartEntryPath();
// Writes the entry so that the desktop starts `exePath` at logon, creating the autostart folder when
// it is missing. False when the entry could not be written.
bool AutostartWrite(const QString &exePath);
// Deletes the entry if there is one. True when no entry is left.
bool AutostartRemove();
// The Exec= value that starts `exePath` with no arguments, quoted and escaped for a desktop entry.
QString DesktopExecValue(const QString &exePath);

// "major.minor.patch Build tweak" of the version the program was built as, e.g. "1.0.0 Build 1";
// empty when the build did not say.
QString CompiledVersionText();
