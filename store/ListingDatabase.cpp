#include "store/ListingDatabase.h"

#include <sqlite3.h>

namespace tavrel {
namespace {

void Unpadded(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_value(context, argv[0]);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    int length = sqlite3_value_bytes(argv[0]);
    while (length > 0 && (text[length - 1] == '\0' || text[length - 1] == ' '))
        --length;
    int start = 0;
    while (start < length && text[start] == ' ')
        ++start;
    sqlite3_result_text(context, text + start, length - start, SQLITE_TRANSIENT);
}

} // namespace

SQLite::Database OpenForListing(const std::filesystem::path& database) {
    SQLite::Database db(database.string(), SQLite::OPEN_READONLY);
    db.createFunction("UNPADDED", 1, true, nullptr, &Unpadded);
    return db;
}

} // namespace tavrel
