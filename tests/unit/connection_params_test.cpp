#include <gtest/gtest.h>

#include "conntest/connection_params.h"
#include "conntest/fb_connection.h"
#include "conntest/fb_session.h"
#include "conntest/km_connection.h"

using namespace fbwb;

namespace {
using Entries = std::vector<std::pair<std::string, std::string>>;

Entries fixedEntries(const std::string& database, const std::string& user, const std::string& password) {
    return {{"DriverName", "Firebird"},   {"GetDriverFunc", "getSQLDriverINTERBASE"},
            {"LibraryName", "dbxfb.dll"}, {"Database", database},
            {"User_Name", user},          {"Password", password},
            {"ServerCharSet", "WIN1250"}, {"IsolationLevel", "ReadCommitted"},
            {"RoleName", "RoleName"},     {"SQLDialect", "3"},
            {"ErrorResourceFile", ""},    {"LocaleCode", "0000"},
            {"BlobSize", "-1"},           {"CommitRetain", "False"},
            {"WaitOnLocks", "False"},     {"Trim Char", "False"}};
}
}  // namespace

TEST(PrepareFbConnection, WritesTheFixedEntriesAndTheClientLibraryOnlyWhenGiven) {
    struct Case {
        const char *library, *ip, *port, *path, *database;
    } cases[] = {
        {"", "127.0.0.1", "6648", "D:\\Data\\conf.fdb", "127.0.0.1/6648:D:\\Data\\conf.fdb"},
        {"C:\\FB\\bin\\fbclient.dll", " srv ", "", "D:\\Data\\conf.fdb", "srv:D:\\Data\\conf.fdb"},
        {"C:\\FB\\fbclient.dll", "", "", " D:\\Data\\conf.fdb ", "D:\\Data\\conf.fdb"},
    };
    for (const auto& c : cases) {
        TkmConnection connection;
        prepareFbConnectionWithLibrary(connection, c.library, c.ip, c.port, c.path, "SYSDBA", "jelszó");
        Entries expected = fixedEntries(c.database, "SYSDBA", "jelszó");
        if (*c.library != '\0') expected.emplace_back("vendorLib", c.library);
        EXPECT_EQ(connection.params().entries(), expected) << c.library;
        EXPECT_FALSE(connection.connected());
    }
}

TEST(PrepareFbConnection, APreparedConnectionIsPreparedAfreshWithoutTheOldLibrary) {
    TkmConnection connection;
    prepareFbConnectionWithLibrary(connection, "C:\\FB\\fbclient.dll", "h", "1", "a.fdb", "u", "p");
    connection.params().set("Extra", "x");
    prepareFbConnectionWithLibrary(connection, "", "", "", "b.fdb", "v", "q");
    EXPECT_EQ(connection.params().entries(), fixedEntries("b.fdb", "v", "q"));
}

TEST(ConnectionParams, OverwritesAnEntryInItsPlaceAndAppendsNewOnes) {
    ConnectionParams params;
    params.set("DriverName", "Other");
    params.set("HostName", "x");
    params.set("drivername", "Firebird");  // names compare without case
    params.set("Empty", "");
    params.set("Trim Char", "a=b");
    EXPECT_EQ(params.entries(),
              (Entries{{"DriverName", "Firebird"}, {"HostName", "x"}, {"Empty", ""}, {"Trim Char", "a=b"}}));
    EXPECT_EQ(params.value("DRIVERNAME"), "Firebird");
    EXPECT_EQ(params.value("Empty"), "");
    EXPECT_EQ(params.value("vendorLib"), std::nullopt);
}

TEST(ConnectionParams, TextHasOneEntryPerLineEachEndedByCrLf) {
    ConnectionParams params;
    EXPECT_EQ(params.text(), "");
    params.set("Database", "127.0.0.1/3050:C:\\a.fdb");
    params.set("ErrorResourceFile", "");
    params.set("Password", "jó=szó");
    EXPECT_EQ(params.text(), "Database=127.0.0.1/3050:C:\\a.fdb\r\nErrorResourceFile=\r\nPassword=jó=szó\r\n");

    TkmConnection connection;
    prepareFbConnectionWithLibrary(connection, "", "127.0.0.1", "3050", "C:\\a.fdb", "SYSDBA", "pw");
    const std::string text = connection.params().text();
    EXPECT_EQ(text.substr(0, 45), "DriverName=Firebird\r\nGetDriverFunc=getSQLDriv");
    EXPECT_NE(text.find("\r\nErrorResourceFile=\r\nLocaleCode=0000\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\nTrim Char=False\r\n"));
}

TEST(PositionalParameters, TurnsNamedParametersIntoMarksInTheirOrder) {
    struct Case {
        const char *sql, *expected;
        std::vector<std::string> names;
    } cases[] = {
        {"INSERT INTO LOCKUSER (USERID, USERNAME, APPID) VALUES (:userid, :username, :appid);",
         "INSERT INTO LOCKUSER (USERID, USERNAME, APPID) VALUES (?, ?, ?);",
         {"userid", "username", "appid"}},
        {"DELETE FROM LOCK WHERE USERID=:userid;", "DELETE FROM LOCK WHERE USERID=?;", {"userid"}},
        {"SELECT ':no', \":nor\" FROM T WHERE A=:a_1$ -- :c\n AND B=:b /* :d */",
         "SELECT ':no', \":nor\" FROM T WHERE A=? -- :c\n AND B=? /* :d */",
         {"a_1$", "b"}},
        {"SELECT 'unclosed :x", "SELECT 'unclosed :x", {}},
        {"A = : b, c:", "A = : b, c:", {}},
    };
    for (const auto& c : cases) {
        const auto [text, names] = positionalParameters(c.sql);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(names, c.names) << c.sql;
    }
}

TEST(LockUserName, IsTheFirstEightCharactersOfTheComputerName) {
    EXPECT_EQ(lockUserName("KELMORA-SZERVER1"), "KELMORA-");
    EXPECT_EQ(lockUserName("ÁRVÍZTŰRŐGÉP"), "ÁRVÍZTŰR");
    EXPECT_EQ(lockUserName("KONYVEL8"), "KONYVEL8");
    EXPECT_EQ(lockUserName("vm"), "vm");
    EXPECT_EQ(lockUserName(""), "");
}
