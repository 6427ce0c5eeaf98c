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
