#pragma once
// Batch line shapes and the texts about values that cannot go into a batch line, byte for byte.

namespace fbwb::texts_script {

// Shared line shapes.
inline constexpr const char* kCallLine = "call \"%s\" %s";
// The maintenance form: the third part (a redirection) may be empty, leaving one trailing blank.
inline constexpr const char* kCallRedirectLine = "call \"%s\" %s %s";
// Two blanks on each side of ">>".
inline constexpr const char* kRedirectAppend = "  >>  \"%s\"";
inline constexpr const char* kDeleteLine = "del \"%s\"";
// Replaces the target in one rename on the same volume; fails while the target is held open.
inline constexpr const char* kMoveReplaceLine = "move /y \"%s\" \"%s\"";
// Ends with one blank: the command that runs only when the file exists follows.
inline constexpr const char* kIfExistsPrefix = "if exist \"%s\" ";
inline constexpr const char* kPauseLine = "pause";

// Service lines of the command-line generator.
inline constexpr const char* kNetStopLine = "net stop \"%s\"";
inline constexpr const char* kNetStartLine = "net start \"%s\"";
inline constexpr const char* kScDeleteLine = "sc delete \"%s\"";
// Two blanks after the closing quote, one after "start=".
inline constexpr const char* kScConfigAutoStartLine = "sc config \"%s\"  start= auto";
// Ends with one blank.
inline constexpr const char* kInstSvcRemoveLine = "\"%s\" remove -name \"%s\" ";
inline constexpr const char* kInstSvcLine = "\"%s\" %s";
// Begins and ends with one blank.
inline constexpr const char* kInstSvcInstallSwitches = " install -auto -name \"%s\" ";
inline constexpr const char* kInstSvcGuardianSwitch = " -guardian ";
inline constexpr const char* kInstSvcFileName = "instsvc.exe";
inline constexpr const char* kGuardianServicePrefix = "FirebirdGuardian";
inline constexpr const char* kServerServicePrefix = "FirebirdServer";

// Conversion lines: the backup call ends with one blank, the restore call has none.
inline constexpr const char* kBackupCallLine = "call \"%s\" %s ";
inline constexpr const char* kBackupSwitches = "-v -t -USER %s -PASSWORD %s \"%s\" \"%s\"";
inline constexpr const char* kRestoreSwitches = "-c -v -USER %s -PASSWORD %s \"%s\" \"%s\"";
inline constexpr const char* kConvertedFileTail = "_FB3.fdb";
inline constexpr const char* kBackupFileExtension = ".fbk";

// Values that would break a batch line: the field's label, then the value.
inline constexpr const char* kBatchValueRefused =
    "A(z) %s nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \" (érték: %s)";
// The same for a password: its value is not repeated in the log.
inline constexpr const char* kBatchSecretRefused =
    "A(z) %s nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \"";
// A character that the batch file's code page lacks: the field's label, the character, the value.
inline constexpr const char* kBatchValueNotInCodePage =
    "A(z) %s nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert tartalmaz: %s "
    "(érték: %s)";
// The same for a password: neither its character nor its value is repeated in the log.
inline constexpr const char* kBatchSecretNotInCodePage =
    "A(z) %s nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert tartalmaz.";
// Stands for bytes that are not UTF-8 in those texts.
inline constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";
// A line break (or another control character) would end the command in the middle.
inline constexpr const char* kBatchControlCharRefused =
    "A(z) %s nem írható parancsfájlba, mert vezérlőkaraktert tartalmaz.";

// Field labels of those texts.
inline constexpr const char* kFieldDatabaseFile = "adatbázis-fájl";
inline constexpr const char* kFieldUserName = "felhasználónév";
inline constexpr const char* kFieldPassword = "jelszó";
inline constexpr const char* kFieldOldServerFolder = "régi kiszolgáló mappája";
inline constexpr const char* kFieldNewServerFolder = "új kiszolgáló mappája";
inline constexpr const char* kFieldServerFolder = "kiszolgáló mappája";
inline constexpr const char* kFieldTempFolder = "ideiglenes fájlok mappája";

}  // namespace fbwb::texts_script
