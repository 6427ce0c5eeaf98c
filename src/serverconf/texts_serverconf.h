#pragma once
// The server configuration's texts, the tuning scheme and the trace configuration, byte for byte;
// formats are filled with fill().
#include <string_view>

namespace fbwb::texts_serverconf {

// The dialog.
inline constexpr std::string_view kDialogCaption = "Az adatbázis-kezelő beállításai";
inline constexpr std::string_view kFileGroup =
    "Az adatbáziskezelő alapvető beállításait tartalmazó fájl ( Firebird.conf ) módosítsa:  ";
inline constexpr std::string_view kUpdateActive = "Módosítsa az adatbázis-kezelő által használt firebird.conf fájlt";
inline constexpr std::string_view kCreateNew = "Hozzon létre egy új firebird.conf fájlt, ide: ";
inline constexpr std::string_view kSettingsGroup = "Beállítások: ";
inline constexpr std::string_view kVersionLabel = "Firebird verzió:";
inline constexpr std::string_view kVersionItem = "SuperServer 2.5";
inline constexpr std::string_view kArchitectureLabel = "Firebird architektúra:";
inline constexpr std::string_view kArchitecture32 = "32 bites";
inline constexpr std::string_view kArchitecture64 = "64 bites";
inline constexpr std::string_view kEnableAuditTrace = "Adatbázis-műveletek naplózásának engedélyezése";
inline constexpr std::string_view kDoOp = "A módosítáok elvégzése";
inline constexpr std::string_view kCancel = "Mégsem";
// Put after the temp folder when the new file's field is blank.
inline constexpr std::string_view kSampleFileName = "firebird_MINTA.conf";

// The target: the main window's field holds it during a run.
inline constexpr std::string_view kFbConfFnDefault = "c:\\Program Files\\Firebird\\Firebird_2_5\\firebird.conf";
inline constexpr std::string_view kFbConfFileName = "firebird.conf";

// The runner.
inline constexpr std::string_view kOverwriteQuestion = "Biztosan felülírja a %s fájlt?";
inline constexpr std::string_view kNotCarriedOut = "A művelet nem került végrehajtásra.";
inline constexpr std::string_view kRestartQuestion =
    "Az adatbázis-kezelő módosításainak aktiválásához újra kell indítani a Firebird szolgáltatást.\r\n"
    "Újraindítja most?";
// Restarted in this order; then every other "FirebirdServer…" service whose program lies in the server folder.
inline constexpr std::string_view kDefaultInstanceService = "FirebirdServerDefaultInstance";
inline constexpr std::string_view kServerService = "FirebirdServer";
inline constexpr std::string_view kMessagePageName = "firebird_conf_ready.htm";

// The editing step: log lines (each followed by the path), error reports and report items.
inline constexpr std::string_view kEditStart = "A Firebird.conf fájl módosítási műveleteinek indítása: ";
inline constexpr std::string_view kLoadFailed = "Nem sikerült Betölteni a A FIREBIRD.CONF fájlt: ";
// A file that is not 8-bit text (UTF-16, NUL bytes) would lose its lines: it is never edited.
inline constexpr std::string_view kNotSingleByteText =
    "A FIREBIRD.CONF fájl nem egybájtos szövegfájl (UTF-16 kódolású vagy NUL bájtot tartalmaz), ezért a program "
    "nem módosítja. Mentse el ANSI kódolással, majd indítsa újra a műveletet. A fájl neve: ";
inline constexpr std::string_view kEditFailed = "Belső hiba a A FIREBIRD.CONF fájl szerkesztése során.";
inline constexpr std::string_view kSaved = "A Firebird.conf fájl mentése sikeresen megtörtént: ";
// Path, error text; the trailing blank is part of the text.
inline constexpr std::string_view kSaveFailed = "Nem sikerült elmentei a A FIREBIRD.CONF fájlt ( %s ). A hiba leítása: %s ";
inline constexpr std::string_view kCopyTraceItem =
    "A következő fájlt át kell másolnod az adatbázis szerver mappájába, a <b>firebird.conf</b> mellé: <b>%s</b>";
inline constexpr std::string_view kCopyConfItem =
    "A következő fájlt át kell másolnod az adatbázis szerver mappájába <b>firebird.conf</b> néven (a meglévő fájl "
    "<b><font color=\"red\">felülírásával</font></b>): <b>%s</b>";
inline constexpr std::string_view kRestartItem =
    "Az adatbázis-kezelő számítógépen újra kell indítani a <b>Firebird</b> szolgáltatást.";

// The audit trace: its line in firebird.conf, and its configuration file beside it.
inline constexpr std::string_view kAuditTraceLine = "AuditTraceConfigFile = firebird_trace.conf";
inline constexpr std::string_view kTraceFileName = "firebird_trace.conf";

// The tuning scheme, applied line by line; the empty tenth line is skipped.
inline constexpr std::string_view kFbConfScheme[] = {
    "TempBlockSize = 2048576",
    "TempCacheLimit = 967108864",
    "MaxUnflushedWrites = 10000",
    "MaxUnflushedWriteTime = 59",
    "LockMemSize = 4194304",
    "CpuAffinityMask = 255",
    "GCPolicy = background",
    "ProcessPriorityLevel = 1",
    "ExternalFileAccess = Full",
    "",
    "#RootDirectory =",
    "#DatabaseAccess = Full",
    "#UdfAccess = Restrict UDF",
    "#TempDirectories =",
    "#LegacyHash = 1",
    "#Authentication = native",
    "#AuditTraceConfigFile =",
    "#MaxUserTraceLogSize = 10",
    "#DefaultDbCachePages = 9999",
    "#DatabaseGrowthIncrement = 134217728",
    "#FileSystemCacheThreshold = 65536",
    "#FileSystemCacheSize = 0",
    "#RemoteFileOpenAbility = 0",
    "#CompleteBooleanEvaluation = 0",
    "#DeadlockTimeout = 10",
    "#BugcheckAbort = 0",
    "#OldColumnNaming = 0",
    "#OldSetClauseSemantics = 0",
    "#RelaxedAliasChecking = 0",
    "#ConnectionTimeout = 180",
    "#DummyPacketInterval = 0",
    "#RemoteServiceName = gds_db",
    "#RemoteServicePort = 3050",
    "#RemoteAuxPort = 0",
    "#TcpRemoteBufferSize = 8192",
    "#TcpNoNagle = 1",
    "#RemoteBindAddress =",
    "#LockGrantOrder = 1",
    "#LockAcquireSpins = 0",
    "#LockHashSlots = 20011",
    "#EventMemSize = 65536",
    "#UsePriorityScheduler = 1",
    "#PrioritySwitchDelay = 100",
    "#PriorityBoost = 5",
    "#GuardianOption = 1",
    "#IpcName = FIREBIRD",
    "#RemotePipeName = interbas",
    "#Redirection = 0",
};

// The trace configuration, written verbatim; the blanks inside and at the ends of lines count.
inline constexpr std::string_view kAuditTraceSample[] = {
    "<database %[\\\\/]kelmora.fdb>",
    " enabled  true",
    " log_filename  kelmora_trace.log",
    " max_log_size   500",
    " log_connections true ",
    " log_transactions true",
    " log_statement_free false",
    " log_statement_start true",
    " log_statement_finish true",
    " time_threshold 0",
    " print_perf true",
    " exclude_filter %rdb$%",
    "</database>",
};

}  // namespace fbwb::texts_serverconf
