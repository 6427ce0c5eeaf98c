#include "tasks/run_report.h"

#include "core/html_text.h"
#include "core/text.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

namespace t = texts_tasks;

std::string_view runReportTitle(RunReport run) {
    return run == RunReport::Maintenance ? t::kMaintenanceReportTitle : t::kSettingsReportTitle;
}

std::string runReportTableStart(RunReport run) {
    return run == RunReport::Maintenance ? std::string(t::kMaintenanceTableStart)
                                         : fillHtml(t::kSettingsTableStartFormat, {t::kDatabaseFileHeader});
}

std::string_view runReportFileName(RunReport run) {
    return run == RunReport::Maintenance ? t::kMaintenanceReportFile : t::kSettingsReportFile;
}

void startRunReport(THtml5Producer& page, RunReport run, const LocalDateTime& start) {
    page.createSimlePage(std::string(runReportTitle(run)) + formatDate(start), runReportTableStart(run) + "\r\n");
}

void addMaintenanceReportEntry(THtml5Producer& page, std::string_view databasePath, std::string_view logFilePath,
                               bool succeeded, std::string_view outcome) {
    page.body.push_back(fillHtml(t::kMaintenanceEntryFormat, {databasePath}));
    const std::string shown = succeeded ? std::string(outcome) : std::string(t::kOutcomeFailedPrefix) + std::string(outcome);
    page.body.push_back(
        fillHtml(t::kMaintenanceOutcomeFormat, {succeeded ? t::kColourMatch : t::kColourMismatch, shown}));
    page.body.push_back(fillHtml(t::kMaintenanceLogLinkFormat, {fileUrl(logFilePath)}));
}

void beginDbSettingsReportRow(THtml5Producer& page, std::string_view databasePath) {
    page.body.push_back(fillHtml(t::kSettingsRowStartFormat, {databasePath}));
}

void addDbSettingsReportCell(THtml5Producer& page, OperationLog& log, std::string_view label,
                             std::string_view expected, std::string_view readValue, bool found) {
    std::string message;
    std::string_view colour = t::kColourMismatch;
    if (!found) {
        message = fill(t::kParameterNotFoundFormat, {label, expected});
        log.writeErrorLine(message, false);
    } else if (readValue != expected) {
        message = fill(t::kParameterDiffersFormat, {label, expected, readValue});
        log.writeErrorLine(message, false);
    } else {
        colour = t::kColourMatch;
        message = fill(t::kParameterMatchFormat, {label, expected});
        log.writeLogLine(message);
    }
    page.body.push_back(fillHtml(t::kSettingsCellFormat, {colour, message}));
}

void endDbSettingsReportRow(THtml5Producer& page) { page.body.push_back(std::string(t::kSettingsRowEnd)); }

}  // namespace fbwb
