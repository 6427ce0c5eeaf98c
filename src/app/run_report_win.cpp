#include "app/run_report_win.h"

#include "app/text.h"
#include "app/texts.h"
#include "platform/process.h"

namespace fbwb {

std::string finishRunReport(THtml5Producer& page, RunReport run, std::string_view tempFolder) {
    page.body.push_back(std::string(texts_app::kTableEnd));
    const std::string path = folderPrefix(tempFolder) + std::string(runReportFileName(run));
    page.saveToFile(path);
    platform::shellOpen(path, texts_app::kOpenVerb, "", platform::ShowMode::Normal, false);
    return path;
}

}  // namespace fbwb
