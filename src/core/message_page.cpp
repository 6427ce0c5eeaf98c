#include "core/message_page.h"

#include "core/text.h"
#include "core/texts_core.h"

namespace fbwb {

std::string htmlListItem(std::string_view text) {
    return std::string(texts_core::kListItemStart) + std::string(text) + std::string(texts_core::kListItemEnd);
}

std::string messagePageText(std::string_view message) {
    return std::string(texts_core::kMessagePageStart) + std::string(texts_core::kHtmlMetaCharset) +
           std::string(texts_core::kMessagePageBody) + joinLinesCrLf(splitLines(message)) + "\r\n" +
           std::string(texts_core::kMessagePageEnd);
}

}  // namespace fbwb
