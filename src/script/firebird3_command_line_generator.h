#pragma once
// Composes the lines of a batch file that removes, installs and starts the two Windows services
// of a Firebird server instance, and converts databases with the old and the new server's gbak.
// It only appends to its own list; it runs and checks nothing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "script/batch_lines.h"

namespace fbwb {

class TFirebird3CommandLineGenerator {
public:
    TFirebird3CommandLineGenerator() = default;
    virtual ~TFirebird3CommandLineGenerator() = default;
    TFirebird3CommandLineGenerator(const TFirebird3CommandLineGenerator&) = delete;
    TFirebird3CommandLineGenerator& operator=(const TFirebird3CommandLineGenerator&) = delete;
    TFirebird3CommandLineGenerator(TFirebird3CommandLineGenerator&&) = default;
    TFirebird3CommandLineGenerator& operator=(TFirebird3CommandLineGenerator&&) = default;

    // The generated lines; callers may append their own (such as "pause") but keep the list.
    std::vector<std::string>& cmdLines() { return fCmdLines; }
    const std::vector<std::string>& cmdLines() const { return fCmdLines; }

    // The folder that holds instsvc.exe, with or without a trailing backslash.
    const std::string& FirebirdBinFolder() const { return fFirebirdBinFolder; }
    void setFirebirdBinFolder(std::string folder) { fFirebirdBinFolder = std::move(folder); }
    // The instance name (Kelmora2, Kelmora3; empty for the default instance).
    const std::string& ServiceNameFragment() const { return fServiceNameFragment; }
    void setServiceNameFragment(std::string fragment) { fServiceNameFragment = std::move(fragment); }

    // net stop / sc delete of the guardian service.
    virtual void addUninstallGuardianCmdLines();
    // net stop, instsvc remove, sc delete of the server service.
    virtual void addUninstallServerCmdLines();
    // "FirebirdGuardian" / "FirebirdServer" + the trimmed fragment.
    virtual std::string getGuardianServiceFullName() const;
    virtual std::string getServerServiceFullName() const;
    // The trimmed bin folder with one trailing backslash + "instsvc.exe"; no existence check.
    virtual std::string getInstSvcFn() const;
    // The instsvc install line; with autoStartService the start lines of the server and then,
    // with useGuardian, of the guardian.
    virtual void addInstallServerCmdLines(bool useGuardian, bool autoStartService);
    // sc config ... start= auto, then net start of the guardian.
    virtual void addStartInstalledGuardianCmdLines();
    // net start of the server.
    virtual void addStartInstalledServerCmdLines();

    // The conversion lines of one database, given the two gbak paths (empty when not found), the
    // time of the backup's stamp and the characters the batch file's code page holds. Appends
    // nothing when a gbak path is empty. A value that cannot be written into a batch line exactly
    // also appends nothing and comes back as the error line for the log; otherwise the result is
    // empty.
    std::optional<std::string> addConvertFdbCmdLinesFor(std::string_view oldGbak, std::string_view newGbak,
                                                        std::string_view fdbFileToConvert, std::string_view oldUserName,
                                                        std::string_view oldPassword, std::string_view newUsername,
                                                        std::string_view newPassword, const LocalDateTime& now,
                                                        const HoldsCharacter& holds);

    // The same, finding gbak.exe of the two server main folders, against the batch file's own code
    // page (Windows build only); the overload without a time takes the local time now.
    std::optional<std::string> addConvertFdbCmdLines(std::string_view oldFBMainFolder,
                                                     std::string_view newFBMainFolder,
                                                     std::string_view fdbFileToConvert,
                                                     std::string_view oldUserName, std::string_view oldPassword,
                                                     std::string_view newUsername, std::string_view newPassword);
    std::optional<std::string> addConvertFdbCmdLines(std::string_view oldFBMainFolder,
                                                     std::string_view newFBMainFolder,
                                                     std::string_view fdbFileToConvert,
                                                     std::string_view oldUserName, std::string_view oldPassword,
                                                     std::string_view newUsername, std::string_view newPassword,
                                                     const LocalDateTime& now);

private:
    // With setAutoStart the sc config line first; always net start.
    virtual void addStartServiceCmdLines(const std::string& serviceName, bool setAutoStart);

    std::vector<std::string> fCmdLines;
    std::string fFirebirdBinFolder;
    std::string fServiceNameFragment;
};

}  // namespace fbwb
