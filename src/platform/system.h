#pragma once
// Registry, drives, processor architecture, physical memory, the computer's name and the system's error
// messages.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fbwb::platform {

enum class RegistryRoot { LocalMachine, CurrentUser, ClassesRoot, Users };

// The string value, or nothing when the key or value is missing or unreadable. Opens read-only.
std::optional<std::string> readRegistryValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName);

// Which registry view a 64-bit program reads: its own, or the one that 32-bit programs see.
enum class RegistryView { Native, Wow32 };
std::optional<std::string> readRegistryValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                                             RegistryView view);

// Bit 0 = A: ... bit 25 = Z: for the drives the system reports as present.
unsigned presentDrivesMask();
// The system's drive type code of "X:\" (DRIVE_REMOVABLE 2, DRIVE_FIXED 3, DRIVE_REMOTE 4, DRIVE_CDROM 5, DRIVE_RAMDISK 6).
int driveType(char letter);

// The machine's physical memory in bytes; 0 when the system cannot tell.
std::uint64_t physicalMemoryBytes();

// The native processor architecture code (PROCESSOR_ARCHITECTURE_AMD64 = 9), the machine's even for a 32-bit build.
int nativeProcessorArchitecture();

// The system's message for an error code (a Win32 error or an HRESULT) in the system's language, without
// its line break; empty when the system has none.
std::string systemMessage(std::uint32_t code);

// The machine's name as the system reports it (NetBIOS name on Windows, host name elsewhere); empty
// when it cannot tell. Natively this is the only function of this header.
std::string computerName();

}  // namespace fbwb::platform
