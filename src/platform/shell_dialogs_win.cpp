#include "platform/shell_dialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/encoding.h"
#include "platform/library_function_win.h"
#include "platform/process.h"

namespace fbwb::platform {

namespace {

template <typename Function>
Function* shell32(const char* name) {
    return libraryFunction<Function>(L"shell32.dll", name);
}

struct PidlDeleter {
    void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

UniquePidl parseFolder(std::string_view folder) {
    if (folder.empty()) return {};
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(shell32<decltype(SHParseDisplayName)>("SHParseDisplayName")(widen(folder).c_str(), nullptr, &pidl, 0,
                                                                           nullptr)))
        return {};
    return UniquePidl(pidl);
}

std::optional<std::string> pathOf(const ITEMIDLIST* pidl) {
    std::vector<wchar_t> buffer(32768);
    if (!shell32<decltype(SHGetPathFromIDListEx)>("SHGetPathFromIDListEx")(
            pidl, buffer.data(), static_cast<DWORD>(buffer.size()), GPFIDL_DEFAULT))
        return std::nullopt;
    return narrow(buffer.data());
}

}  // namespace

std::optional<std::string> selectFolder(std::string_view title, std::string_view rootFolder) {
    // The new dialog style needs COM in this thread; a thread that has it already keeps its model.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    UniquePidl root = parseFolder(rootFolder);
    const std::wstring wideTitle = widen(title);

    BROWSEINFOW info{};
    info.hwndOwner = static_cast<HWND>(ownerWindow());
    info.pidlRoot = root.get();
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON | BIF_RETURNONLYFSDIRS;
    UniquePidl chosen(shell32<decltype(SHBrowseForFolderW)>("SHBrowseForFolderW")(&info));
    std::optional<std::string> result;
    if (chosen) result = pathOf(chosen.get());
    root.reset();
    chosen.reset();
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}

std::optional<std::string> selectFileToOpen(const FileOpenRequest& request) {
    std::wstring filter = widen(request.filter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    const std::wstring title = widen(request.title);
    const std::wstring initialFolder = widen(request.initialFolder);
    const std::wstring defaultExtension = widen(request.defaultExtension);
    std::vector<wchar_t> buffer(32768, L'\0');
    const std::wstring initial = widen(request.fileName);
    if (initial.size() < buffer.size()) std::copy(initial.begin(), initial.end(), buffer.begin());

    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = static_cast<HWND>(ownerWindow());
    info.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    info.nFilterIndex = 1;
    info.lpstrFile = buffer.data();
    info.nMaxFile = static_cast<DWORD>(buffer.size());
    info.lpstrTitle = title.c_str();
    info.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    info.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    info.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!libraryFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW")(&info)) return std::nullopt;
    return narrow(buffer.data());
}

}  // namespace fbwb::platform
