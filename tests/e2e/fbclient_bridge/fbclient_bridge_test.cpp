// The machine's fbclient.dll (tests/fixtures/fbclient_bridge.cpp), called directly as a client
// library is: loaded from a server folder of the machine, attached to the real Firebird server of
// the fb_server fixture over TCP and to databases by bare path (embedded), with the client's texts
// for refusals, statements through both XSQLDAs, and no attachment left by a process that ends
// without detaching. Strings go in and come out in the ANSI code page (1250 here).
#include <gtest/gtest.h>
#include <windows.h>
#include <winsock2.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "e2e/machine.h"
#include "ibase.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "win/temp_folder.h"

using namespace fbwb;
using namespace fbwb::test;

namespace {

const char kPassword[] = "qwdbadmin";
const char kHoldSwitch[] = "--hold-attachment";

// The client's entry points, taken from a DLL as a client layer takes them.
struct Client {
    HMODULE module = nullptr;
    decltype(&isc_attach_database) attach = nullptr;
    decltype(&isc_detach_database) detach = nullptr;
    decltype(&isc_start_multiple) startMultiple = nullptr;
    decltype(&isc_commit_transaction) commit = nullptr;
    decltype(&isc_rollback_transaction) rollback = nullptr;
    decltype(&isc_dsql_execute_immediate) executeImmediate = nullptr;
    decltype(&isc_dsql_allocate_statement) allocateStatement = nullptr;
    decltype(&isc_dsql_prepare) prepare = nullptr;
    decltype(&isc_dsql_execute) execute = nullptr;
    decltype(&isc_dsql_fetch) fetch = nullptr;
    decltype(&isc_dsql_free_statement) freeStatement = nullptr;
    decltype(&fb_interpret) interpret = nullptr;

