#include "platform/fs.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/encoding.h"
#include "platform/handles_win.h"
#include "platform/system.h"

namespace fbwb::platform {

namespace {

FileInfo toFileInfo(DWORD attributes, DWORD sizeHigh, DWORD sizeLow) {
    FileInfo info;
    info.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    info.system = (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
    info.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    info.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    info.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow);
    return info;
}

std::string systemErrorText(DWORD code) {
    std::string text = systemMessage(code);
    if (text.empty()) {
        char fallback[32];
        std::snprintf(fallback, sizeof fallback, "Windows-hiba: %lu", static_cast<unsigned long>(code));
        return fallback;
    }
    return text;
}

[[noreturn]] void throwLastError() {
    const DWORD code = GetLastError();
    throw std::runtime_error(systemErrorText(code));
}

// Removes trailing delimiters, but keeps the one of a drive root ("C:\").
std::wstring withoutTrailingDelimiters(std::wstring path) {
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    while (path.size() > 1 && path.back() == L'\\' && !(path.size() == 3 && path[1] == L':')) path.pop_back();
    return path;
}

bool folderExistsW(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool createFoldersW(const std::wstring& path, int depth) {
    if (path.empty() || depth > 4096) return false;
    if (folderExistsW(path)) return true;
    const size_t cut = path.find_last_of(L'\\');
    if (cut != std::wstring::npos && cut > 0) {
        std::wstring parent = withoutTrailingDelimiters(path.substr(0, cut + 1));
        if (parent != path && !createFoldersW(parent, depth + 1)) return false;
    }
    CreateDirectoryW(path.c_str(), nullptr);
    return folderExistsW(path);
}

// Windows refuses a path of MAX_PATH characters or more unless it is given in its \\?\ form.
std::wstring longPathForm(std::string_view path) {
    std::wstring wide = widen(path);
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    for (auto& c : wide)
        if (c == L'/') c = L'\\';
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
    if (wide.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    return wide;
}

}  // namespace

std::optional<FileInfo> queryFile(std::string_view path) {
    if (path.empty()) return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(longPathForm(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return toFileInfo(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow);
}

bool fileExists(std::string_view path) {
    const auto info = queryFile(path);
    return info && !info->directory;
}

bool folderExists(std::string_view path) {
    const auto info = queryFile(path);
    return info && info->directory;
}

bool enumerateEntries(std::string_view pattern, const std::function<void(const DirEntry&)>& visit) {
    if (pattern.empty()) return false;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(
        FindFirstFileExW(widen(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
    }
    do {
        DirEntry entry;
        entry.name = narrow(data.cFileName);
        entry.info = toFileInfo(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow);
        visit(entry);
    } while (FindNextFileW(find.get(), &data));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

namespace {

UniqueKernelHandle openForQuery(std::string_view path, DWORD access) {
    // Backup semantics lets CreateFileW open a folder; the open follows links and junctions.
    return UniqueKernelHandle(CreateFileW(longPathForm(path).c_str(), access,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

bool listFolder(std::string_view folder, const std::function<void(const DirEntry&)>& visit) {
    if (folder.empty()) return false;
    const UniqueKernelHandle handle = openForQuery(folder, FILE_LIST_DIRECTORY);
    if (!handle) return false;
    // One buffer per thread: a visitor may list another folder, but never from inside a batch.
    alignas(8) static thread_local unsigned char buffer[64 * 1024];
    FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
    std::vector<DirEntry> batch;
    while (GetFileInformationByHandleEx(handle.get(), request, buffer, sizeof buffer)) {
        request = FileIdBothDirectoryInfo;
        batch.clear();
        for (size_t offset = 0;;) {
            const auto* item = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
            const std::wstring_view name(item->FileName, item->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                DirEntry entry;
                entry.name = narrow(name);
                entry.info = toFileInfo(item->FileAttributes, static_cast<DWORD>(item->EndOfFile.QuadPart >> 32),
                                        static_cast<DWORD>(item->EndOfFile.QuadPart & 0xffffffffu));
                entry.fileId = static_cast<std::uint64_t>(item->FileId.QuadPart);
                batch.push_back(std::move(entry));
            }
            if (item->NextEntryOffset == 0) break;
            offset += item->NextEntryOffset;
        }
        for (const DirEntry& entry : batch) visit(entry);
    }
    return GetLastError() == ERROR_NO_MORE_FILES;
}

std::optional<FileIdentity> fileIdentity(std::string_view path) {
    if (path.empty()) return std::nullopt;
    const UniqueKernelHandle handle = openForQuery(path, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::string pathKey(std::string_view path) {
    std::wstring wide = widen(path);
    if (wide.empty()) return {};
    // The file system's rule: each character upper-cased on its own, whatever the language.
    std::wstring upper(wide.size(), L'\0');
    const int length =
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(), static_cast<int>(wide.size()), upper.data(),
                      static_cast<int>(upper.size()), nullptr, nullptr, 0);
    return narrow(length > 0 ? std::wstring_view(upper.data(), static_cast<size_t>(length)) : std::wstring_view(wide));
}

std::string folderIdentity(std::string_view path) {
    if (path.empty()) return {};
    // Backup semantics lets CreateFileW open a folder; the open follows links and junctions.
    UniqueKernelHandle folder(CreateFileW(widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(folder.get(), &info)) return {};
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%08lx:%08lx%08lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
    return text;
}

bool deleteFileClearingAttributes(std::string_view path) {
    const auto info = queryFile(path);
    if (!info) return true;
    if (info->directory) return false;
    const std::wstring wide = widen(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
    return !queryFile(path).has_value();
}

bool createFolders(std::string_view path) {
    if (path.empty()) return false;
    return createFoldersW(withoutTrailingDelimiters(widen(path)), 0);
}

namespace {

// Windows refuses to replace a read-only file; say so before the open, because under Wine a
// process of the host's administrator would be let through.
void refuseReadOnlyTarget(std::string_view path) {
    if (const auto info = queryFile(path); info && info->readOnly && !info->directory) {
        SetLastError(ERROR_ACCESS_DENIED);
        throwLastError();
    }
}

void writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) throwLastError();
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            throwLastError();
        }
        bytes.remove_prefix(written);
    }
}

}  // namespace

void writeFileBytes(std::string_view path, std::string_view bytes) {
    refuseReadOnlyTarget(path);
    UniqueKernelHandle file(CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throwLastError();
    writeAll(file.get(), bytes);
}

void replaceFileBytes(std::string_view path, std::string_view bytes) {
    refuseReadOnlyTarget(path);
    // A name of our own beside the target: the same volume, so the final move is a rename.
    std::wstring fresh;
    UniqueKernelHandle file;
    for (unsigned attempt = 0; !file; ++attempt) {
        fresh = widen(std::string(path) + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) +
                      ".new");
        file.reset(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && (GetLastError() != ERROR_FILE_EXISTS || attempt == 99)) throwLastError();
    }
    try {
        writeAll(file.get(), bytes);
        if (!FlushFileBuffers(file.get())) throwLastError();
        file.reset();
        if (!MoveFileExW(fresh.c_str(), widen(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throwLastError();
    } catch (...) {
        file.reset();
        DeleteFileW(fresh.c_str());
        throw;
    }
}

FileWriter::FileWriter(std::string_view path) : path_(path) {
    handle_ = CreateFileW(longPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) throwLastError();
}

FileWriter::FileWriter(std::string_view path, NewOnly) : path_(path) {
    handle_ =
        CreateFileW(longPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) return;
    handle_ = nullptr;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) throwLastError();
}

FileWriter::~FileWriter() {
    if (handle_ == nullptr) return;
    CloseHandle(handle_);
    DeleteFileW(longPathForm(path_).c_str());
}

void FileWriter::flush() {
    writeAll(handle_, std::string_view(buffer_.data(), used_));
    used_ = 0;
}

void FileWriter::write(const char* data, size_t size) {
    // Large pieces go out directly; small ones are gathered. The buffer is made on first need and
    // kept small: a large block per file costs Wine a mapping and its page faults every time.
    constexpr size_t kGather = 64 * 1024;
    if (used_ + size > kGather) flush();
    if (size >= kGather) return writeAll(handle_, std::string_view(data, size));
    if (buffer_.empty()) buffer_.resize(kGather);
    std::memcpy(buffer_.data() + used_, data, size);
    used_ += size;
}

void FileWriter::finish() {
    flush();
    const BOOL closed = CloseHandle(handle_);
    handle_ = nullptr;
    if (!closed) {
        const DWORD code = GetLastError();
        DeleteFileW(longPathForm(path_).c_str());
        SetLastError(code);
        throwLastError();
    }
}

void moveFileReplacing(std::string_view from, std::string_view to) {
    const std::wstring source = longPathForm(from), target = longPathForm(to);
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
    // Windows will not replace a read-only file: clear its attributes and try once more.
    const DWORD code = GetLastError();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0 && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL) &&
        MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return;
    SetLastError(code);
    throwLastError();
}

std::optional<std::string> readFileBytes(std::string_view path) {
    if (path.empty()) return std::nullopt;
    UniqueKernelHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return bytes;
}

std::optional<std::string> readFileStart(std::string_view path, size_t count) {
    if (path.empty()) return std::nullopt;
    // A server holds its databases open for reading and writing; the header is still readable then.
    UniqueKernelHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes(count, '\0');
    size_t filled = 0;
    while (filled < count) {
        DWORD read = 0;
        const DWORD asked = static_cast<DWORD>(std::min<size_t>(count - filled, 1u << 20));
        if (!ReadFile(file.get(), bytes.data() + filled, asked, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

std::string executableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t cut = path.find_last_of(L"\\/");
    return narrow(cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1));
}

std::string lastErrorText() { return systemErrorText(GetLastError()); }

}  // namespace fbwb::platform
