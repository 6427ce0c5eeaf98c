// The client layer against the fixture's real Firebird 3 server, and embedded.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "conntest/fb_client.h"
#include "conntest/fb_connection.h"
#include "conntest/km_connection.h"
#include "conntest/texts_conntest.h"
#include "core/text.h"
#include "host/fb_server.h"
#include "platform/system.h"

using namespace fbwb;
using namespace fbwb::test;

namespace {
const std::string kLockTables = "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN ('LOCKUSER', 'LOCK')";

std::string tcpAddress(const std::string& path) { return "127.0.0.1/" + serverPort() + ":" + path; }

// Connection number offsets handed out in order, counted.
struct Numbers {
    std::vector<std::int32_t> offsets;
    size_t drawn = 0;
    TkmConnection::NumberSource source() {
        return [this] { return offsets[std::min(drawn++, offsets.size() - 1)]; };
    }
};

void prepareTcp(TkmConnection& connection, const std::string& path, const std::string& password = kPassword) {
    prepareFbConnectionWithLibrary(connection, "", "127.0.0.1", serverPort(), path, "SYSDBA", password);
}

// The message of the failed connection attempt, with the parameter text it handed back first.
std::string failureOf(const std::string& library, const std::string& ip, const std::string& port,
                      const std::string& path, const std::string& password, std::string* parameterText = nullptr) {
    std::string text;
    try {
        tryFbConnectionWithLibrary(library, ip, port, path, "SYSDBA", password, text);
    } catch (const FbConnectError& error) {
        if (parameterText != nullptr) *parameterText = text;
        return error.what();
    }
    ADD_FAILURE() << "connected to " << path;
    return {};
}

std::string unusedPort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return std::to_string(ntohs(address.sin_port));
}
}  // namespace

TEST(FbConnectionOnServer, ConnectsOverTcpAndLeavesTheLockTablesButNoRegistration) {
    ScratchFolder folder;
    const std::string path = folder / "ures.fdb";
    createDatabase(path);
    std::string parameterText;
    EXPECT_TRUE(tryFbConnectionWithLibrary("", "127.0.0.1", serverPort(), path, "SYSDBA", kPassword, parameterText));
    EXPECT_NE(parameterText.find("\r\nDatabase=" + tcpAddress(path) + "\r\n"), std::string::npos) << parameterText;
    EXPECT_EQ(parameterText.find("vendorLib"), std::string::npos);

    EXPECT_EQ(queryValues(tcpAddress(path), kLockTables), std::vector<std::string>{"2"});
    EXPECT_EQ(queryValues(tcpAddress(path), "SELECT COUNT(*) FROM LOCKUSER"), std::vector<std::string>{"0"});
    // The tables as created: APPID is a plain SMALLINT, LOCK's key is (TABLEID, ROWID).
    EXPECT_EQ(queryValues(tcpAddress(path),
                          "SELECT F.RDB$FIELD_TYPE FROM RDB$RELATION_FIELDS R JOIN RDB$FIELDS F ON "
                          "F.RDB$FIELD_NAME = R.RDB$FIELD_SOURCE WHERE R.RDB$RELATION_NAME = 'LOCKUSER' AND "
                          "R.RDB$FIELD_NAME = 'APPID'"),
              std::vector<std::string>{"7"});
    EXPECT_EQ(queryValues(tcpAddress(path),
                          "SELECT S.RDB$FIELD_NAME FROM RDB$RELATION_CONSTRAINTS C JOIN RDB$INDEX_SEGMENTS S ON "
                          "S.RDB$INDEX_NAME = C.RDB$INDEX_NAME WHERE C.RDB$RELATION_NAME = 'LOCK' AND "
                          "C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' ORDER BY S.RDB$FIELD_POSITION"),
              (std::vector<std::string>{"TABLEID", "ROWID"}));
}

TEST(FbConnectionOnServer, RegistersWhileConnectedAndRemovesOnlyItsOwnRowsOnRelease) {
    ScratchFolder folder;
    const std::string path = folder / "zarolas.fdb";
    createDatabase(path);
    {
        TkmConnection first;  // makes the lock tables
        prepareTcp(first, path);
        first.connect();
    }
    // A number that another connection holds is drawn again.
    runIsql("INSERT INTO LOCKUSER VALUES (20000005, 'masik', 3); INSERT INTO LOCK VALUES (1, 1, 20000005); COMMIT;",
            tcpAddress(path));
    Numbers numbers{{5, 5, 42}};
    TkmConnection connection(numbers.source());
    prepareTcp(connection, path);
    connection.connect();
    EXPECT_EQ(numbers.drawn, 3u);
    EXPECT_EQ(connection.connectionNumber(), 20000042);

    const std::string name = lockUserName(platform::computerName());
    EXPECT_EQ(queryValues(tcpAddress(path), "SELECT USERID, USERNAME, APPID FROM LOCKUSER ORDER BY USERID"),
              (std::vector<std::string>{"20000005 masik 3", "20000042 " + name + " 3"}));
    runIsql("INSERT INTO LOCK VALUES (1, 2, 20000042); INSERT INTO LOCK VALUES (2, 7, 20000042); COMMIT;",
            tcpAddress(path));

    connection.release();
    EXPECT_FALSE(connection.connected());
    EXPECT_EQ(connection.connectionNumber(), 0);
    EXPECT_EQ(queryValues(tcpAddress(path), "SELECT USERID FROM LOCKUSER"), std::vector<std::string>{"20000005"});
    EXPECT_EQ(queryValues(tcpAddress(path), "SELECT USERID FROM LOCK"), std::vector<std::string>{"20000005"});
}

