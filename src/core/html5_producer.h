#pragma once
// The report page: a title and body lines, written as a small HTML page that declares Windows-1250.
// The title is text; body lines are HTML, and their callers put text into them with core/html_text.h.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// The code page that report pages are written in, whatever the system's ANSI code page: the one
// that their meta line declares.
inline constexpr unsigned kReportCodePage = 1250;

class THtml5Producer {
public:
    THtml5Producer();

    // Sets the title and replaces the body by the text's lines (split at CR LF, CR or LF; a
    // trailing line break adds no empty line).
    void createSimlePage(std::string_view titleStr, std::string_view bodyStr);
    // The whole page, line by line; the title escaped as text.
    std::vector<std::string> producePage() const;
    // Writes producePage() with saveHtmlPage(). Windows only.
    void saveToFile(std::string_view fileName) const;

    const std::string& title() const { return fTitle; }

    std::vector<std::string> meta;  // first lines of the head
    std::vector<std::string> Head;  // further head lines
    std::vector<std::string> body;  // callers append the body lines directly

private:
    std::string fTitle;
};

// Writes the lines of an HTML page in the report code page, CR LF after every line, no byte-order
// mark, an existing file replaced; characters that the code page lacks become numeric character
// references. A write failure throws std::runtime_error with the system's text. Windows only.
void saveHtmlPage(const std::vector<std::string>& lines, std::string_view fileName);

// The UTF-8 text with every character for which `representable` is false written as a decimal
// numeric character reference ("&#337;"); everything else, "&" and "<" included, stays as it is.
// Bytes that are not valid UTF-8 are kept unchanged.
std::string withCharacterReferences(std::string_view utf8, const std::function<bool(char32_t)>& representable);

}  // namespace fbwb
