// The installer window driven in a copy of this program that lies beside the kits under test (the
// kits are looked for beside the program's own file). It does what its arguments say and writes
// what a user would see (and the firewall calls) to a result file, one "key<TAB>value" line each; the test beside it
// checks that file and the machine.
//
// usage: install_window_child.exe RESULT_FILE KELMORA_WIN_FOLDER TEMP_FOLDER [option...]
//   --target TEXT    the target folder's text before the install button is pressed
//   --uncheck 2.5|3.0
//   --install        press the install button
//   --uninstall      press the uninstall button (its dialog is cancelled)
//   --page progress  show the progress page first
//   --enter-again    after the run, the hidden install button's command (Enter, had it stayed the default)
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/text.h"
#include "install/install_window_ids.h"
#include "install/install_window_win.h"
#include "install/texts_install.h"
#include "install/uninstall_dialog_ids.h"
#include "platform/dialog_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/scripted_prompter.h"
#include "win/dialog_answerer.h"
#include "win/dialog_driver.h"
#include "win/firewall_recorder.h"

using namespace fbwb;
using namespace fbwb::test;

namespace {

struct Options {
    std::string resultFile, kelmoraWinFolder, tempFolder;
    std::optional<std::string> target;
    std::vector<std::string> uncheck;
    bool install = false, uninstall = false, progressPage = false, enterAgain = false;
};

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

class Result {
public:
    void add(std::string_view key, std::string_view value) { text_ += std::string(key) + "\t" + escaped(value) + "\n"; }
    void add(std::string_view key, bool value) { add(key, std::string_view(value ? "1" : "0")); }
    void add(std::string_view key, long value) { add(key, std::to_string(value)); }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

using Window = Driven<TfrmInstallParams>;

void describe(Window& w, Result& result, const std::string& prefix) {
    const std::pair<int, const char*> controls[] = {
        {IDC_GroupBox5, "group"},
        {IDC_cbFirebirdToInstall_2_5, "cb25"},
        {IDC_cbFirebirdToInstall_3_0, "cb30"},
        {IDC_mNoInstaller, "noKit"},
        {IDC_Button1, "uninstallButton"},
        {IDC_bitBtbInstall, "installButton"},
        {IDC_Label1, "procLabel"},
        {IDC_mProc, "proc"},
        {IDC_pb1, "gauge"},
        {IDC_btnFinish, "finish"},
        {IDC_cbKelmoraWinMainFolder, "target"},
        {IDC_lKelmoraWinPath, "targetLabel"},
    };
    for (const auto& [id, name] : controls) result.add(prefix + name + ".visible", w.isVisible(id));
    for (int id : {IDC_cbFirebirdToInstall_2_5, IDC_cbFirebirdToInstall_3_0})
        result.add(prefix + (id == IDC_cbFirebirdToInstall_2_5 ? "cb25" : "cb30") + ".checked", w.isChecked(id));
    result.add(prefix + "finish.enabled", w.isEnabled(IDC_btnFinish));
    result.add(prefix + "defaultButton", static_cast<long>(LOWORD(SendMessageW(w.hwnd(), DM_GETDEFID, 0, 0))));
    result.add(prefix + "noKit.text", w.textOf(IDC_mNoInstaller));
    result.add(prefix + "proc.text", w.textOf(IDC_mProc));
    result.add(prefix + "target.text", w.textOf(IDC_cbKelmoraWinMainFolder));
    result.add(prefix + "gauge.max", static_cast<long>(SendMessageW(w.item(IDC_pb1), PBM_GETRANGE, FALSE, 0)));
    result.add(prefix + "gauge.pos", static_cast<long>(SendMessageW(w.item(IDC_pb1), PBM_GETPOS, 0, 0)));
}

Options parse() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> a;
    for (int i = 1; i < count; ++i) a.push_back(platform::narrow(args[i]));
    LocalFree(args);
    Options o;
    if (a.size() < 3) return o;
    o.resultFile = a[0];
    o.kelmoraWinFolder = a[1];
    o.tempFolder = a[2];
    for (size_t i = 3; i < a.size(); ++i) {
        if (a[i] == "--target" && i + 1 < a.size())
            o.target = a[++i];
        else if (a[i] == "--uncheck" && i + 1 < a.size())
            o.uncheck.push_back(a[++i]);
        else if (a[i] == "--install")
            o.install = true;
        else if (a[i] == "--uninstall")
            o.uninstall = true;
        else if (a[i] == "--page" && i + 1 < a.size())
            o.progressPage = a[++i] == "progress";
    }
    return o;
}

}  // namespace

