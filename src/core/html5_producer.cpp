#include "core/html5_producer.h"

#include "core/html_text.h"
#include "core/text.h"
#include "core/texts_core.h"

namespace fbwb {

THtml5Producer::THtml5Producer() : meta{std::string(texts_core::kHtmlMetaCharset)} {}

void THtml5Producer::createSimlePage(std::string_view titleStr, std::string_view bodyStr) {
    fTitle = titleStr;
    body = splitLines(bodyStr);
}

std::vector<std::string> THtml5Producer::producePage() const {
    std::vector<std::string> page{"<!DOCTYPE html>", "<html>", "<head>"};
    page.reserve(meta.size() + Head.size() + body.size() + 9);
    page.insert(page.end(), meta.begin(), meta.end());
    page.insert(page.end(), Head.begin(), Head.end());
    page.push_back("<title>" + htmlText(fTitle) + "</title>");
    page.push_back("</head>");
    page.push_back("<body>");
    page.insert(page.end(), body.begin(), body.end());
    page.push_back("</body>");
    page.push_back("</html>");
    return page;
}

namespace {

// Decodes one well-formed UTF-8 sequence at `at`; its length, or 0 when the bytes there are not one
// (overlong forms, surrogates and values past U+10FFFF included).
size_t decodeUtf8(std::string_view text, size_t at, char32_t& codePoint) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    codePoint = value;
    return length;
}

}  // namespace

std::string withCharacterReferences(std::string_view utf8, const std::function<bool(char32_t)>& representable) {
    std::string result;
    result.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        const size_t length = decodeUtf8(utf8, at, codePoint);
        if (length == 0) {
            result += utf8[at++];
            continue;
        }
        if (representable(codePoint)) {
            result.append(utf8.substr(at, length));
        } else {
            result += "&#" + std::to_string(static_cast<unsigned long>(codePoint)) + ";";
        }
        at += length;
    }
    return result;
}

}  // namespace fbwb
