#include "store/WorkingDatabase.h"

#include "base/LeagueError.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

QString ToQString(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

fs::path ToPath(const QString& path) {
    return fs::path(path.toStdU16String());
}

// Whether a file can be created in `directory`, found by creating one: permission bits alone do
// not tell (read-only media, access lists, a folder that is not there).
bool CanCreateFilesIn(const fs::path& directory) {
    QTemporaryFile probe(ToQString(directory / "Tavrel-XXXXXX.probe"));
    return probe.open();
}

} // namespace

fs::path ChooseWorkingDirectory(const fs::path& programDirectory, const fs::path& buildDirectory) {
    std::error_code notThere;
    if (fs::equivalent(programDirectory, buildDirectory, notThere) &&
        CanCreateFilesIn(programDirectory))
        return programDirectory;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        throw LeagueError("Choosing a folder for the working database",
                          data.isEmpty() ? programDirectory : ToPath(data),
                          "no folder for application data could be created");
    return ToPath(data);
}

fs::path WorkingDatabasePath(const fs::path& directory) {
    return directory / kWorkingDatabaseName;
}

struct WorkingDatabaseLock::Impl {
    explicit Impl(const fs::path& db) : workingDb(db), file(ToQString(fs::path(db) += ".lock")) {
        // A running copy keeps its lock however long it runs; only the lock of a process that
        // is gone counts as stale.
        file.setStaleLockTime(0);
    }
    fs::path workingDb;
    QLockFile file;
};

WorkingDatabaseLock::WorkingDatabaseLock(const fs::path& workingDb)
    : impl_(std::make_unique<Impl>(workingDb)) {}

WorkingDatabaseLock::~WorkingDatabaseLock() = default;

bool WorkingDatabaseLock::TryLock() {
    if (impl_->file.isLocked() || impl_->file.tryLock(0))
        return true;
    if (impl_->file.error() == QLockFile::LockFailedError)
        return false;
    // Not another copy of the program but a folder where no lock file can be made: say so rather
    // than let the user look for a second copy that is not there.
    throw LeagueError("Locking the working database", impl_->workingDb,
                      impl_->file.error() == QLockFile::PermissionError
                          ? "no lock file can be created beside it"
                          : "the lock file beside it cannot be used");
}

bool WorkingDatabaseLock::IsLocked() const {
    return impl_->file.isLocked();
}

} // namespace tavrel