    // Loads the DLL; the entries that are missing stay null.
    explicit Client(const std::string& path) : module(LoadLibraryW(platform::widen(path).c_str())) {
        if (module == nullptr) return;
        load(attach, "isc_attach_database");
        load(detach, "isc_detach_database");
        load(startMultiple, "isc_start_multiple");
        load(commit, "isc_commit_transaction");
        load(rollback, "isc_rollback_transaction");
        load(executeImmediate, "isc_dsql_execute_immediate");
        load(allocateStatement, "isc_dsql_allocate_statement");
        load(prepare, "isc_dsql_prepare");
        load(execute, "isc_dsql_execute");
        load(fetch, "isc_dsql_fetch");
        load(freeStatement, "isc_dsql_free_statement");
        load(interpret, "fb_interpret");
    }
    bool complete() const {
        return attach && detach && startMultiple && commit && rollback && executeImmediate && allocateStatement &&
               prepare && execute && fetch && freeStatement && interpret;
    }

private:
    template <typename Function>
    void load(Function& function, const char* name) {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

std::string serverFolder(const char* name) { return environment("FBWB_MACHINE_ROOT") + "\\Firebird\\" + name; }

Client& client() {
    static Client instance(serverFolder("Firebird_3_0") + "\\fbclient.dll");
    return instance;
}

std::string ansi(std::string_view utf8) { return platform::toCodePage(utf8, platform::ansiCodePage()); }
std::string utf8(std::string_view ansiText) { return platform::fromCodePage(ansiText, platform::ansiCodePage()); }

// fb_interpret's lines, joined with "\n", in UTF-8.
std::string errorText(const ISC_STATUS* status) {
    std::string text;
    char buffer[512];
    const ISC_STATUS* vector = status;
    while (client().interpret(buffer, sizeof buffer, &vector) > 0) {
        if (!text.empty()) text += "\n";
        text += buffer;
    }
    return utf8(text);
}

bool failed(const ISC_STATUS* status) { return status[0] == 1 && status[1] != 0; }

int serverPort() {
    const auto bytes = platform::readFileBytes("C:\\fbwb-fixture\\fb-server\\port");
    return bytes ? std::atoi(std::string(bytes->begin(), bytes->end()).c_str()) : 0;
}

std::string overTcp(const std::string& path, int port = serverPort()) {
    return "127.0.0.1/" + std::to_string(port) + ":" + path;
}

std::string dpb(const std::string& user, const std::string& password) {
    std::string block(1, static_cast<char>(isc_dpb_version1));
    const auto add = [&](int tag, const std::string& value) {
        block += static_cast<char>(tag);
        block += static_cast<char>(value.size());
        block += value;
    };
    add(isc_dpb_user_name, user);
    add(isc_dpb_password, password);
    add(isc_dpb_lc_ctype, "WIN1250");
    add(isc_dpb_sql_dialect, std::string(1, '\3'));
    return block;
}

// A database copy of the test's own, so that the server's lock on it disturbs no other test.
struct Database {
    TempFolder folder;
    std::string path = folder / "kelmora.fdb";
    Database() { copyFile("C:\\fbwb-fixture\\template.fdb", path); }
};

// One attachment and its transactions; the test fails at the first failed call.
class Session {
public:
    explicit Session(const std::string& utf8Name, const std::string& password = kPassword) {
        const std::string name = ansi(utf8Name);
        const std::string parameters = dpb("SYSDBA", password);
        client().attach(status_, 0, name.c_str(), &database_, static_cast<short>(parameters.size()), parameters.data());
        check("attach");
    }
    ~Session() {
        if (transaction_ != 0) client().rollback(status_, &transaction_);
        if (database_ != 0) client().detach(status_, &database_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    isc_db_handle& database() { return database_; }
    isc_tr_handle& transaction() {
        if (transaction_ == 0) start();
        return transaction_;
    }
    ISC_STATUS* status() { return status_; }

    void start() {
        static const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                                   isc_tpb_nowait};
        struct {
            isc_db_handle* database;
            int length;
            const char* tpb;
        } element{&database_, sizeof tpb, tpb};
        client().startMultiple(status_, &transaction_, 1, &element);
        check("start");
    }
    void commit() {
        client().commit(status_, &transaction_);
        check("commit");
    }
    void rollback() {
        client().rollback(status_, &transaction_);
        check("rollback");
    }
    void executeImmediate(const std::string& sql) {
        client().executeImmediate(status_, &database_, &transaction(), 0, sql.c_str(), 3, nullptr);
        check(sql);
    }
    void check(const std::string& what) { ASSERT_FALSE(failed(status_)) << what << ": " << errorText(status_); }

private:
    ISC_STATUS_ARRAY status_ = {};
    isc_db_handle database_ = 0;
    isc_tr_handle transaction_ = 0;
};

// An output or input XSQLDA with room for `count` variables and a buffer behind each.
class Sqlda {
public:
    explicit Sqlda(short count) : bytes_(XSQLDA_LENGTH(count)), buffers_(static_cast<size_t>(count)) {
        get()->version = SQLDA_VERSION1;
        get()->sqln = count;
        indicators_.resize(static_cast<size_t>(count));
    }
    XSQLDA* get() { return reinterpret_cast<XSQLDA*>(bytes_.data()); }
    XSQLVAR& var(int i) { return get()->sqlvar[i]; }

    // Buffers for what prepare described, as a client sets them.
    void bindDescribed() {
        for (int i = 0; i < get()->sqld; ++i) bind(i, var(i).sqltype, var(i).sqllen);
    }
    void bind(int i, short type, short length) {
        XSQLVAR& v = var(i);
        v.sqltype = type;
        v.sqllen = length;
        buffers_[i].assign(static_cast<size_t>(length) + 2, '\0');
        v.sqldata = buffers_[i].data();
        v.sqlind = &indicators_[i];
    }
    void setLong(int i, ISC_LONG value) { std::memcpy(var(i).sqldata, &value, sizeof value); }
    void setVarying(int i, const std::string& bytes) {
        const auto length = static_cast<ISC_USHORT>(bytes.size());
        std::memcpy(var(i).sqldata, &length, sizeof length);
        std::memcpy(var(i).sqldata + 2, bytes.data(), bytes.size());
    }
    void setNull(int i, bool isNull) { indicators_[i] = isNull ? -1 : 0; }
    bool isNull(int i) const { return indicators_[i] < 0; }
    int64_t integerAt(int i) {
        switch (var(i).sqltype & ~1) {
            case SQL_SHORT: {
                ISC_SHORT value = 0;
                std::memcpy(&value, var(i).sqldata, sizeof value);
                return value;
            }
            case SQL_INT64: {
                ISC_INT64 value = 0;
                std::memcpy(&value, var(i).sqldata, sizeof value);
                return value;
            }
            default: {
                ISC_LONG value = 0;
                std::memcpy(&value, var(i).sqldata, sizeof value);
                return value;
            }
        }
    }
    std::string varyingAt(int i) {
        ISC_USHORT length = 0;
        std::memcpy(&length, var(i).sqldata, sizeof length);
        return std::string(var(i).sqldata + 2, length);
    }

private:
    std::vector<char> bytes_;
    std::vector<std::string> buffers_;
    std::vector<short> indicators_;
};

// Prepares, runs and fetches a statement; rows as "ID|NEV" lines (NEV in UTF-8, "<null>" for null).
std::vector<std::string> selectRows(Session& session, const std::string& sql) {
    isc_stmt_handle statement = 0;
    client().allocateStatement(session.status(), &session.database(), &statement);
    session.check("allocate");
    Sqlda output(10);
    client().prepare(session.status(), &session.transaction(), &statement, 0, sql.c_str(), 3, output.get());
    session.check("prepare " + sql);
    output.bindDescribed();
    client().execute(session.status(), &session.transaction(), &statement, 3, nullptr);
    session.check("execute " + sql);
    std::vector<std::string> rows;
    ISC_STATUS fetched = 0;
    while ((fetched = client().fetch(session.status(), &statement, 3, output.get())) == 0) {
        std::string row = std::to_string(output.integerAt(0));
        if (output.get()->sqld > 1) row += "|" + (output.isNull(1) ? "<null>" : utf8(output.varyingAt(1)));
        rows.push_back(row);
    }
    EXPECT_EQ(fetched, 100) << errorText(session.status());
    client().freeStatement(session.status(), &statement, DSQL_drop);
    session.check("free");
    EXPECT_EQ(statement, 0u);
    return rows;
}

int otherAttachments(Session& session) {
    const auto rows = selectRows(session,
                                 "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION "
                                 "AND MON$SYSTEM_FLAG = 0");
    // The monitoring snapshot lasts as long as its transaction.
    session.commit();
    return rows.size() == 1 ? std::stoi(rows[0]) : -1;
}

// A port where nothing listens: bound, never listening, held until the test ends.
class ClosedPort {
public:
    ClosedPort() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int size = sizeof address;
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
    }
    ~ClosedPort() { closesocket(socket_); }
    int port() const { return port_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    int port_ = 0;
};

class FbClientBridge : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(client().complete()) << "no client bridge in " << serverFolder("Firebird_3_0");
        ASSERT_GT(serverPort(), 0) << "no fb_server fixture (C:\\fbwb-fixture\\fb-server\\port)";
    }
};

TEST(FbClientBridgeMachine, EveryServerFolderHoldsTheBridgeWhereTheClientLibraryBelongs) {
    const std::string programFiles = "C:\\Program Files\\Firebird\\";
    for (const std::string& path :
         {serverFolder("Firebird_2_5") + "\\bin\\fbclient.dll", serverFolder("Firebird_3_0") + "\\fbclient.dll",
          programFiles + "Firebird_2_5_9\\bin\\fbclient.dll", programFiles + "Firebird_3_0_11\\fbclient.dll"}) {
        const Client loaded(path);
        EXPECT_TRUE(loaded.complete()) << path;
    }
}

TEST_F(FbClientBridge, AttachesOverTcpAndDetaches) {
    Database database;
    ISC_STATUS_ARRAY status = {};
    isc_db_handle handle = 0;
    const std::string name = ansi(overTcp(database.path));
    const std::string parameters = dpb("SYSDBA", kPassword);
    client().attach(status, static_cast<short>(name.size()), name.data(), &handle,
                    static_cast<short>(parameters.size()), parameters.data());
    ASSERT_FALSE(failed(status)) << errorText(status);
    EXPECT_NE(handle, 0u);
    client().detach(status, &handle);
    EXPECT_FALSE(failed(status)) << errorText(status);
    EXPECT_EQ(handle, 0u);
}

TEST_F(FbClientBridge, RefusedAttachmentsCarryTheClientsTexts) {
    Database database;
    TempFolder elsewhere;
    const std::string missing = elsewhere / "Árvíztűrő Kft\\nincs.fdb";
    const ClosedPort closed;
    struct Case {
        std::string name;
        std::string password;
        std::string text;
    };
    const Case cases[] = {
        {overTcp(database.path), "rossz",
         "Your user name and password are not defined. Ask your database administrator to set up a Firebird "
         "login."},
        {overTcp(missing), kPassword,
         "I/O error during \"open\" operation for file \"" + missing +
             "\"\nError while trying to open file\nNo such file or directory"},
        {missing, kPassword,
         "I/O error during \"open\" operation for file \"" + missing +
             "\"\nError while trying to open file\nNo such file or directory"},
        {overTcp(database.path, closed.port()), kPassword,
         "Unable to complete network request to host \"127.0.0.1\".\nFailed to establish a connection."},
    };
    for (const Case& c : cases) {
        ISC_STATUS_ARRAY status = {};
        isc_db_handle handle = 0;
        const std::string name = ansi(c.name);
        const std::string parameters = dpb("SYSDBA", c.password);
        const ISC_STATUS result =
            client().attach(status, 0, name.c_str(), &handle, static_cast<short>(parameters.size()), parameters.data());
        EXPECT_TRUE(failed(status)) << c.name;
        EXPECT_EQ(result, status[1]) << c.name;
        EXPECT_EQ(handle, 0u) << c.name;
        EXPECT_EQ(errorText(status), c.text) << c.name;
    }
}

TEST_F(FbClientBridge, AnErrorStaysReadableAfterLaterFailures) {
    ISC_STATUS_ARRAY first = {};
    ISC_STATUS_ARRAY second = {};
    isc_db_handle unknown = 4242;
    client().detach(first, &unknown);
    client().commit(second, &unknown);
    EXPECT_EQ(first[1], isc_bad_db_handle);
    EXPECT_EQ(second[1], isc_bad_trans_handle);
    EXPECT_EQ(errorText(first), "invalid database handle (no active connection)");
    EXPECT_EQ(unknown, 4242u);
}

TEST_F(FbClientBridge, EmbeddedAttachmentByBarePathTakesAnyPassword) {
    Database database;
    Session session(database.path, "barmi");
    EXPECT_EQ(selectRows(session, "SELECT ID, NEV FROM CEGEK"), std::vector<std::string>{"1|Minta Kft"});
}

TEST_F(FbClientBridge, PreparedSelectDescribesItsColumnsAndFetchesUntil100) {
    Database database;
    Session session(overTcp(database.path));
    isc_stmt_handle statement = 0;
    client().allocateStatement(session.status(), &session.database(), &statement);
    session.check("allocate");
    Sqlda output(10);
    const char sql[] = "SELECT ID, NEV AS CEGNEV FROM CEGEK";
    client().prepare(session.status(), &session.transaction(), &statement, 0, sql, 3, output.get());
    session.check("prepare");
    ASSERT_EQ(output.get()->sqld, 2);
    EXPECT_EQ(output.var(0).sqltype, SQL_LONG);
    EXPECT_EQ(output.var(1).sqltype, SQL_VARYING | 1);
    EXPECT_EQ(output.var(1).sqllen, 60);
    EXPECT_EQ(std::string(output.var(0).sqlname, output.var(0).sqlname_length), "ID");
    EXPECT_EQ(std::string(output.var(1).sqlname), "NEV");
    EXPECT_EQ(std::string(output.var(1).aliasname), "CEGNEV");
    EXPECT_EQ(std::string(output.var(1).relname), "CEGEK");
    session.executeImmediate("INSERT INTO CEGEK (ID) VALUES (2)");
    output.bindDescribed();
    client().execute(session.status(), &session.transaction(), &statement, 3, nullptr);
    session.check("execute");
    EXPECT_EQ(client().fetch(session.status(), &statement, 3, output.get()), 0);
    EXPECT_EQ(output.integerAt(0), 1);
    EXPECT_EQ(output.varyingAt(1), "Minta Kft");
    EXPECT_FALSE(output.isNull(1));
    EXPECT_EQ(client().fetch(session.status(), &statement, 3, output.get()), 0);
    EXPECT_EQ(output.integerAt(0), 2);
    EXPECT_TRUE(output.isNull(1));
    EXPECT_EQ(client().fetch(session.status(), &statement, 3, output.get()), 100);
    EXPECT_FALSE(failed(session.status()));
    client().freeStatement(session.status(), &statement, DSQL_drop);
    session.check("free");
    EXPECT_EQ(statement, 0u);
}

TEST_F(FbClientBridge, InsertTakesItsValuesFromTheInputSqldaInTheAttachmentsCharacterSet) {
    Database database;
    Session session(overTcp(database.path));
    isc_stmt_handle statement = 0;
    client().allocateStatement(session.status(), &session.database(), &statement);
    const char sql[] = "INSERT INTO CEGEK (ID, NEV) VALUES (?, ?)";
    client().prepare(session.status(), &session.transaction(), &statement, 0, sql, 3, nullptr);
    session.check("prepare");
    Sqlda input(2);
    input.get()->sqld = 2;
    input.bind(0, SQL_LONG, 4);
    input.bind(1, SQL_VARYING | 1, 60);
    const std::vector<std::pair<int, std::string>> rows = {{7, "Árvíztűrő Tükörfúrógép Kft"}, {8, ""}};
    for (const auto& [id, name] : rows) {
        input.setLong(0, id);
        input.setVarying(1, ansi(name));
        input.setNull(1, name.empty());
        client().execute(session.status(), &session.transaction(), &statement, 3, input.get());
        session.check("insert " + std::to_string(id));
    }
    client().freeStatement(session.status(), &statement, DSQL_drop);
    session.commit();
    // Inside the database the name is WIN1250 text: the server reads it back in UTF8 as well.
    EXPECT_EQ(selectRows(session, "SELECT ID, NEV FROM CEGEK WHERE ID > 1 ORDER BY ID"),
              (std::vector<std::string>{"7|Árvíztűrő Tükörfúrógép Kft", "8|<null>"}));
    EXPECT_EQ(selectRows(session,
                         "SELECT OCTET_LENGTH(CAST(NEV AS VARCHAR(60) CHARACTER SET UTF8)) FROM CEGEK "
                         "WHERE ID = 7"),
              std::vector<std::string>{"35"});
}

TEST_F(FbClientBridge, DdlRunsThroughExecuteImmediateAndRollbackUndoesWork) {
    Database database;
    Session session(overTcp(database.path));
    session.executeImmediate("CREATE TABLE PROBA (X INTEGER)");
    session.commit();
    session.executeImmediate("INSERT INTO PROBA VALUES (5)");
    session.rollback();
    session.executeImmediate("INSERT INTO PROBA VALUES (6)");
    session.commit();
    EXPECT_EQ(selectRows(session, "SELECT X FROM PROBA"), std::vector<std::string>{"6"});

    client().executeImmediate(session.status(), &session.database(), &session.transaction(), 0,
                              "CREATE TABLE CEGEK (ID INTEGER)", 3, nullptr);
    EXPECT_TRUE(failed(session.status()));
    const std::string text = errorText(session.status());
    EXPECT_EQ(text.substr(0, text.find('\n')), "unsuccessful metadata update") << text;
    EXPECT_NE(text.find("CEGEK"), std::string::npos) << text;
}

TEST_F(FbClientBridge, AProcessEndingWithoutDetachLeavesNoAttachmentOrWork) {
    Database database;
    const std::string events = "fbwb_bridge_" + std::to_string(GetCurrentProcessId());
    const HANDLE attached = CreateEventW(nullptr, TRUE, FALSE, platform::widen(events + "_attached").c_str());
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, platform::widen(events + "_release").c_str());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + platform::widen(kHoldSwitch) + L" \"" +
                               platform::widen(overTcp(database.path)) + L"\" " + platform::widen(events);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    const HANDLE waits[] = {attached, child.hProcess};
    ASSERT_EQ(WaitForMultipleObjects(2, waits, FALSE, 60000), WAIT_OBJECT_0) << "the child did not attach";