TEST(FbConnectionOnServer, DrawsNumbersFromTheWholeRange) {
    ScratchFolder folder;
    const std::string path = folder / "szamok.fdb";
    createDatabase(path);
    for (int round = 0; round < 3; ++round) {
        TkmConnection connection;
        prepareTcp(connection, path);
        connection.connect();
        EXPECT_GE(connection.connectionNumber(), 20000000);
        EXPECT_LE(connection.connectionNumber(), 20000000 + 2127483646);
        EXPECT_EQ(queryValues(tcpAddress(path), "SELECT COUNT(*) FROM LOCKUSER"), std::vector<std::string>{"1"});
    }
}

TEST(FbConnectionOnServer, GivesUpRegisteringAfterTwentyRefusedInsertsAndStillConnects) {
    ScratchFolder folder;
    const std::string path = folder / "elutasit.fdb";
    // Another connection's row holds the number drawn last; every insert is refused and counted.
    createDatabase(path,
                   "CREATE TABLE LOCKUSER (USERID INTEGER NOT NULL, USERNAME VARCHAR (8), APPID SMALLINT, "
                   "PRIMARY KEY (USERID));\n"
                   "CREATE TABLE LOCK (TABLEID INTEGER NOT NULL, ROWID INTEGER NOT NULL, USERID INTEGER NOT NULL, "
                   "PRIMARY KEY (TABLEID, ROWID));\n"
                   "COMMIT;\n"
                   "INSERT INTO LOCKUSER VALUES (20000009, 'masik', 3);\nINSERT INTO LOCK VALUES (1, 1, 20000009);\n"
                   "CREATE EXCEPTION REFUSED 'refused';\nCREATE GENERATOR TRIES;\nSET TERM ^ ;\n"
                   "CREATE TRIGGER LOCKUSER_REFUSE FOR LOCKUSER BEFORE INSERT AS BEGIN "
                   "IF (GEN_ID(TRIES, 1) > 0) THEN EXCEPTION REFUSED; END^\nSET TERM ; ^");
    Numbers numbers{{9}};
    TkmConnection connection(numbers.source());
    prepareTcp(connection, path);
    connection.connect();
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(connection.connectionNumber(), 0);
    EXPECT_EQ(numbers.drawn, 20u);
    EXPECT_EQ(queryValues(tcpAddress(path), "SELECT GEN_ID(TRIES, 0) FROM RDB$DATABASE"),
              std::vector<std::string>{"20"});
    connection.release();
    // Unregistered, it deletes nothing: 20000009 is the other connection's.
    EXPECT_EQ(queryValues(tcpAddress(path), "SELECT USERID FROM LOCKUSER"), std::vector<std::string>{"20000009"});
    EXPECT_EQ(queryValues(tcpAddress(path), "SELECT USERID FROM LOCK"), std::vector<std::string>{"20000009"});
}

TEST(FbConnectionOnServer, ConnectsToAReadOnlyDatabaseWithoutTablesOrRegistration) {
    ScratchFolder folder;
    const std::string path = folder / "csakolvas.fdb";
    createDatabase(path);
    ASSERT_EQ(std::system(("gfix -mode read_only -user SYSDBA '" + path + "'").c_str()), 0);
    Numbers numbers{{1}};
    TkmConnection connection(numbers.source());
    prepareTcp(connection, path);
    connection.connect();
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(connection.connectionNumber(), 0);
    connection.release();
    EXPECT_EQ(queryValues(tcpAddress(path), kLockTables), std::vector<std::string>{"0"});
}

