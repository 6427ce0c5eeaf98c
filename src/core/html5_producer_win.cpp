#include "core/html5_producer.h"
#include "core/text.h"
#include "platform/encoding.h"
#include "platform/fs.h"

namespace fbwb {

void saveHtmlPage(const std::vector<std::string>& lines, std::string_view fileName) {
    // The page is written in the code page it declares, not in the system's ANSI code page, so that
    // page and declaration agree on any machine; what that code page lacks (a file name may hold any
    // letter) is kept as a character reference instead of being lost as '?'.
    const std::string text = withCharacterReferences(joinLinesCrLf(lines), [](char32_t codePoint) {
        return platform::representableInCodePage(codePoint, kReportCodePage);
    });
    platform::writeFileBytes(fileName, platform::toCodePage(text, kReportCodePage));
}

void THtml5Producer::saveToFile(std::string_view fileName) const { saveHtmlPage(producePage(), fileName); }

}  // namespace fbwb