    Session session(overTcp(database.path));
    EXPECT_EQ(otherAttachments(session), 1);
    SetEvent(release);
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);

    // The runner ends the session when it sees the connection close, a moment after the exit.
    int others = -1;
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
         (others = otherAttachments(session)) != 0 && std::chrono::steady_clock::now() < deadline;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(others, 0);
    EXPECT_EQ(selectRows(session, "SELECT ID FROM CEGEK ORDER BY ID"), std::vector<std::string>{"1"});
    for (const HANDLE handle : {child.hProcess, child.hThread, attached, release}) CloseHandle(handle);
}

// The child of the test above: attaches, inserts a row without committing, tells the parent and
// ends without detaching once the parent says so.
int holdAttachment(const std::string& name, const std::string& events) {
    ISC_STATUS_ARRAY status = {};
    isc_db_handle database = 0;
    isc_tr_handle transaction = 0;
    const std::string parameters = dpb("SYSDBA", kPassword);
    client().attach(status, 0, ansi(name).c_str(), &database, static_cast<short>(parameters.size()), parameters.data());
    if (failed(status)) return 2;
    static const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_concurrency, isc_tpb_nowait};
    struct {
        isc_db_handle* database;
        int length;
        const char* tpb;
    } element{&database, sizeof tpb, tpb};
    client().startMultiple(status, &transaction, 1, &element);
    if (failed(status)) return 3;
    client().executeImmediate(status, &database, &transaction, 0,
                              "INSERT INTO CEGEK (ID, NEV) VALUES (99, 'Elhagyott')", 3, nullptr);
    if (failed(status)) return 4;
    const HANDLE attached = OpenEventW(EVENT_MODIFY_STATE, FALSE, platform::widen(events + "_attached").c_str());
    const HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, platform::widen(events + "_release").c_str());
    if (attached == nullptr || release == nullptr) return 5;
    SetEvent(attached);
    WaitForSingleObject(release, 60000);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == kHoldSwitch) return holdAttachment(utf8(argv[2]), argv[3]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
