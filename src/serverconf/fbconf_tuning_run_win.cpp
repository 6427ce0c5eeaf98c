#include "serverconf/fbconf_tuning_run_win.h"

#include <exception>
#include <string>

#include "core/file_helpers_win.h"
#include "core/helpers.h"
#include "core/html_text.h"
#include "core/message_page.h"
#include "core/message_page_win.h"
#include "core/text.h"
#include "core/texts_core.h"
#include "env/fbconf.h"
#include "env/service_control_win.h"
#include "platform/fs.h"
#include "platform/prompter.h"
#include "serverconf/texts_serverconf.h"

namespace fbwb {

using namespace texts_serverconf;

namespace {

void reportError(WorkingFields& fields, const std::string& text) { fields.mLog.writeErrorLine(text, true); }

void addReportItem(WorkingFields& fields, const std::string& text) { fields.mHtmMsg += htmlListItem(text); }

}  // namespace

bool btnDoFirebirdConfClick(WorkingFields& fields, FbConfFields& conf, const FbConfChoice& choice) {
    conf.edFbConfFn = trim(conf.edFbConfFn);
    const std::string path = conf.edFbConfFn;
    conf.mFbConf.clear();
    fields.mLog.writeLogLine(std::string(kEditStart) + path);

    const std::string folder = folderOfPath(path);
    // A folder that cannot be made shows in the saves below, with the system's text.
    if (!folder.empty() && !platform::folderExists(folder)) platform::createFolders(folder);

    ConfText text;
    if (platform::fileExists(path)) {
        const auto bytes = platform::readFileBytes(path);
        if (!bytes) {
            reportError(fields, std::string(kLoadFailed) + path);
            return false;
        }
        if (!isSingleByteConfText(*bytes)) {
            reportError(fields, std::string(kNotSingleByteText) + path);
            return false;
        }
        text = parseConfText(*bytes);
        conf.mFbConf = text.lines;
    }

    try {
        applyFbConfScheme(conf.mFbConfScheme, choice.auditTrace, conf.mFbConf);
        if (choice.auditTrace) {
            const std::string traceFile = folder + std::string(kTraceFileName);
            platform::writeFileBytes(traceFile, joinLinesCrLf(conf.mAuditTraceSample1));
            if (choice.createNew) addReportItem(fields, fillHtml(kCopyTraceItem, {traceFile}));
        }
    } catch (const std::exception&) {
        reportError(fields, std::string(kEditFailed));
        return false;
    }

    try {
        text.lines = conf.mFbConf;
        platform::replaceFileBytes(path, formatConfText(text));
    } catch (const std::exception& error) {
        reportError(fields, fill(kSaveFailed, {path, error.what()}));
        return false;
    }
    fields.mLog.writeLogLine(std::string(kSaved) + path);
    if (choice.createNew) {
        addReportItem(fields, fillHtml(kCopyConfItem, {path}));
        addReportItem(fields, std::string(kRestartItem));
    }
    return true;
}

void restartTunedServer(OperationLog& log, std::string_view serverFolder) {
    restartService(log, kDefaultInstanceService);
    restartService(log, kServerService);
    // The instances this workbench installs carry their own names ("FirebirdServerKelmora3").
    for (const std::string& name : installedServicesInFolder(kServerService, serverFolder))
        if (!equalsNoCase(name, kDefaultInstanceService) && !equalsNoCase(name, kServerService))
            restartService(log, name);
}

void runFbConfTuning(WorkingFields& fields, FbConfFields& conf, const CommonSettings& settings,
                     const FbConfChoice& choice) {
    auto& prompter = platform::prompter();
    fields.mHtmMsg.clear();
    if (choice.createNew) {
        conf.edFbConfFn = trim(choice.newFileName);
        if (platform::fileExists(conf.edFbConfFn)) {
            if (!prompter.askYesNo(fill(kOverwriteQuestion, {conf.edFbConfFn}), platform::BoxKind::Confirmation)) {
                prompter.showMessage(kNotCarriedOut, platform::BoxKind::Message);
                return;
            }
            deleteFileForced(conf.edFbConfFn);
        }
    } else {
        conf.edFbConfFn = activeFbConfPath(settings.serverFolder);
    }

    // Nothing was saved: no restart to offer, no page of instructions, and no word of success.
    if (!btnDoFirebirdConfClick(fields, conf, choice)) {
        prompter.showMessage(kNotCarriedOut, platform::BoxKind::Message);
        return;
    }
    if (!choice.createNew && prompter.askYesNo(kRestartQuestion, platform::BoxKind::Confirmation))
        restartTunedServer(fields.mLog, settings.serverFolder);
    showMessagePage(fields, settings.tempFolder, kMessagePageName);
    prompter.showMessage(texts_core::kRunFinished, platform::BoxKind::Message);
}

}  // namespace fbwb
