#include "exchange/Xlsx.h"

#include "base/LeagueError.h"
#include "base/Utf8.h"

#include <QXmlStreamReader>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>
#include <zip.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kReading = "Importing the players from";
constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kMaxPartBytes = 16 << 20;         // workbook.xml and its relationships
constexpr std::size_t kMaxSharedStringBytes = 64 << 20; // every shared string together
constexpr std::size_t kMaxTokenBytes = 4 << 20;         // one element or text of a part
constexpr std::string_view kRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The code unit of an _xHHHH_ escape at `at`, or nothing.
std::optional<unsigned> EscapeAt(std::string_view text, std::size_t at) {
    if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_')
        return std::nullopt;
    unsigned unit = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            return std::nullopt;
        unit = unit * 16 + unsigned(digit);
    }
    return unit;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

LeagueError Damaged(const fs::path& file, const std::string& why) {
    return LeagueError(kReading, file, "the workbook is damaged or is no .xlsx: " + why);
}

// A zip archive open for reading, closed with the reader.
struct Archive {
    zip_t* zip = nullptr;
    ~Archive() {
        if (zip)
            zip_discard(zip);
    }
};

// One member of the archive, read a chunk at a time.
class Member {
public:
    Member(zip_t* zip, const std::string& name, const fs::path& file) : file_(file) {
        member_ = zip_fopen(zip, name.c_str(), 0);
    }
    ~Member() {
        if (member_)
            zip_fclose(member_);
    }
    Member(const Member&) = delete;
    Member& operator=(const Member&) = delete;
    bool Found() const { return member_ != nullptr; }
    // Up to kChunk bytes into `out`; empty at the end.
    void Read(QByteArray& out) {
        out.resize(kChunk);
        const zip_int64_t got = zip_fread(member_, out.data(), kChunk);
        if (got < 0)
            throw Damaged(file_, zip_error_strerror(zip_file_get_error(member_)));
        out.resize(qsizetype(got));
    }

private:
    zip_file_t* member_ = nullptr;
    const fs::path& file_;
};

// A small member whole, or an empty array when the archive has no such member.
QByteArray WholeMember(zip_t* zip, const std::string& name, const fs::path& file) {
    Member member(zip, name, file);
    QByteArray all, chunk;
    if (!member.Found())
        return all;
    do {
        member.Read(chunk);
        all += chunk;
        if (std::size_t(all.size()) > kMaxPartBytes)
            throw Damaged(file, name + " is larger than a workbook part can be");
    } while (!chunk.isEmpty());
    return all;
}

// "xl/worksheets/sheet1.xml" from a relationship's target, which is relative to xl/ unless it
// starts with a slash.
std::string MemberOfTarget(const QString& target) {
    std::string t = target.toStdString();
    if (t.starts_with('/'))
        return t.substr(1);
    return "xl/" + t;
}

// Column number of a cell reference ("AB12" gives 28), 0 when it has no letters or too many.
int ColumnOfReference(QStringView ref) {
    int column = 0, letters = 0;
    for (const QChar c : ref) {
        if (c >= u'A' && c <= u'Z')
            column = column * 26 + (c.unicode() - u'A' + 1), ++letters;
        else
            break;
        if (letters > 3)
            return 0;
    }
    return column;
}

// A number stored as a double: a whole one as digits, else as stored.
std::string NumberText(const std::string& stored) {
    double value = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (error != std::errc() || end != stored.data() + stored.size() || !std::isfinite(value) ||
        value != std::floor(value) || std::fabs(value) > 9.0e15)
        return stored;
    return std::to_string(static_cast<long long>(value));
}

} // namespace

