#include "conntest/km_connection.h"

#include <chrono>
#include <optional>
#include <random>

#include "conntest/fb_session.h"
#include "core/text.h"
#include "platform/system.h"

namespace fbwb {

namespace {
constexpr std::string_view kLockUserExists = "SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='LOCKUSER'";
constexpr std::string_view kLockExists = "SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='LOCK'";
constexpr std::string_view kAppIdExists =
    "SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='LOCKUSER' and RDB$FIELD_NAME='APPID'";
constexpr std::string_view kCreateLockUser =
    "CREATE TABLE LOCKUSER (USERID INTEGER NOT NULL, USERNAME VARCHAR (8), APPID SMALLINT, PRIMARY KEY (USERID))";
constexpr std::string_view kAddAppIdSmallint = "ALTER TABLE LOCKUSER ADD APPID SMALLINT";
constexpr std::string_view kAddAppIdDomain = "ALTER TABLE LOCKUSER ADD APPID DSMALLINT";
constexpr std::string_view kCreateLock =
    "CREATE TABLE LOCK (TABLEID INTEGER NOT NULL, ROWID INTEGER NOT NULL, USERID INTEGER NOT NULL, PRIMARY KEY "
    "(TABLEID, ROWID));";
constexpr std::string_view kInsertLockUser =
    "INSERT INTO LOCKUSER (USERID, USERNAME, APPID) VALUES (:userid, :username, :appid);";
constexpr std::string_view kDeleteLockUser = "DELETE FROM LOCKUSER WHERE USERID=:userid;";
constexpr std::string_view kDeleteLock = "DELETE FROM LOCK WHERE USERID=:userid;";

constexpr std::int16_t kApplicationNumber = 3;
constexpr std::int32_t kNumberBase = 20000000;
constexpr std::int32_t kNumberSpan = 2127483647;
// An insert that can never succeed (read-only database, no rights on LOCKUSER) must not loop forever.
constexpr int kMaxFailedInserts = 20;
constexpr size_t kUserNameCharacters = 8;

TkmConnection::NumberSource clockSeededNumbers() {
    auto generator = std::make_shared<std::mt19937>(
        static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
    return [generator] { return std::uniform_int_distribution<std::int32_t>(0, kNumberSpan - 1)(*generator); };
}

// Runs the step in a transaction of its own and commits it; a client error rolls it back and is ignored.
// True when the transaction was committed.
template <typename Step>
bool silently(FbDatabase& database, Step step) {
    try {
        FbTransaction transaction(database);
        step(transaction);
        transaction.commit();
        return true;
    } catch (const FbConnectError&) {
        return false;
    }
}

// Whether the query returns a row; nothing when it failed.
std::optional<bool> returnsRows(FbDatabase& database, std::string_view query) {
    std::optional<bool> result;
    silently(database, [&](FbTransaction& transaction) { result = transaction.execute(query) > 0; });
    return result;
}
}  // namespace

std::string lockUserName(std::string_view computerName) {
    size_t at = 0;
    for (size_t taken = 0; taken < kUserNameCharacters && at < computerName.size(); ++taken) {
        char32_t codePoint = 0;
        const size_t length = decodeUtf8(computerName, at, codePoint);
        at += length == 0 ? 1 : length;
    }
    return std::string(computerName.substr(0, at));
}

TkmConnection::TkmConnection() : TkmConnection(clockSeededNumbers()) {}

TkmConnection::TkmConnection(NumberSource numbers) : numbers_(std::move(numbers)) {}

TkmConnection::~TkmConnection() { release(); }

void TkmConnection::initConnection(TkmDbDriver driver, std::string_view databaseFile, std::string_view userName,
                                   std::string_view password, std::string_view charSet, TkmTrIsolation isolation) {
    release();
    params_.clear();
    writeDriverParams(params_, driver, databaseFile, userName, password, charSet, isolation);
}

void TkmConnection::connect() {
    release();
    const std::string library = params_.value("vendorLib").value_or(std::string(defaultFbClientLibrary()));
    const FbClient& client = loadFbClient(library);
    database_ = std::make_unique<FbDatabase>(
        client, params_.value("Database").value_or(""), params_.value("User_Name").value_or(""),
        params_.value("Password").value_or(""), params_.value("ServerCharSet").value_or(""));
    ensureLockTables();
    registerConnection();
}

// DDL becomes visible only after its commit, so each statement runs in a transaction of its own.
void TkmConnection::ensureLockTables() {
    const auto ddl = [&](std::string_view sql) {
        silently(*database_, [&](FbTransaction& transaction) { transaction.executeImmediate(sql); });
    };
    const std::optional<bool> lockUser = returnsRows(*database_, kLockUserExists);
    if (lockUser == false) {
        ddl(kCreateLockUser);
    } else if (lockUser == true && returnsRows(*database_, kAppIdExists) == false) {
        const std::string address = params_.value("Database").value_or("");
        const bool plainSmallint =
            address.find("kozos.") != std::string::npos || address.find("REGDB.") != std::string::npos;
        ddl(plainSmallint ? kAddAppIdSmallint : kAddAppIdDomain);
    }
    if (returnsRows(*database_, kLockExists) == false) ddl(kCreateLock);
}

void TkmConnection::registerConnection() {
    const std::string userName = lockUserName(platform::computerName());
    std::int32_t registered = 0;
    const bool committed = silently(*database_, [&](FbTransaction& transaction) {
        // Other connections of this application; nothing here depends on the answer.
        try {
            transaction.execute("SELECT USERNAME,APPID FROM LOCKUSER WHERE APPID=" +
                                std::to_string(kApplicationNumber) + " AND USERID<>" + std::to_string(number_));
        } catch (const FbConnectError&) {
        }
        for (int failures = 0; failures < kMaxFailedInserts && registered == 0; ++failures) {
            const std::int32_t candidate = kNumberBase + numbers_();
            try {
                transaction.execute(kInsertLockUser,
                                    {{"userid", candidate}, {"username", userName}, {"appid", kApplicationNumber}});
                registered = candidate;
            } catch (const FbConnectError&) {
            }
        }
    });
    number_ = committed ? registered : 0;
}

void TkmConnection::release() noexcept {
    if (database_ == nullptr) return;
    // Only a registered connection deletes: the last number an unregistered one drew may be another's.
    if (number_ != 0) {
        silently(*database_, [&](FbTransaction& transaction) {
            transaction.execute(kDeleteLockUser, {{"userid", number_}});
            transaction.execute(kDeleteLock, {{"userid", number_}});
        });
    }
    number_ = 0;
    database_.reset();
}

}  // namespace fbwb
