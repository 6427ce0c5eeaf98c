#pragma once
// A scratch folder under the system's temp folder, removed with everything in it at the end of
// the test. Paths are UTF-8 in Windows notation; path() ends with a backslash.
#include <windows.h>

#include <atomic>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/encoding.h"
#include "platform/fs.h"

namespace fbwb::test {

class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, base);
        std::string folder = platform::narrow(std::wstring_view(base, length));
        if (folder.empty() || folder.back() != '\\') folder += '\\';
        static std::atomic<unsigned> counter{0};
        path_ = folder + "fbwb_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++) + "_" +
                std::to_string(GetTickCount64()) + "\\";
        platform::createFolders(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        // Links first: once its target is gone a link is no longer listed, and its folder stays.
        for (auto link = links_.rbegin(); link != links_.rend(); ++link) removeHostSymlink(*link);
        std::set<std::string> seen;
        removeTree(path_, seen);
    }

    const std::string& path() const { return path_; }
    // The folder + relative path (no trailing backslash added).
    std::string operator/(std::string_view relative) const { return path_ + std::string(relative); }

    // Creates the folder (with parents) below the scratch folder; returns its full path.
    std::string folder(std::string_view relative) const {
        const std::string full = path_ + std::string(relative);
        platform::createFolders(full);
        return full;
    }
    // Creates the file (with its folders) below the scratch folder; returns its full path.
    std::string file(std::string_view relative, std::string_view bytes = {}) const {
        const std::string full = path_ + std::string(relative);
        const size_t cut = full.find_last_of('\\');
        platform::createFolders(full.substr(0, cut));
        platform::writeFileBytes(full, bytes);
        return full;
    }

    static void setAttributes(const std::string& path, DWORD attributes) {
        SetFileAttributesW(platform::widen(path).c_str(), attributes);
    }

    static bool underWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

    // Wine's CreateSymbolicLinkW reports success and makes nothing, so a link is made by the host's
    // ln (Wine starts it as a native process without a handle: poll for the result). False when
    // not under Wine or the link did not appear. The link is removed with the scratch folder.
    bool makeHostSymlink(const std::string& target, const std::string& link) {
        links_.push_back(link);
        const std::string from = unixPath(target);
        const std::string to = unixPath(link);
        if (from.empty() || to.empty()) return false;
        if (!startHostProgram(L"Z:\\bin\\ln", "ln -s \"" + from + "\" \"" + to + "\"")) return false;
        return waitFor([&] { return platform::queryFile(link).has_value(); });
    }
    // A file made by the host's touch: under Wine this may stand beside a name that differs only in
    // letter case, which Windows itself would take for the same name.
    bool makeHostFile(const std::string& path) {
        // The folder is converted alone: Wine would resolve the whole path to the existing look-alike.
        const size_t cut = path.find_last_of('\\');
        const std::string folder = unixPath(path.substr(0, cut));
        const std::string name = path.substr(cut + 1);
        if (folder.empty() || !startHostProgram(L"Z:\\bin\\touch", "touch \"" + folder + "/" + name + "\""))
            return false;
        return waitFor([&] {
            bool seen = false;
            platform::enumerateEntries(path.substr(0, cut + 1) + "*",
                                       [&](const platform::DirEntry& entry) { seen = seen || entry.name == name; });
            return seen;
        });
    }
    // Windows cannot remove such a link under Wine (it answers with an error): the host's rm does.
    static bool removeHostSymlink(const std::string& link) {
        const std::string path = unixPath(link);
        if (path.empty() || !startHostProgram(L"Z:\\bin\\rm", "rm -f \"" + path + "\"")) return false;
        return waitFor([&] { return !platform::queryFile(link).has_value(); });
    }

private:
    static std::string unixPath(const std::string& path) {
        using UnixName = char*(CDECL*)(LPCWSTR);
        const auto convert = reinterpret_cast<UnixName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (convert == nullptr) return {};
        char* name = convert(platform::widen(path).c_str());
        if (name == nullptr) return {};
        std::string result(name);
        HeapFree(GetProcessHeap(), 0, name);
        return result;
    }
    static bool startHostProgram(const wchar_t* program, const std::string& commandLine) {
        std::wstring line = platform::widen(commandLine);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            return false;
        }
        if (process.hProcess != nullptr) CloseHandle(process.hProcess);
        if (process.hThread != nullptr) CloseHandle(process.hThread);
        return true;
    }
    template <typename Condition>
    static bool waitFor(Condition condition) {
        for (int i = 0; i < 250; ++i) {
            if (condition()) return true;
            Sleep(20);
        }
        return condition();
    }

    // Links are removed without being entered, and no folder is entered twice.
    static void removeTree(const std::string& folder, std::set<std::string>& seen) {
        const std::string identity = platform::folderIdentity(folder);
        if (!identity.empty() && !seen.insert(identity).second) return;
        std::string prefix = folder;
        if (prefix.back() != '\\') prefix += '\\';
        WIN32_FIND_DATAW data{};
        HANDLE find = FindFirstFileW(platform::widen(prefix + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = platform::widen(prefix) + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    if (!RemoveDirectoryW(full.c_str()) && !DeleteFileW(full.c_str())) {
                        removeHostSymlink(platform::narrow(full));
                    }
                } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(platform::narrow(full), seen);
                } else {
                    DeleteFileW(full.c_str());
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        SetFileAttributesW(platform::widen(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(platform::widen(folder).c_str());
    }

    std::string path_;
    std::vector<std::string> links_;
};

}  // namespace fbwb::test
