#include "store/CcboList.h"

#include "base/LeagueError.h"
#include "store/ListingDatabase.h"
#include "store/PlayerRows.h"
#include "store/Text.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <optional>

namespace tavrel {
namespace {

constexpr const char* kListOperation = "Filling a list from";

std::string TrimLeadingSpaces(const std::string& text) {
    const auto start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

} // namespace

std::string PlayerListName(const std::string& lastName, const std::string& firstName) {
    return WithoutTrailingPadding(TrimLeadingSpaces(lastName)) + ", " +
           WithoutTrailingPadding(TrimLeadingSpaces(firstName));
}

std::string PlayerListEntry(const std::string& name, const std::string& positionText) {
    return name + " - " + positionText;
}

namespace {

// One query over a database opened for this call only, with its fields found by name.
class QueryRows {
public:
    QueryRows(const std::filesystem::path& database, const std::string& sql)
        : db_(OpenForListing(database)), statement_(db_, sql) {}

    SQLite::Statement& statement() { return statement_; }
    bool Next() { return statement_.executeStep(); }

    std::optional<int> FindField(const std::string& name) const {
        for (int i = 0; i < statement_.getColumnCount(); ++i)
            if (SameColumnName(statement_.getColumnName(i), name))
                return i;
        return std::nullopt;
    }

    int Field(const std::string& name, const std::filesystem::path& database) const {
        if (const auto column = FindField(name))
            return *column;
        throw LeagueError(kListOperation, database, "the query has no field \"" + name + "\"");
    }

