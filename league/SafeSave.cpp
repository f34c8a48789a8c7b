#include "league/SafeSave.h"

#include "base/LeagueError.h"

#include <QSaveFile>
#include <QString>

namespace tavrel {

void SaveFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                        const std::string& operation) {
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        throw LeagueError(operation, file, out.errorString().toStdString());
    const auto size = static_cast<qint64>(bytes.size());
    if (out.write(bytes.data(), size) != size || out.error() != QFileDevice::NoError) {
        const std::string cause = out.errorString().toStdString();
        out.cancelWriting();
        throw LeagueError(operation, file, cause);
    }
    if (!out.commit())
        throw LeagueError(operation, file, out.errorString().toStdString());
}

} // namespace tavrel