int main() {
    const Options options = parse();
    if (options.resultFile.empty()) {
        std::fprintf(stderr, "usage: install_window_child.exe RESULT KELMORA_WIN TEMP [option...]\n");
        return 2;
    }
    platform::initCommonControls();
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride promptOverride(prompter);
    Result result;
    // The firewall rules go to the recording stand-in, never to the machine's firewall.
    FirewallRecorder firewall;

    Window w;
    w.script = [&](Window& w) {
        result.add("caption", windowText(w.hwnd()));
        describe(w, result, "shown.");
        if (options.target) w.type(IDC_cbKelmoraWinMainFolder, *options.target);
        for (const std::string& version : options.uncheck)
            w.setChecked(version == "2.5" ? IDC_cbFirebirdToInstall_2_5 : IDC_cbFirebirdToInstall_3_0, false);
        if (options.uninstall) {
            // The uninstall dialog's folder list shows which folder it was handed; then it is cancelled.
            const DWORD thread = GetCurrentThreadId();
            std::string folders;
            bool seen = false;
            std::thread answer([&] {
                for (int i = 0; i < 200; ++i) {
                    detail::Search search{platform::widen(texts_install::kUninstallCaption), nullptr, {}};
                    EnumThreadWindows(thread, detail::findDialog, reinterpret_cast<LPARAM>(&search));
                    if (search.found != nullptr) {
                        HWND combo = GetDlgItem(search.found, IDC_UNINST_cbInstalledFirebirdMainFolder);
                        const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
                        for (LRESULT item = 0; item < count; ++item) {
                            wchar_t text[MAX_PATH * 2] = {};
                            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(item),
                                         reinterpret_cast<LPARAM>(text));
                            folders += (folders.empty() ? "" : "|") + platform::narrow(text);
                        }
                        seen = true;
                        PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                        return;
                    }
                    Sleep(50);
                }
            });
            w.click(IDC_Button1);
            answer.join();
            result.add("uninstallDialog.seen", seen);
            result.add("uninstallDialog.folders", folders);
        }
        if (options.install) {
            w.click(IDC_bitBtbInstall);
            describe(w, result, "after.");
        }
        if (options.enterAgain) {
            SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_bitBtbInstall, BN_CLICKED), 0);
            describe(w, result, "again.");
        }
        for (size_t i = 0; i < prompter.boxes().size(); ++i) {
            const auto& box = prompter.boxes()[i];
            const char* kind = box.kind == platform::BoxKind::Error     ? "error"
                               : box.kind == platform::BoxKind::Message ? "message"
                                                                        : "confirmation";
            result.add("box." + std::to_string(i), std::string(kind) + "|" + box.text);
        }
        if (w.isVisible(IDC_btnFinish))
            w.click(IDC_btnFinish);
        else
            PostMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    w.showForm(options.progressPage ? InstallPage::pnlProgressBg : InstallPage::pnlFbSelect, options.kelmoraWinFolder,
               options.tempFolder);
    const std::vector<std::string> calls = firewall.calls();
    for (size_t i = 0; i < calls.size(); ++i) result.add("firewall." + std::to_string(i), calls[i]);
    result.add("scriptRan", w.scriptRan);
    result.add("fellBack", w.fellBack);
    platform::writeFileBytes(options.resultFile, result.text());
    return 0;
}
