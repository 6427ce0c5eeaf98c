#include "app/main_window_win.h"

#include <commctrl.h>
#include <richedit.h>

#include <stdexcept>

#include "app/main_window_ids.h"
#include "app/texts.h"
#include "convert/convert_run_win.h"
#include "core/datetime.h"
#include "core/helpers.h"
#include "core/text.h"
#include "env/server_discovery_win.h"
#include "install/install_window_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/shell_dialogs.h"
#include "platform/startup_marks.h"
#include "serverconf/fbconf_tuning_run_win.h"
#include "tasks/db_settings_run_win.h"
#include "tasks/maintenance_run_win.h"

namespace fbwb {

namespace {

struct ToolButton {
    int id;
    ToolAction action;
};

// The toolbar, left to right, with the pictures at the same index.
constexpr ToolButton kToolButtons[] = {
    {IDC_ToolButton5, ToolAction::Install},          {IDC_ToolButton6, ToolAction::Convert},
    {IDC_ToolButton1, ToolAction::ServerSettings},   {IDC_ToolButton2, ToolAction::DatabaseSettings},
    {IDC_ToolButton3, ToolAction::Maintenance},      {IDC_ToolButton4, ToolAction::Web},
};

// Band bottoms in dialog units, so that they stay in step with the controls at any DPI.
constexpr int kTitleBandBottomDlu = 55;
constexpr int kToolbarBandBottomDlu = 139;

constexpr COLORREF kErrorColour = RGB(176, 0, 0);

// The connection test and the conversion's tries start with the server on this machine.
constexpr std::string_view kLocalServerAddress = "127.0.0.1";

bool folderExists(const std::string& folder) { return platform::folderExists(folder); }

}  // namespace

TfrmFbSettingsMain::TfrmFbSettingsMain() : Dialog(IDD_TfrmFbSettingsMain) {}

TfrmFbSettingsMain::~TfrmFbSettingsMain() {
    fields_.mLog.setListener(nullptr);
    fields_.pbOp.setListener(nullptr);
    if (hwnd() != nullptr) DestroyWindow(hwnd());
    if (titleFont_ != nullptr) DeleteObject(titleFont_);
}

HWND TfrmFbSettingsMain::createWindow(bool quitOnClose) {
    quitOnClose_ = quitOnClose;
    // The log pane's class lives in this library; it stays loaded while the window may exist.
    if (!richEdit_) richEdit_.reset(LoadLibraryW(L"Msftedit.dll"));
    if (!richEdit_) throw std::runtime_error("Msftedit.dll: " + platform::lastErrorText());
    platform::markStartupStep("log-pane-library");
    return create(nullptr);
}

void TfrmFbSettingsMain::onInit() {
    platform::markStartupStep("controls");
    SetWindowTextW(hwnd(), platform::widen(texts_app::kCaption).c_str());
    setText(IDC_lDescription, texts_app::kDescription);
    SendMessageW(item(IDC_edPw), EM_SETPASSWORDCHAR, L'*', 0);
    SendMessageW(item(IDC_mLogView), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));

    HINSTANCE module = platform::resourceModule();
    const int iconSizes[] = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)};
    const WPARAM iconKinds[] = {ICON_BIG, ICON_SMALL};
    for (int i = 0; i < 2; ++i) {
        HANDLE icon = LoadImageW(module, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, iconSizes[i], iconSizes[i], LR_SHARED);
        if (icon != nullptr) SendMessageW(hwnd(), WM_SETICON, iconKinds[i], reinterpret_cast<LPARAM>(icon));
    }

    platform::markStartupStep("icons");
    for (size_t i = 0; i < std::size(kToolButtons); ++i)
        toolbar_.attach(item(kToolButtons[i].id), IDB_TOOL_NORMAL_FIRST + static_cast<int>(i),
                        IDB_TOOL_HOT_FIRST + static_cast<int>(i));
    platform::markStartupStep("pictures");
    layOutBands();
    platform::markStartupStep("layout");

    fields_.mLog.setListener([this](const std::string& line) { appendToLogView(line); });
    fields_.pbOp.setListener([this](int max, int position) {
        setProgress(IDC_pbOp, max, position);
        UpdateWindow(item(IDC_pbOp));
    });
    startUp();
}

void TfrmFbSettingsMain::startUp() {
    writeLogLine(std::string(texts_app::kStartedLine) + formatDateTime(localNow()));

    const std::string dataFolder = expandPlaceholders(kDefaultDataFolder);
    setText(IDC_edFolderName, dataFolder);
    setText(IDC_edTempDir, kDefaultTempFolder);
    setText(IDC_edUn, kDefaultUserName);
    setText(IDC_edPw, kDefaultPassword);

    platform::markStartupStep("settings");
    std::vector<std::string> servers = splitLines(findInstalledFbServers(serverSearchRoot(dataFolder)));
    setItems(IDC_cbFbServerPath, servers);
    if (!servers.empty()) selectIndex(IDC_cbFbServerPath, 0);
    platform::markStartupStep("servers");
}

