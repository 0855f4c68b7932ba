#pragma once
// The engine session: one connection per database folder, shared by every query pointed at it.
#include <QString>
#include <functional>
#include <map>
#include <memory>

class Connection;

class TSession {
public:
    // The folder where installations coordinate (kept for the program's sake; SQLite locks the files).
    void SetNetFileDir(const QString &folder);
    QString NetFileDir() const { return netFileDir_; }
    // The folder for temporary files.
    void SetPrivateDir(const QString &folder);
    QString PrivateDir() const { return privateDir_; }

    // The shared connection of a database folder, opened on first use.
    std::shared_ptr<Connection> ConnectionFor(const QString &folder);
    // Releases every connection; the next statement opens them again. Used before table files are
    // replaced or deleted on disk.
    void Close();
    // Releases the connection of one folder, if open.
    void CloseDatabase(const QString &folder);

    // Runs a bulk pass (many posts) inside one transaction on the folder's connection. What was done
    // is committed even when the pass throws, so the stored result equals posting row by row; the
    // error is then passed on.
    void RunBulk(const QString &folder, const std::function<void()> &pass);

    // Changes whenever connections are released, so queries know to fetch theirs again.
    unsigned Generation() const { return generation_; }

private:
    QString netFileDir_;
    QString privateDir_;
    std::map<QString, std::shared_ptr<Connection>> connections_;
    unsigned generation_ = 0;
};

extern TSession Session;
