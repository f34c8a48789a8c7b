#pragma once

#include "store/PlayersTable.h"

#include <filesystem>
#include <string>

namespace tavrel {

// What CcboList needs of the list or combo box it fills or watches. The window implements it for
// its list and combo boxes; tests implement it without any widget.
class ListTarget {
public:
    virtual ~ListTarget() = default;
    // Sets the text of entry `index`; an index equal to the number of entries appends one.
    virtual void SetListEntry(int index, const std::string& text) = 0;
    // The index of the entry most recently added; -1 before any.
    virtual int NewIndex() const = 0;
    virtual void SetItemData(int index, int data) = 0;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
    // kDropDownListStyle for a combo box that takes no typing, 0 for any other control.
    virtual int Style() const = 0;
    virtual void Clear() = 0;
};

inline constexpr int kDropDownListStyle = 2;

// The queries of the window's player list over our own table `Players`: one team's players by
// last name, ascending or descending, or the players of one last name by last name and then
// first name. Each takes the filter value of GetList_TableTwo as its one parameter and reads only
// the fields the list shows and filters on.
enum class PlayerListOrder { LastNameAscending, LastNameDescending, LastThenFirstName };
std::string PlayerListQuery(PlayerListOrder order);
inline constexpr int kEscapeKey = 27;

// The player list's entry for a player: PlayerListEntry(PlayerListName("Smith", "John"), "QB") is
// "Smith, John - QB", the names without leading blanks and trailing padding.
std::string PlayerListName(const std::string& lastName, const std::string& firstName);
std::string PlayerListEntry(const std::string& name, const std::string& positionText);

// Fills a list or combo box from one query on a database, and can keep the user from typing
// into a combo box. Set the field names and the database, empty the target (NewClear), then call
// one GetList_ operation: it opens the database read-only, walks the whole result from its first
// row, appends one entry per row it keeps, and closes the database before it returns. No
// instance holds a database open between calls. Failures of the database (missing file, bad
// query, unknown field) throw LeagueError naming the database; a query without rows lists
// nothing and is no failure.
// Queries may order by UNPADDED(field) (see ListingDatabase.h).
class CcboList {
public:
    // The control that receives the entries.
    void NewClient(ListTarget* target) { newClient_ = target; }
    void dbName(const std::filesystem::path& path) { dbName_ = path; }
    // GetList_Param1 only: the query text and the name of its parameter (":Team"), bound to
    // ParamVal.
    void QueryName(const std::string& query) { queryName_ = query; }
    void ParamName(const std::string& name) { paramName_ = name; }
    void ParamVal(const Value& value) { paramVal_ = value; }
    // Field names are matched without regard to case.
    void FieldName(const std::string& name) { fieldName_ = name; }
    void FieldName2(const std::string& name) { fieldName2_ = name; }
    void FieldNameY(const std::string& name) { fieldNameY_ = name; }
    void FieldID(const std::string& name) { fieldId_ = name; }
    // The FieldID value whose row becomes the control's text in the operations that select.
    void Val(const std::string& value) { val_ = value; }

    // The control watched by GotFocus, KeyPress and Clear, and whether it takes typing.
    void SetClient(ListTarget* client) { client_ = client; }
    void SetEnableTextEntry(bool allowed) { textEntryAllowed_ = allowed; }
    ListTarget* Client() const { return client_; }
    bool EnableTextEntry() const { return textEntryAllowed_; }
    bool TextChanged() const { return textChanged_; }

    // Remembers the client's text, so that Escape can bring it back.
    void GotFocus();
    // Escape restores the remembered text. In a combo box that is not a drop-down list, any other
    // key is discarded (set to 0) unless text entry is allowed; the caller beeps when it sees 0.
    void KeyPress(int& keyCode);
    void Clear();    // empties the client
    void NewClear(); // empties the new client

    // Rows of the query QueryName with ParamName bound to ParamVal: one entry per change of the
    // FieldName value; no item data.
    void GetList_Param1();
    // One entry per change of the FieldName value; the row whose FieldID equals Val gives the
    // control's text.
    void GetList_Table(const std::string& sqlQuery);
    // Rows whose FieldName equals sTeamName: their FieldID values as entries.
    void GetList_TableID(const std::string& sqlQuery, const std::string& sTeamName);
    // The player list: rows whose FieldNameY value (as shown, without padding) equals sTeamName
    // exactly, each as "Last, First - POS" with the FieldID value as item data. A row whose last
    // name is null, or equals the text of the entry before it, is left out. Names are shown
    // without the padding of their fields. A query with a parameter gets sTeamName bound to it,
    // so that the database can pass over the rows the filter would leave out anyway.
    void GetList_TableTwo(const std::string& sqlQuery, const std::string& sTeamName);
    // "FieldName, FieldName2" entries with the FieldID value as item data.
    void GetList_TableTwoAll(const std::string& sqlQuery);

private:
    ListTarget* newClient_ = nullptr;
    ListTarget* client_ = nullptr;
    bool textEntryAllowed_ = false;
    std::string val_;
    std::string fieldId_;
    std::filesystem::path dbName_;
    std::string queryName_;
    std::string paramName_;
    Value paramVal_;
    std::string fieldName_;
    std::string fieldName2_;
    std::string fieldNameY_;
    std::string savedText_;
    bool textChanged_ = false;
};

} // namespace tavrel
