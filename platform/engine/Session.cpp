#include "engine/Session.h"
#include "engine/Connection.h"

#include <QDir>
#include <QFileInfo>

#ifdef __GLIBC__
#include <malloc.h>
#endif

TSession Session;

namespace {
// Results are read into memory and dropped again with every filter, search and refresh. By default the C
// library hands freed memory back to the system at once, so the next result of the same size faults every
// page in afresh, which costs more than reading the rows. Keep freed memory for the next result instead.
[[maybe_unused]] const bool keepFreedMemory = [] {
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
#endif
    return true;
}();
} // namespace

namespace {
// One key per folder, however it is written (trailing separator, "..", symbolic links).
QString folderKey(const QString &folder) {
    QFileInfo fi(folder);
    QString canon = fi.canonicalFilePath();
    if (canon.isEmpty())
        canon = QDir::cleanPath(fi.absoluteFilePath());
    return canon;
}
} // namespace

void TSession::SetNetFileDir(const QString &folder) {
    if (!QFileInfo(folder).isDir())
        throw EDatabaseError(QStringLiteral("The network control folder %1 does not exist.")
                                 .arg(QDir::toNativeSeparators(folder)));
    netFileDir_ = folder;
}

void TSession::SetPrivateDir(const QString &folder) {
    if (!QFileInfo(folder).isDir())
        throw EDatabaseError(QStringLiteral("The private folder %1 does not exist.")
                                 .arg(QDir::toNativeSeparators(folder)));
    privateDir_ = folder;
}

std::shared_ptr<Connection> TSession::ConnectionFor(const QString &folder) {
    if (folder.isEmpty())
        throw EDatabaseError(QStringLiteral("The query has no database folder."));
    const QString key = folderKey(folder);
    auto it = connections_.find(key);
    if (it != connections_.end())
        return it->second;
    auto conn = std::make_shared<Connection>(key);
    connections_.emplace(key, conn);
    return conn;
}

void TSession::Close() {
    connections_.clear();
    ++generation_;
}

void TSession::CloseDatabase(const QString &folder) {
    connections_.erase(folderKey(folder));
    ++generation_;
}

void TSession::RunBulk(const QString &folder, const std::function<void()> &pass) {
    auto conn = ConnectionFor(folder);
    conn->Begin();
    try {
        pass();
    } catch (...) {
        // Keep what was posted before the failure, as posting row by row would have.
        try {
            conn->Commit();
        } catch (...) {
        }
        throw;
    }
    conn->Commit();
}