void TfrmFbSettingsMain::layOutBands() {
    RECT bands{0, kTitleBandBottomDlu, 0, kToolbarBandBottomDlu};
    MapDialogRect(hwnd(), &bands);
    titleBandBottom_ = bands.top;
    toolbarBandBottom_ = bands.bottom;
    const int buttonHeight = scaleForDpi(120);
    const int top = titleBandBottom_ + (toolbarBandBottom_ - titleBandBottom_ - buttonHeight) / 2;
    RECT client;
    GetClientRect(hwnd(), &client);
    const int margin = scaleForDpi(8);
    toolbar_.layout(margin, client.right - margin, top, buttonHeight, scaleForDpi(2));

    if (titleFont_ == nullptr)
        titleFont_ = CreateFontW(-scaleForDpi(19), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

void TfrmFbSettingsMain::paintBands(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    // The title twice: silver two pixels down and right, then black on top, for its shadow.
    const std::wstring title = platform::widen(texts_app::kTitle);
    HGDIOBJ oldFont = SelectObject(dc, titleFont_);
    SetBkMode(dc, TRANSPARENT);
    const int x = scaleForDpi(10);
    const int y = scaleForDpi(8);
    const int shadow = scaleForDpi(2);
    SetTextColor(dc, RGB(192, 192, 192));
    TextOutW(dc, x + shadow, y + shadow, title.c_str(), static_cast<int>(title.size()));
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, x, y, title.c_str(), static_cast<int>(title.size()));
    SelectObject(dc, oldFont);

    HPEN pen = CreatePen(PS_SOLID, 1, RGB(214, 214, 214));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int lineY : {titleBandBottom_ - 1, toolbarBandBottom_ - 1}) {
        MoveToEx(dc, 0, lineY, nullptr);
        LineTo(dc, client.right, lineY);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void TfrmFbSettingsMain::appendToLogView(const std::string& line) {
    HWND view = item(IDC_mLogView);
    if (view == nullptr) return;
    const bool error = startsWith(line, kErrorLinePrefix);
    std::wstring text = platform::widen(line);
    if (GetWindowTextLengthW(view) > 0) text.insert(0, L"\r\n");

    CHARRANGE end{-1, -1};
    SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_BOLD;
    format.crTextColor = error ? kErrorColour : GetSysColor(COLOR_WINDOWTEXT);
    format.dwEffects = error ? CFE_BOLD : 0;
    SendMessageW(view, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageW(view, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(view, WM_VSCROLL, SB_BOTTOM, 0);
}

CommonSettings TfrmFbSettingsMain::readSettings() const {
    CommonSettings settings;
    settings.serverFolder = text(IDC_cbFbServerPath);
    settings.serverFolders = items(IDC_cbFbServerPath);
    settings.userName = text(IDC_edUn);
    settings.password = text(IDC_edPw);
    settings.dataFolder = text(IDC_edFolderName);
    settings.tempFolder = text(IDC_edTempDir);
    return settings;
}

void TfrmFbSettingsMain::writeSettings(const CommonSettings& settings) {
    // Only changed texts are written, so the caret and selection of an untouched field stay.
    const std::pair<int, const std::string*> fields[] = {
        {IDC_cbFbServerPath, &settings.serverFolder}, {IDC_edUn, &settings.userName},
        {IDC_edPw, &settings.password},               {IDC_edFolderName, &settings.dataFolder},
        {IDC_edTempDir, &settings.tempFolder},
    };
    for (const auto& [id, value] : fields)
        if (text(id) != *value) setText(id, *value);
}

std::string TfrmFbSettingsMain::getToolPath(std::string_view toolName) const {
    return fbwb::getToolPath(trim(text(IDC_cbFbServerPath)), trim(toolName));
}

std::string TfrmFbSettingsMain::getInstallRoot() const { return fbwb::getInstallRoot(text(IDC_edFolderName)); }

void TfrmFbSettingsMain::runAction(ToolAction action) {
    if (running_) return;
    if (action == ToolAction::Web) {
        platform::shellOpen(texts_app::kFirebird3DownloadPage, texts_app::kWebVerb, "", platform::ShowMode::Normal,
                            false);
        return;
    }
    CommonSettings settings = readSettings();
    // Before the guards, so the field keeps the name even when a guard abandons the action.
    if (action == ToolAction::Maintenance)
        maintainDialog_.setBatchFileField(
            maintenanceBatchFieldBeforeGuards(maintainDialog_.batchFileField(), settings.tempFolder));
    const bool goOn = runGuards(action, settings, folderExists);
    writeSettings(settings);
    if (goOn) openTaskDialog(action, settings);
}

void TfrmFbSettingsMain::openTaskDialog(ToolAction action, const CommonSettings& settings) {
    switch (action) {
        case ToolAction::Maintenance:
            if (maintainDialog_.showForm(settings.dataFolder, settings.tempFolder)) {
                RunScope run(*this, true);
                runMaintenance(fields_, settings, maintainDialog_.choice(), maintainDialog_.steps());
            }
            return;
        case ToolAction::DatabaseSettings:
            if (settingsDialog_.showForm(settings.dataFolder, settings.tempFolder)) {
                RunScope run(*this, true);
                runDbSettings(fields_, settings, settingsDialog_.choice(), settingsDialog_.options());
            }
            return;
        case ToolAction::ServerSettings:
            if (confDialog_.showForm(settings.tempFolder)) {
                RunScope run(*this);
                runFbConfTuning(fields_, fbConf_, settings, confDialog_.choice());
            }
            return;
        case ToolAction::Convert: {
            const ConversionPorts ports = conversionPorts(settings.serverFolders);
            const std::string_view ip = kLocalServerAddress;
            if (convertDialog_.showForm(settings.dataFolder, settings.tempFolder, joinLinesCrLf(settings.serverFolders),
                                        "", ip, ports.oldPort, settings.userName, settings.password, "", ip,
                                        ports.newPort, settings.userName, settings.password)) {
                RunScope run(*this);
                runConversion(convertDialog_.choice(), settings.tempFolder);
            }
            return;
        }
        case ToolAction::Install: {
            // The installer window does the whole run itself; nothing is logged here.
            TfrmInstallParams installer(hwnd());
            installer.showForm(InstallPage::pnlFbSelect, getInstallRoot(), settings.tempFolder);
            return;
        }
        case ToolAction::Web:
            // Opened by runAction before any guard.
            return;
    }
}

void TfrmFbSettingsMain::browseFolder(int fieldId, std::string_view label) {
    const std::optional<std::string> chosen = platform::selectFolder(label, trim(text(fieldId)));
    if (chosen) setText(fieldId, *chosen);
}

void TfrmFbSettingsMain::setActionsEnabled(bool on) {
    for (const ToolButton& button : kToolButtons) enable(button.id, on);
    // The browse buttons too: a run keeps the window usable, but not for a folder dialog.
    for (int id : {IDC_Button9, IDC_Button12, IDC_Button13, IDC_Button15}) enable(id, on);
}

TfrmFbSettingsMain::RunScope::RunScope(TfrmFbSettingsMain& window, bool stoppable)
    : window_(window), focused_(GetFocus()) {
    if (window_.running_) throw std::logic_error("Egy művelet már folyamatban van.");
    window_.running_ = true;
    window_.fields_.pbOp.setMax(0);
    window_.fields_.pbOp.setPosition(0);
    window_.fields_.stopAfterCurrent = false;
    window_.setActionsEnabled(false);
    window_.enable(IDC_btnStopAfterCurrent, stoppable);
}

TfrmFbSettingsMain::RunScope::~RunScope() {
    window_.running_ = false;
    window_.fields_.stopAfterCurrent = false;
    if (window_.hwnd() == nullptr) return;
    window_.enable(IDC_btnStopAfterCurrent, false);
    window_.setActionsEnabled(true);
    window_.fields_.pbOp.setMax(0);
    window_.fields_.pbOp.setPosition(0);
    // A disabled button loses the focus; a keyboard user gets it back where it was.
    if (focused_ != nullptr && IsWindow(focused_) && GetFocus() == nullptr) SetFocus(focused_);
}

void TfrmFbSettingsMain::requestClose() {
    if (running_) {
        platform::prompter().showMessage(texts_app::kRunInProgress, platform::BoxKind::Message);
        return;
    }
    DestroyWindow(hwnd());
}

bool TfrmFbSettingsMain::onCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    for (const ToolButton& button : kToolButtons) {
        if (button.id == id) {
            runAction(button.action);
            return true;
        }
    }
    switch (id) {
        case IDC_Button12:
            browseFolder(IDC_cbFbServerPath, texts_app::kServerFolderLabel);
            return true;
        case IDC_Button13:
            browseFolder(IDC_edFolderName, texts_app::kDataFolderLabel);
            return true;
        case IDC_Button15:
            browseFolder(IDC_edTempDir, texts_app::kTempFolderLabel);
            return true;
        case IDC_btnStopAfterCurrent:
            // The database being worked on is finished; no tool is ever killed.
            fields_.stopAfterCurrent = true;
            enable(IDC_btnStopAfterCurrent, false);
            return true;
        case IDC_Button9:
            if (!running_) {
                // No guard runs: the dialog gets the texts as they stand.
                const CommonSettings settings = readSettings();
                testConnectionDialog_.showForm(settings.serverFolder, settings.dataFolder, kLocalServerAddress,
                                               settings.userName, settings.password);
            }
            return true;
        default:
            return false;
    }
}

bool TfrmFbSettingsMain::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd(), &paint);
            paintBands(dc);
            EndPaint(hwnd(), &paint);
            result = 0;
            return true;
        }
        case WM_ERASEBKGND:
            result = 1;  // WM_PAINT fills the whole client area
            return true;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            result = reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
            return true;
        case WM_DRAWITEM:
            if (!toolbar_.draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return false;
            result = TRUE;
            return true;
        case WM_CLOSE:
            requestClose();
            result = 0;
            return true;
        case WM_DESTROY:
            if (quitOnClose_) PostQuitMessage(0);
            return false;
        default:
            return false;
    }
}

}  // namespace fbwb
