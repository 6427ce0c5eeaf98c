#include "core/message_page_win.h"

#include "core/html5_producer.h"
#include "core/message_page.h"
#include "core/text.h"
#include "core/texts_core.h"
#include "platform/fs.h"
#include "platform/process.h"

namespace fbwb {

void showMessagePage(WorkingFields& fields, std::string_view tempFolder, std::string_view fileName) {
    if (trim(fields.mHtmMsg).empty()) return;
    const std::string folder = folderPrefix(tempFolder);
    // A folder that cannot be made shows in the write below, with the system's text.
    if (!platform::folderExists(folder)) platform::createFolders(folder);
    fields.mHtmMsg = messagePageText(fields.mHtmMsg);
    const std::string path = folder + std::string(fileName);
    saveHtmlPage(splitLines(fields.mHtmMsg), path);
    platform::shellOpen(path, texts_core::kOpenVerb, "", platform::ShowMode::Normal, false);
}

}  // namespace fbwb