TEST(FbConnectionOnServer, AddsAMissingApplicationColumnAsThePathAndDomainAllow) {
    struct Case {
        const char* file;
        bool domain;
        const char* fieldSource;  // empty: the column is still missing
    } cases[] = {
        {"kozos.fdb", false, "RDB$"}, {"REGDB.fdb", false, "RDB$"},     {"KOZOS.fdb", false, ""},
        {"sajat.fdb", false, ""},     {"sajat.fdb", true, "DSMALLINT"}, {"kozos.fdb", true, "RDB$"},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        const std::string path = folder / c.file;
        createDatabase(path, std::string(c.domain ? "CREATE DOMAIN DSMALLINT AS SMALLINT;\n" : "") +
                                 "CREATE TABLE LOCKUSER (USERID INTEGER NOT NULL, USERNAME VARCHAR (8), "
                                 "PRIMARY KEY (USERID));");
        TkmConnection connection;
        prepareTcp(connection, path);
        connection.connect();
        const std::vector<std::string> source =
            queryValues(tcpAddress(path),
                        "SELECT RDB$FIELD_SOURCE FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='LOCKUSER' AND "
                        "RDB$FIELD_NAME='APPID'");
        const std::string expected = c.fieldSource;
        if (expected.empty()) {
            EXPECT_TRUE(source.empty()) << c.file << " " << c.domain;
            // Without the column the registration cannot succeed; the connection still stands.
            EXPECT_EQ(connection.connectionNumber(), 0) << c.file;
        } else {
            ASSERT_EQ(source.size(), 1u) << c.file << " " << c.domain;
            EXPECT_TRUE(startsWith(source[0], expected)) << c.file << " " << source[0];
            EXPECT_NE(connection.connectionNumber(), 0) << c.file;
        }
        EXPECT_EQ(queryValues(tcpAddress(path), kLockTables), std::vector<std::string>{"2"}) << c.file;
    }
}

TEST(FbConnectionOnServer, ReportsTheClientsTextOfAFailedAttachment) {
    ScratchFolder folder;
    const std::string path = folder / "van.fdb";
    createDatabase(path);
    const std::string missing = folder / "nincs.fdb";
    struct Case {
        std::string port, path, password, expected;
    } cases[] = {
        {serverPort(), path, "rossz",
         "Your user name and password are not defined. Ask your database administrator to set up a Firebird "
         "login."},
        {serverPort(), missing, kPassword,
         "I/O error during \"open\" operation for file \"" + missing +
             "\"\nError while trying to open file\nNo such file or directory"},
        {unusedPort(), path, kPassword,
         "Unable to complete network request to host \"127.0.0.1\".\nFailed to establish a connection."},
    };
    for (const auto& c : cases) {
        std::string parameterText;
        EXPECT_EQ(failureOf("", "127.0.0.1", c.port, c.path, c.password, &parameterText), c.expected);
        EXPECT_NE(parameterText.find("\r\nPassword=" + c.password + "\r\n"), std::string::npos);
    }
}

TEST(FbConnectionOnServer, NamesTheLibraryThatCannotServeAsTheClient) {
    ScratchFolder folder;
    const std::string path = folder / "van.fdb";
    createDatabase(path);
    const std::string absent = folder / "libfbclient.so.2";
    std::string parameterText;
    const std::string notLoaded = failureOf(absent, "127.0.0.1", serverPort(), path, kPassword, &parameterText);
    EXPECT_TRUE(startsWith(notLoaded, fill(texts_conntest::kClientLibraryNotLoaded, {absent, ""}))) << notLoaded;
    EXPECT_NE(notLoaded.find("No such file or directory"), std::string::npos) << notLoaded;
    EXPECT_TRUE(parameterText.ends_with("\r\nvendorLib=" + absent + "\r\n")) << parameterText;

    // A real library without the client's entry points, asked twice (it stays loaded).
    for (int round = 0; round < 2; ++round) {
        const std::string noEntry = failureOf("libz.so.1", "127.0.0.1", serverPort(), path, kPassword);
        EXPECT_TRUE(
            startsWith(noEntry, fill(texts_conntest::kClientEntryMissing, {"libz.so.1", "isc_attach_database", ""})))
            << noEntry;
        EXPECT_NE(noEntry.find("undefined symbol: isc_attach_database"), std::string::npos) << noEntry;
    }
    // The default library by its full path serves.
    std::string text;
    EXPECT_TRUE(tryFbConnectionWithLibrary("/usr/lib/x86_64-linux-gnu/libfbclient.so.2", "127.0.0.1", serverPort(),
                                           path, "SYSDBA", kPassword, text));
}

TEST(FbConnectionEmbedded, ConnectsByABarePathWithoutAServer) {
    ScratchFolder folder;
    const std::string path = folder / "beagyazott.fdb";
    createDatabase(path);
    std::string parameterText;
    EXPECT_TRUE(tryFbConnectionWithLibrary("", "", "", path, "SYSDBA", "barmi", parameterText));
    EXPECT_NE(parameterText.find("\r\nDatabase=" + path + "\r\n"), std::string::npos);
    EXPECT_EQ(queryValues(path, kLockTables), std::vector<std::string>{"2"});
    EXPECT_EQ(queryValues(path, "SELECT COUNT(*) FROM LOCKUSER"), std::vector<std::string>{"0"});
}