    Value Get(int column) const { return ReadValue(statement_, column); }
    Value Get(std::optional<int> column) const {
        return column ? ReadValue(statement_, *column) : Value{};
    }
    std::optional<std::string> Text(int column) const { return ValueText(Get(column)); }

private:
    SQLite::Database db_;
    SQLite::Statement statement_;
};

// Runs `fill` and reports any database failure as a LeagueError naming the database.
template <typename Fill>
void Guarded(ListTarget* target, const std::filesystem::path& database, Fill fill) {
    if (!target)
        return;
    try {
        fill();
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kListOperation, database, e);
    }
}

int AsItemData(const Value& value) {
    const auto* n = std::get_if<std::int64_t>(&value);
    return n ? static_cast<int>(*n) : 0;
}

} // namespace

std::string PlayerListQuery(PlayerListOrder order) {
    const std::string select = "SELECT Team, LastName, FirstName, PID, PositionTXT FROM Players ";
    const std::string byLastName = "UNPADDED(LastName) COLLATE NOCASE";
    switch (order) {
    case PlayerListOrder::LastNameAscending:
        return select + "WHERE Team = ? ORDER BY " + byLastName + " ASC, rowid";
    case PlayerListOrder::LastNameDescending:
        return select + "WHERE Team = ? ORDER BY " + byLastName + " DESC, rowid";
    case PlayerListOrder::LastThenFirstName:
        break;
    }
    return select + "WHERE UNPADDED(LastName) = ? ORDER BY " + byLastName +
           ", UNPADDED(FirstName) COLLATE NOCASE ASC, rowid";
}

void CcboList::GotFocus() {
    if (!client_)
        return;
    savedText_ = client_->Text();
    textChanged_ = false;
}

void CcboList::KeyPress(int& keyCode) {
    if (!client_)
        return;
    if (keyCode == kEscapeKey) {
        client_->SetText(savedText_);
        textChanged_ = false;
    } else if (client_->Style() != kDropDownListStyle) {
        if (textEntryAllowed_)
            textChanged_ = true;
        else
            keyCode = 0;
    }
}

void CcboList::Clear() {
    if (client_)
        client_->Clear();
}

void CcboList::NewClear() {
    if (newClient_)
        newClient_->Clear();
}

void CcboList::GetList_Param1() {
    Guarded(newClient_, dbName_, [&] {
        QueryRows rows(dbName_, queryName_);
        if (!paramName_.empty())
            BindValue(rows.statement(), rows.statement().getIndex(paramName_.c_str()), paramVal_);
        const int name = rows.Field(fieldName_, dbName_);
        std::optional<std::string> previous;
        int counter = 0;
        while (rows.Next()) {
            const auto text = rows.Text(name);
            if (counter > 0 && text == previous)
                continue;
            previous = text;
            newClient_->SetListEntry(counter++, text.value_or(std::string()));
        }
    });
}

void CcboList::GetList_Table(const std::string& sqlQuery) {
    Guarded(newClient_, dbName_, [&] {
        QueryRows rows(dbName_, sqlQuery);
        const int name = rows.Field(fieldName_, dbName_);
        const int id = rows.Field(fieldId_, dbName_);
        std::string lastItem;
        int counter = 0;
        while (rows.Next()) {
            const auto text = rows.Text(name);
            if (text && *text != lastItem) {
                lastItem = *text;
                newClient_->SetListEntry(counter++, lastItem);
            }
            if (rows.Text(id) == val_)
                newClient_->SetText(lastItem);
        }
    });
}

void CcboList::GetList_TableID(const std::string& sqlQuery, const std::string& sTeamName) {
    Guarded(newClient_, dbName_, [&] {
        QueryRows rows(dbName_, sqlQuery);
        const int name = rows.Field(fieldName_, dbName_);
        const int id = rows.Field(fieldId_, dbName_);
        const auto pid = rows.FindField("PID");
        std::string lastItem;
        int counter = 0;
        while (rows.Next()) {
            if (rows.Text(name) != sTeamName)
                continue;
            const std::string idText = rows.Text(id).value_or(std::string());
            if (!idText.empty() && ValueText(rows.Get(pid)) != "0")
                lastItem = idText;
            newClient_->SetListEntry(counter++, lastItem);
            if (idText == val_)
                newClient_->SetText(lastItem);
        }
    });
}

void CcboList::GetList_TableTwo(const std::string& sqlQuery, const std::string& sTeamName) {
    Guarded(newClient_, dbName_, [&] {
        QueryRows rows(dbName_, sqlQuery);
        if (rows.statement().getBindParameterCount() == 1)
            rows.statement().bind(1, sTeamName);
        const int filter = rows.Field(fieldNameY_, dbName_);
        const int last = rows.Field(fieldName_, dbName_);
        // From here on a field that cannot be read only leaves its part of the entry empty.
        const auto first = rows.FindField(fieldName2_);
        const auto position = rows.FindField("PositionTXT");
        const auto id = rows.FindField(fieldId_);
        std::string lastItem;
        int counter = 0;
        while (rows.Next()) {
            const auto filterText = rows.Text(filter);
            if (!filterText || WithoutTrailingPadding(TrimLeadingSpaces(*filterText)) != sTeamName)
                continue;
            const auto lastName = rows.Text(last);
            if (!lastName || *lastName == lastItem)
                continue;
            const std::string firstName = ValueText(rows.Get(first)).value_or(std::string());
            lastItem = PlayerListName(*lastName, firstName);
            newClient_->SetListEntry(
                counter,
                PlayerListEntry(lastItem, ValueText(rows.Get(position)).value_or(std::string())));
            newClient_->SetItemData(newClient_->NewIndex(), AsItemData(rows.Get(id)));
            ++counter;
        }
    });
}

void CcboList::GetList_TableTwoAll(const std::string& sqlQuery) {
    Guarded(newClient_, dbName_, [&] {
        QueryRows rows(dbName_, sqlQuery);
        const int name = rows.Field(fieldName_, dbName_);
        const int name2 = rows.Field(fieldName2_, dbName_);
        const int id = rows.Field(fieldId_, dbName_);
        std::string lastItem;
        int counter = 0;
        while (rows.Next()) {
            const auto text = rows.Text(name);
            if (text && *text != lastItem) {
                lastItem = *text + ", " + rows.Text(name2).value_or(std::string());
                newClient_->SetListEntry(counter, lastItem);
                newClient_->SetItemData(newClient_->NewIndex(), AsItemData(rows.Get(id)));
                ++counter;
            }
            if (rows.Text(id) == val_)
                newClient_->SetText(lastItem);
        }
    });
}

} // namespace tavrel
