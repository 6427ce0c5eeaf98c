// Writes every kind of report page with the program's own code, for a browser to read back
// (report_pages_test.py): the maintenance and settings reports and the tuning run's message page,
// with paths and messages that carry "&", "<", "#", "%", blanks, accents and a letter that
// Windows-1250 lacks. Usage: report_pages_writer FOLDER (created; the pages go into a subfolder).
#include <cstdio>
#include <exception>
#include <string>

#include "core/common_settings.h"
#include "core/html5_producer.h"
#include "core/working_fields.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/scripted_prompter.h"
#include "serverconf/fbconf_tuning.h"
#include "serverconf/fbconf_tuning_run_win.h"
#include "tasks/db_task_lines.h"
#include "tasks/run_report.h"
#include "tasks/run_report_win.h"

using namespace fbwb;

namespace {

// The temp folder; the Greek letter is not in Windows-1250.
constexpr const char* kHostileFolder = "Kovács & Társa #1 50% [a+b=c;d,e'f] ő Ω";
// Database paths are only text in the reports: they need not be valid file names.
constexpr const char* kFirstDatabase = "C:\\Kovács & Társa\\<x>#1 50%.fdb";
constexpr const char* kSecondDatabase = "D:\\R&D \"tükör\"\\őrű Ω &amp;.fdb";

void writePages(const std::string& tempFolder) {
    platform::ShellOpenRecorder shell;  // nothing is opened
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride usePrompter{prompter};
    const LocalDateTime start{2017, 3, 15, 8, 0, 0};

    THtml5Producer page;
    startRunReport(page, RunReport::Maintenance, start);
    const std::string firstLog = tempFolder + "fdbMaintain_0.txt";
    const std::string secondLog = tempFolder + "fdbMaintain_1.txt";
    platform::writeFileBytes(firstLog, "log of database 0\r\n");
    platform::writeFileBytes(secondLog, "log of database 1\r\n");
    addMaintenanceReportEntry(page, kFirstDatabase, firstLog, true,
                              maintenanceOutcomeText({MaintenanceOutcome::Succeeded, ""}));
    addMaintenanceReportEntry(
        page, kSecondDatabase, secondLog, false,
        maintenanceOutcomeText({MaintenanceOutcome::InUse, std::string(kSecondDatabase) + "<1>"}));
    finishRunReport(page, RunReport::Maintenance, tempFolder);

    OperationLog log;
    startRunReport(page, RunReport::Settings, start);
    beginDbSettingsReportRow(page, kFirstDatabase);
    addDbSettingsReportCell(page, log, "Page buffers", "2048", "2048", true);
    addDbSettingsReportCell(page, log, "Attributes", "", "<force write> & \"x\"", true);
    endDbSettingsReportRow(page);
    beginDbSettingsReportRow(page, kSecondDatabase);
    addDbSettingsReportCell(page, log, "Page buffers", "100", "", false);
    addDbSettingsReportCell(page, log, "Attributes", "", "", true);
    endDbSettingsReportRow(page);
    finishRunReport(page, RunReport::Settings, tempFolder);

    // The tuning run writes a new firebird.conf with the audit trace beside it, then its page.
    WorkingFields fields;
    FbConfFields conf = defaultFbConfFields();
    CommonSettings settings;
    settings.serverFolder = tempFolder;
    settings.tempFolder = tempFolder;
    runFbConfTuning(fields, conf, settings, {true, tempFolder + "firebird_MINTA.conf", true});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: report_pages_writer FOLDER\n");
        return 2;
    }
    try {
        const std::string tempFolder = std::string(argv[1]) + "\\" + kHostileFolder + "\\";
        platform::createFolders(tempFolder);
        writePages(tempFolder);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "report_pages_writer: %s\n", error.what());
        return 1;
    }
}