std::string EscapedXlsxText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char escape[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t' && c != '\n') || (c == '_' && EscapeAt(text, i))) {
            std::snprintf(escape, sizeof escape, "_x%04X_", c);
            out += escape;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string UnescapedXlsxText(std::string_view text) {
    if (text.find("_x") == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto unit = EscapeAt(text, i);
        if (!unit) {
            out += text[i++];
            continue;
        }
        char32_t cp = *unit;
        std::size_t used = 7;
        if (cp >= 0xD800 && cp <= 0xDBFF) { // a pair of escapes for a character past U+FFFF
            const auto low = EscapeAt(text, i + 7);
            if (!low || *low < 0xDC00 || *low > 0xDFFF) {
                out += text[i++];
                continue;
            }
            cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
            used = 14;
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            out += text[i++];
            continue;
        }
        AppendUtf8(out, cp);
        i += used;
    }
    return out;
}

struct XlsxReader::Parts {
    fs::path file;
    Archive archive;
    std::vector<std::string> sharedStrings;
    std::vector<std::string> cells; // of the row being read, placed by their references
    std::optional<Member> sheet;
    QXmlStreamReader xml;
    QByteArray chunk;
    bool sheetEnded = false;
    int lastRow = 0;

    void Open(zip_source_t* source) {
        zip_error_t error;
        zip_error_init(&error);
        archive.zip = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!archive.zip) {
            zip_source_free(source);
            const std::string why = zip_error_strerror(&error);
            zip_error_fini(&error);
            throw Damaged(file, why);
        }
        zip_error_fini(&error);
        FindSheet();
    }

    // The first sheet of the workbook and the shared strings, as its relationships name them.
    void FindSheet() {
        QXmlStreamReader book(WholeMember(archive.zip, "xl/workbook.xml", file));
        QString sheetId;
        while (!book.atEnd() && sheetId.isEmpty())
            if (book.readNext() == QXmlStreamReader::StartElement && book.name() == u"sheet")
                sheetId = book.attributes()
                              .value(QString::fromUtf8(kRelationships.data(),
                                                       qsizetype(kRelationships.size())),
                                     QStringLiteral("id"))
                              .toString();
        if (sheetId.isEmpty())
            throw Damaged(file, "xl/workbook.xml names no sheet");
        QXmlStreamReader rels(WholeMember(archive.zip, "xl/_rels/workbook.xml.rels", file));
        std::string sheetMember, stringsMember = "xl/sharedStrings.xml";
        while (!rels.atEnd()) {
            if (rels.readNext() != QXmlStreamReader::StartElement || rels.name() != u"Relationship")
                continue;
            const QXmlStreamAttributes a = rels.attributes();
            if (a.value(QLatin1String("Id")) == sheetId)
                sheetMember = MemberOfTarget(a.value(QLatin1String("Target")).toString());
            else if (a.value(QLatin1String("Type")).endsWith(u"/sharedStrings"))
                stringsMember = MemberOfTarget(a.value(QLatin1String("Target")).toString());
        }
        if (sheetMember.empty())
            throw Damaged(file, "the workbook's first sheet is missing");
        ReadSharedStrings(stringsMember);
        sheet.emplace(archive.zip, sheetMember, file);
        if (!sheet->Found())
            throw Damaged(file, sheetMember + " is missing");
    }

    // Feeds the next chunk of `member` into `reader`; false at the member's end.
    static bool Feed(Member& member, QXmlStreamReader& reader, QByteArray& chunk) {
        member.Read(chunk);
        if (chunk.isEmpty())
            return false;
        reader.addData(chunk);
        return true;
    }

    // The next token, feeding the reader as it runs dry. Throws at malformed XML, when the member
    // ends before the document does, or when one token would take more than kMaxTokenBytes: the
    // XML reader holds a token whole, so a huge one (a zip bomb of one text) is refused unread.
    static QXmlStreamReader::TokenType NextToken(Member& member, QXmlStreamReader& reader,
                                                 QByteArray& chunk, const fs::path& file) {
        std::size_t fed = 0; // bytes fed since the last token
        while (true) {
            const auto token = reader.readNext();
            if (token != QXmlStreamReader::Invalid)
                return token;
            if (reader.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                throw Damaged(file, reader.errorString().toStdString());
            if (!Feed(member, reader, chunk))
                throw Damaged(file, "a part ends before its XML does");
            fed += std::size_t(chunk.size());
            if (fed > kMaxTokenBytes)
                throw Damaged(file, "it holds a piece of XML far longer than any cell can be");
        }
    }

    void ReadSharedStrings(const std::string& name) {
        Member member(archive.zip, name, file);
        if (!member.Found())
            return;
        QXmlStreamReader reader;
        QByteArray chunk;
        std::string text;
        std::size_t total = 0;
        int phonetic = 0; // inside <rPh>: a reading aid, not the text
        bool inText = false;
        while (true) {
            const auto token = NextToken(member, reader, chunk, file);
            if (token == QXmlStreamReader::EndDocument)
                break;
            if (token == QXmlStreamReader::StartElement) {
                if (reader.name() == u"si")
                    text.clear();
                else if (reader.name() == u"rPh")
                    ++phonetic;
                else if (reader.name() == u"t")
                    inText = true;
            } else if (token == QXmlStreamReader::EndElement) {
                if (reader.name() == u"si") {
                    total += text.size();
                    if (total > kMaxSharedStringBytes)
                        throw Damaged(file, "its shared strings are larger than 64 MiB");
                    sharedStrings.push_back(UnescapedXlsxText(text));
                } else if (reader.name() == u"rPh") {
                    --phonetic;
                } else if (reader.name() == u"t") {
                    inText = false;
                }
            } else if (token == QXmlStreamReader::Characters && inText && phonetic == 0) {
                text += reader.text().toUtf8().toStdString();
            }
        }
    }

    // What a finished cell holds, by its type.
    std::string CellValue(const QString& type, std::string& value, SheetRow& row, int column) {
        if (type == u"s") {
            std::size_t index = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), index);
            if (error != std::errc() || end != value.data() + value.size() ||
                index >= sharedStrings.size()) {
                row.flaws.push_back({column, "refers to a shared string the workbook does not "
                                             "have"});
                return {};
            }
            return sharedStrings[index];
        }
        if (type == u"inlineStr" || type == u"str")
            return UnescapedXlsxText(value);
        if (type.isEmpty() || type == u"n")
            return NumberText(value);
        return std::move(value); // b (0 or 1), e (#N/A), d (a date as text)
    }

    bool Next(SheetRow& row) {
        row.Clear();
        cells.clear();
        if (sheetEnded)
            return false;
        bool inRow = false, inCell = false, taking = false;
        int column = 0, phonetic = 0;
        QString type;
        std::string value;
        std::size_t rowBytes = 0;
        while (true) {
            const auto token = NextToken(*sheet, xml, chunk, file);
            if (token == QXmlStreamReader::EndDocument) {
                sheetEnded = true;
                return false;
            }
            if (token == QXmlStreamReader::StartElement) {
                const QStringView name = xml.name();
                if (name == u"row") {
                    inRow = true;
                    int number = 0;
                    const QStringView r = xml.attributes().value(QLatin1String("r"));
                    bool ok = false;
                    number = r.toInt(&ok);
                    row.row = ok && number > lastRow ? number : lastRow + 1;
                    lastRow = row.row;
                } else if (name == u"c" && inRow) {
                    inCell = true;
                    const QXmlStreamAttributes a = xml.attributes();
                    const QStringView ref = a.value(QLatin1String("r"));
                    column = ref.isEmpty() ? int(cells.size()) + 1 : ColumnOfReference(ref);
                    type = a.value(QLatin1String("t")).toString();
                    value.clear();
                } else if (inCell && (name == u"v" || name == u"t")) {
                    taking = phonetic == 0;
                } else if (inCell && name == u"rPh") {
                    ++phonetic;
                }
            } else if (token == QXmlStreamReader::EndElement) {
                const QStringView name = xml.name();
                if (name == u"v" || name == u"t") {
                    taking = false;
                } else if (name == u"rPh") {
                    --phonetic;
                } else if (name == u"c" && inCell) {
                    inCell = false;
                    if (column < 1 || column > kMaxSheetColumns) {
                        row.flaws.push_back({kMaxSheetColumns + 1,
                                             "a cell lies outside the columns a spreadsheet has"});
                        continue;
                    }
                    std::string text = CellValue(type, value, row, column);
                    if (text.empty())
                        continue;
                    if (text.size() > kMaxCellBytes || rowBytes + text.size() > kMaxRowBytes) {
                        row.flaws.push_back({column, "is longer than a spreadsheet cell holds"});
                        continue;
                    }
                    rowBytes += text.size();
                    if (std::size_t(column) > cells.size())
                        cells.resize(std::size_t(column));
                    cells[std::size_t(column) - 1] = std::move(text);
                } else if (name == u"row" && inRow) {
                    inRow = false;
                    if (!cells.empty() || !row.flaws.empty()) {
                        for (const std::string& cell : cells)
                            row.cells.push_back(cell);
                        return true;
                    }
                    row.Clear();
                }
            } else if (token == QXmlStreamReader::Characters && taking) {
                if (value.size() <= kMaxCellBytes * 3)
                    value += xml.text().toUtf8().toStdString();
            }
        }
    }
};

XlsxReader::XlsxReader(const fs::path& file) : parts_(std::make_unique<Parts>()) {
    parts_->file = file;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_file_create(file.c_str(), 0, -1, &error);
    if (!source) {
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw LeagueError(kReading, file, why);
    }
    zip_error_fini(&error);
    parts_->Open(source);
}

XlsxReader::XlsxReader(std::string_view bytes, const fs::path& file)
    : parts_(std::make_unique<Parts>()) {
    parts_->file = file;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_error_fini(&error);
    if (!source)
        throw LeagueError(kReading, file, "no memory for the workbook");
    parts_->Open(source);
}

XlsxReader::~XlsxReader() = default;

bool XlsxReader::Next(SheetRow& row) {
    return parts_->Next(row);
}

} // namespace tavrel
