#include "app/message_page_win.h"

#include "app/file_helpers_win.h"
#include "app/message_page.h"
#include "app/text.h"
#include "app/texts.h"
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
    saveLinesToFile(splitLines(fields.mHtmMsg), path);
    platform::shellOpen(path, texts_app::kOpenVerb, "", platform::ShowMode::Normal, false);
}

}  // namespace fbwb
