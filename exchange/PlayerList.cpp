#include "exchange/PlayerList.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "fileformat/LeaguePaths.h"
#include "store/PlayerRows.h"
#include "store/Text.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <cctype>

namespace tavrel {

namespace fs = std::filesystem;

namespace {

const int kPidColumn = *PlayersColumnIndex("PID");
const int kFirstNameColumn = *PlayersColumnIndex("FirstName");
const int kLastNameColumn = *PlayersColumnIndex("LastName");

} // namespace

PlayerList PlayerList::FromFile(PlayerFileImage image) {
    PlayerList list;
    list.file_ = std::make_shared<const PlayerFileImage>(std::move(image));
    return list;
}

PlayerList PlayerList::Of(const PlayerFileImage& image) {
    PlayerList list;
    list.file_ = std::shared_ptr<const PlayerFileImage>(std::shared_ptr<void>(), &image);
    return list;
}

PlayerList PlayerList::FromWorkingDatabase(const fs::path& workingDb) {
    PlayerList list;
    try {
        SQLite::Database db(workingDb.string(), SQLite::OPEN_READONLY);
        PlayerRowCursor rows(db, "SELECT rowid, " + PlayersColumnList() +
                                     " FROM Players ORDER BY rowid");
        while (rows.Next()) {
            list.rowIds_.push_back(rows.Integer(0));
            rows.Read(list.rows_.emplace_back(), 1);
        }
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Reading the players of the working database", workingDb, e.what());
    }
    return list;
}

std::size_t PlayerList::Count() const {
    return file_ ? file_->RecordCount() : rowIds_.size();
}

std::int64_t PlayerList::RowId(std::size_t index) const {
    if (file_) {
        if (index >= file_->RecordCount())
            throw std::out_of_range("PlayerList::RowId");
        return static_cast<std::int64_t>(index + 1);
    }
    return rowIds_.at(index);
}

int PlayerList::Pid(std::size_t index) const {
    if (file_) {
        const RecordBytes r = file_->Record(index);
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(r[0] | (r[1] << 8)));
    }
    const auto* pid = std::get_if<std::int64_t>(&rows_.at(index)[kPidColumn]);
    return pid ? static_cast<int>(*pid) : 0;
}

void PlayerList::Read(std::size_t index, PlayerRow& row) const {
    if (file_)
        DecodePlayerRecord(file_->Record(index), row);
    else
        row = rows_.at(index);
}

std::optional<RecordBytes> PlayerList::Raw(std::size_t index) const {
    if (!file_)
        return std::nullopt;
    return file_->Record(index);
}

fs::path PlayerFileOf(const fs::path& leagueOrPlayerFile) {
    std::string extension = leagueOrPlayerFile.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".lge")
        return leagueOrPlayerFile;
    return PlayerFilePath(leagueOrPlayerFile.string());
}

std::string CellText(const Value& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return std::to_string(*n);
    if (const auto* s = std::get_if<std::string>(&value))
        return WithoutTrailingPadding(*s);
    return {};
}

std::string DescribePlayer(std::size_t record, const PlayerRow& row) {
    return DescribePlayer(record, CellText(row[kPidColumn]), CellText(row[kFirstNameColumn]),
                          CellText(row[kLastNameColumn]));
}

std::string DescribePlayer(std::size_t record, const std::string& pid, const std::string& firstName,
                           const std::string& lastName) {
    const std::string first = WithoutTrailingPadding(firstName);
    const std::string last = WithoutTrailingPadding(lastName);
    const std::string name = first + (first.empty() || last.empty() ? "" : " ") + last;
    return "record " + std::to_string(record) + ", PID " + pid +
           (name.empty() ? "" : " (" + name + ")");
}

} // namespace tavrel
