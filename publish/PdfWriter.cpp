#include "publish/PdfWriter.h"

#include "fileformat/Windows1252.h"
#include "safety/SafeSave.h"

#include <cstdio>
#include <vector>

namespace tavrel {
namespace {

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

// A PDF string literal of the text's Windows-1252 bytes: ( ) \ escaped, bytes outside printable
// ASCII as octal escapes.
void AppendPdfString(std::string& out, std::string_view utf8) {
    out += '(';
    for (const char c : EncodeWindows1252(utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '(' || byte == ')' || byte == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 32 || byte > 126) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", byte);
            out += octal;
        } else {
            out += c;
        }
    }
    out += ')';
}

// The title for the document information, as UTF-16BE with its byte-order mark in hex.
std::string PdfTextString(std::string_view utf8) {
    std::string out = "<FEFF";
    char hex[8];
    const auto unit = [&](unsigned value) {
        std::snprintf(hex, sizeof hex, "%04X", value & 0xFFFF);
        out += hex;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        unsigned code = '?';
        std::size_t length = 1;
        if (c < 0x80)
            code = c;
        else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size())
            code = ((c & 0x1Fu) << 6) | (utf8[i + 1] & 0x3F), length = 2;
        else if ((c & 0xF0) == 0xE0 && i + 2 < utf8.size())
            code = ((c & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3F),
            length = 3;
        else if ((c & 0xF8) == 0xF0 && i + 3 < utf8.size())
            code = ((c & 0x07u) << 18) | ((utf8[i + 1] & 0x3Fu) << 12) |
                   ((utf8[i + 2] & 0x3Fu) << 6) | (utf8[i + 3] & 0x3F),
            length = 4;
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FF));
        } else {
            unit(code);
        }
    }
    return out + ">";
}

std::string PageContent(const Page& page, double height) {
    std::string out;
    for (const PageBox& box : page.boxes)
        out += Number(box.gray) + " g " + Number(box.x) + " " +
               Number(height - box.y - box.height) + " " + Number(box.width) + " " +
               Number(box.height) + " re f\n";
    out += "0 g\n";
    for (const PageText& text : page.texts) {
        out += "BT /";
        out += text.style == FontStyle::Bold ? "F2 " : "F1 ";
        out += Number(text.size) + " Tf " + Number(text.x) + " " + Number(height - text.baseline) +
               " Td ";
        AppendPdfString(out, text.text);
        out += " Tj ET\n";
    }
    return out;
}

} // namespace

std::string PdfDocument(const PageLayout& layout) {
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets; // of objects 1, 2, ...
    const auto object = [&](const std::string& body) {
        offsets.push_back(out.size());
        out += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    // 1 catalog, 2 page tree, 3 and 4 fonts, 5 information, then a page and its content each.
    const std::size_t pages = layout.pages.size();
    std::string kids;
    for (std::size_t i = 0; i < pages; ++i)
        kids += std::to_string(6 + 2 * i) + " 0 R ";
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) +
           " /MediaBox [0 0 " + Number(layout.size.width) + " " + Number(layout.size.height) +
           "] >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding "
           ">>");
    object("<< /Title " + PdfTextString(layout.title) + " /Producer (Tavrel) >>");
    for (std::size_t i = 0; i < pages; ++i) {
        object("<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> "
               "/Contents " +
               std::to_string(7 + 2 * i) + " 0 R >>");
        const std::string content = PageContent(layout.pages[i], layout.size.height);
        object("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
               "endstream");
    }
    const std::size_t xref = out.size();
    out += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
           " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

void WritePdf(const PageLayout& layout, const std::filesystem::path& file) {
    SaveFileAtomically(file, PdfDocument(layout), "Writing the roster sheets to");
}

} // namespace tavrel
