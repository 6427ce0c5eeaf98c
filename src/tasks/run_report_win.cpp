#include "tasks/run_report_win.h"

#include "core/text.h"
#include "core/texts_core.h"
#include "platform/process.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

std::string finishRunReport(THtml5Producer& page, RunReport run, std::string_view tempFolder) {
    page.body.push_back(std::string(texts_tasks::kTableEnd));
    const std::string path = folderPrefix(tempFolder) + std::string(runReportFileName(run));
    page.saveToFile(path);
    platform::shellOpen(path, texts_core::kOpenVerb, "", platform::ShowMode::Normal, false);
    return path;
}

}  // namespace fbwb
