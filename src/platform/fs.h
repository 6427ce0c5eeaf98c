#pragma once
// File-system queries and writes. Paths are UTF-8 in Windows notation.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fbwb::platform {

struct FileInfo {
    bool directory = false;
    bool hidden = false;
    bool system = false;
    bool readOnly = false;
    bool link = false;      // a reparse point: symbolic link, junction, mounted volume
    std::int64_t size = 0;  // whole 64-bit size
};

// Attributes of a file or folder, or nothing when the system cannot tell (missing, unreadable).
std::optional<FileInfo> queryFile(std::string_view path);
bool fileExists(std::string_view path);    // an existing file, not a folder
bool folderExists(std::string_view path);  // an existing folder

struct DirEntry {
    std::string name;  // name only, as the file system spells it
    FileInfo info;
    // Unique on its volume, 0 when unknown (enumerateEntries). A link's own, or under Wine its target's.
    std::uint64_t fileId = 0;
};

// Enumerates the entries that match pattern (folder + mask, wildcards allowed) in the order
// the file system returns them, "." and ".." included. False when the enumeration failed;
// a pattern that matches nothing is not a failure.
bool enumerateEntries(std::string_view pattern, const std::function<void(const DirEntry&)>& visit);

// Every entry of the folder (no mask, so names match by their own spelling and never by their short
// 8.3 form), "." and ".." left out, in the order the file system returns them, each with its file id.
// A folder path of any length. False when the folder cannot be listed.
bool listFolder(std::string_view folder, const std::function<void(const DirEntry&)>& visit);

// A file or folder as the volume knows it, reached through links; equal for the same one however
// it is reached. Nothing when it cannot be told.
struct FileIdentity {
    std::uint32_t volume = 0;
    std::uint64_t file = 0;
    auto operator<=>(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(std::string_view path);

// The same text for two paths that differ only in letter case, as the file system compares names.
std::string pathKey(std::string_view path);

// Something that names the same folder however it is reached (through links, junctions, case);
// empty when it cannot be told.
std::string folderIdentity(std::string_view path);

// Clears every attribute (read-only included) and deletes; false when the file is still there.
bool deleteFileClearingAttributes(std::string_view path);
// Creates the folder with all missing parents; true when it exists afterwards.
bool createFolders(std::string_view path);

// Writes the bytes, creating or replacing the file; throws std::runtime_error with the
// system's error text when that fails.
void writeFileBytes(std::string_view path, std::string_view bytes);
// The same, but the bytes go to a new file beside the target first, which then takes the target's
// place: a failure at any point leaves the target's old content whole (and no new file behind).
void replaceFileBytes(std::string_view path, std::string_view bytes);
// A new file written in large pieces: small pieces are gathered, large ones go out without a copy.
// The file is removed again unless finish() succeeded. Failures throw std::runtime_error with the
// system's error text. Paths of any length.
class FileWriter {
public:
    explicit FileWriter(std::string_view path);  // creates the file or empties an existing one
    // Only a file that is not there yet: when one is, nothing is opened and opened() is false.
    struct NewOnly {};
    FileWriter(std::string_view path, NewOnly);
    ~FileWriter();
    bool opened() const { return handle_ != nullptr; }
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;
    void write(const char* data, size_t size);
    void finish();  // writes what is buffered and closes the file
private:
    void flush();
    void* handle_ = nullptr;
    std::string path_;
    std::string buffer_;
    size_t used_ = 0;
};

// Renames the file over the target, which may exist (also read-only); throws std::runtime_error with
// the system's error text. Both in one folder, paths of any length.
void moveFileReplacing(std::string_view from, std::string_view to);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readFileBytes(std::string_view path);

// At most the first count bytes of the file (fewer when it is shorter), or nothing when it cannot be read.
std::optional<std::string> readFileStart(std::string_view path, size_t count);

// The folder of the running program's executable, with a trailing backslash.
std::string executableFolder();

// The text of the calling thread's last system error (GetLastError), in the system's language.
std::string lastErrorText();

}  // namespace fbwb::platform
