#include "app/message_page.h"

#include "app/text.h"
#include "app/texts.h"

namespace fbwb {

std::string htmlListItem(std::string_view text) {
    return std::string(texts_app::kListItemStart) + std::string(text) + std::string(texts_app::kListItemEnd);
}

std::string messagePageText(std::string_view message) {
    return std::string(texts_app::kMessagePageStart) + joinLinesCrLf(splitLines(message)) + "\r\n" +
           std::string(texts_app::kMessagePageEnd);
}

}  // namespace fbwb
