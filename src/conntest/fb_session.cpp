#include "conntest/fb_session.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/text.h"
#include "platform/encoding.h"

namespace fbwb {

namespace {
constexpr unsigned short kDialect = 3;
// Enough output columns for the statements of this program; a wider row is refused.
constexpr short kOutputColumns = 10;

void check(const FbClient& client, const ISC_STATUS* status) {
    if (status[0] == 1 && status[1] != 0) throw FbConnectError(fbStatusText(client, status));
}

bool identifierChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

// A clumplet's length is one byte: a longer value is cut rather than breaking the block.
void appendItem(std::string& block, char item, std::string_view value) {
    value = value.substr(0, 255);
    block += item;
    block += static_cast<char>(value.size());
    block += value;
}

// The transaction's database and parameter block, laid out as the client reads it.
struct TransactionElement {
    isc_db_handle* database;
    int tpbLength;
    const char* tpb;
};

struct SqldaDeleter {
    void operator()(XSQLDA* sqlda) const { std::free(sqlda); }
};
using SqldaPointer = std::unique_ptr<XSQLDA, SqldaDeleter>;

SqldaPointer makeSqlda(short columns) {
    auto* sqlda = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(columns)));
    if (sqlda == nullptr) throw std::bad_alloc();
    sqlda->version = SQLDA_VERSION1;
    sqlda->sqln = columns;
    sqlda->sqld = columns;
    return SqldaPointer(sqlda);
}

// The data and null indicator of each variable of an sqlda.
class SqldaBuffers {
public:
    void attach(XSQLVAR& var, size_t size) {
        data_.push_back(std::make_unique<char[]>(size + 1));
        indicators_.push_back(std::make_unique<ISC_SHORT>(0));
        var.sqldata = data_.back().get();
        var.sqlind = indicators_.back().get();
    }

private:
    std::vector<std::unique_ptr<char[]>> data_;
    std::vector<std::unique_ptr<ISC_SHORT>> indicators_;
};

void bindInput(XSQLVAR& var, const FbValue& value, SqldaBuffers& buffers) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        var.sqltype = SQL_LONG + 1;
        var.sqllen = sizeof(std::int32_t);
        buffers.attach(var, sizeof(std::int32_t));
        std::memcpy(var.sqldata, number, sizeof *number);
    } else if (const auto* small = std::get_if<std::int16_t>(&value)) {
        var.sqltype = SQL_SHORT + 1;
        var.sqllen = sizeof(std::int16_t);
        buffers.attach(var, sizeof(std::int16_t));
        std::memcpy(var.sqldata, small, sizeof *small);
    } else {
        const std::string text = platform::toSystemNarrow(std::get<std::string>(value));
        const auto length = static_cast<ISC_USHORT>(text.size());
        var.sqltype = SQL_VARYING + 1;
        var.sqllen = static_cast<ISC_SHORT>(length);
        buffers.attach(var, sizeof length + length);
        std::memcpy(var.sqldata, &length, sizeof length);
        std::memcpy(var.sqldata + sizeof length, text.data(), length);
    }
}

const FbValue& namedValue(const FbNamedValues& values, std::string_view name) {
    for (const auto& [valueName, value] : values) {
        if (equalsNoCase(valueName, name)) return value;
    }
    throw std::logic_error("no value for the statement parameter :" + std::string(name));
}

// A prepared statement, dropped on every way out.
class Statement {
public:
    explicit Statement(FbDatabase& database) : client_(database.client()) {
        ISC_STATUS_ARRAY status{};
        client_.allocateStatement(status, database.handle(), &handle_);
        check(client_, status);
    }
    ~Statement() {
        ISC_STATUS_ARRAY status{};
        if (handle_ != 0) client_.freeStatement(status, &handle_, DSQL_drop);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    isc_stmt_handle* handle() { return &handle_; }

private:
    const FbClient& client_;
    isc_stmt_handle handle_ = 0;
};
}  // namespace

std::pair<std::string, std::vector<std::string>> positionalParameters(std::string_view sql) {
    std::string text;
    std::vector<std::string> names;
    for (size_t at = 0; at < sql.size();) {
        const char c = sql[at];
        size_t end = at + 1;
        if (c == '\'' || c == '"') {
            end = sql.find(c, at + 1);
            end = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (sql.substr(at, 2) == "--") {
            end = sql.find('\n', at);
            end = end == std::string_view::npos ? sql.size() : end;
        } else if (sql.substr(at, 2) == "/*") {
            end = sql.find("*/", at + 2);
            end = end == std::string_view::npos ? sql.size() : end + 2;
        } else if (c == ':' && at + 1 < sql.size() && identifierChar(sql[at + 1])) {
            while (end < sql.size() && identifierChar(sql[end])) ++end;
            names.emplace_back(sql.substr(at + 1, end - at - 1));
            text += '?';
            at = end;
            continue;
        }
        text.append(sql, at, end - at);
        at = end;
    }
    return {std::move(text), std::move(names)};
}

FbDatabase::FbDatabase(const FbClient& client, std::string_view address, std::string_view userName,
                       std::string_view password, std::string_view charSet)
    : client_(client) {
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    appendItem(dpb, isc_dpb_user_name, platform::toSystemNarrow(userName));
    appendItem(dpb, isc_dpb_password, platform::toSystemNarrow(password));
    appendItem(dpb, isc_dpb_lc_ctype, charSet);
    appendItem(dpb, isc_dpb_sql_dialect, std::string(1, static_cast<char>(kDialect)));
    const std::string name = platform::toSystemNarrow(address);
    ISC_STATUS_ARRAY status{};
    client_.attachDatabase(status, static_cast<short>(name.size()), name.c_str(), &handle_,
                           static_cast<short>(dpb.size()), dpb.data());
    if (status[0] == 1 && status[1] != 0) handle_ = 0;
    check(client_, status);
}

FbDatabase::~FbDatabase() {
    ISC_STATUS_ARRAY status{};
    if (handle_ != 0) client_.detachDatabase(status, &handle_);
}

FbTransaction::FbTransaction(FbDatabase& database) : database_(database) {
    static const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                               isc_tpb_nowait};
    TransactionElement element{database.handle(), static_cast<int>(sizeof tpb), tpb};
    ISC_STATUS_ARRAY status{};
    database_.client().startMultiple(status, &handle_, 1, &element);
    check(database_.client(), status);
}

FbTransaction::~FbTransaction() { rollback(); }

void FbTransaction::commit() {
    ISC_STATUS_ARRAY status{};
    database_.client().commitTransaction(status, &handle_);
    check(database_.client(), status);
}

void FbTransaction::rollback() noexcept {
    ISC_STATUS_ARRAY status{};
    if (handle_ != 0) database_.client().rollbackTransaction(status, &handle_);
}

void FbTransaction::executeImmediate(std::string_view sql) {
    const std::string text = platform::toSystemNarrow(sql);
    ISC_STATUS_ARRAY status{};
    database_.client().executeImmediate(status, database_.handle(), &handle_, 0, text.c_str(), kDialect, nullptr);
    check(database_.client(), status);
}

size_t FbTransaction::execute(std::string_view sql, const FbNamedValues& values) {
    const FbClient& client = database_.client();
    const auto [positional, names] = positionalParameters(sql);
    const std::string text = platform::toSystemNarrow(positional);
    Statement statement(database_);
    ISC_STATUS_ARRAY status{};
    SqldaPointer output = makeSqlda(kOutputColumns);
    client.prepare(status, &handle_, statement.handle(), 0, text.c_str(), kDialect, output.get());
    check(client, status);
    if (output->sqld > output->sqln) throw std::logic_error("too many result columns: " + std::string(sql));

    SqldaBuffers buffers;
    SqldaPointer input;
    if (!names.empty()) {
        input = makeSqlda(static_cast<short>(names.size()));
        for (size_t i = 0; i < names.size(); ++i) bindInput(input->sqlvar[i], namedValue(values, names[i]), buffers);
    }
    for (short i = 0; i < output->sqld; ++i) {
        XSQLVAR& var = output->sqlvar[i];
        const size_t prefix = (var.sqltype & ~1) == SQL_VARYING ? sizeof(ISC_USHORT) : 0;
        buffers.attach(var, prefix + static_cast<ISC_USHORT>(var.sqllen));
    }
    client.execute(status, &handle_, statement.handle(), SQLDA_VERSION1, input.get());
    check(client, status);
    if (output->sqld == 0) return 0;
    size_t rows = 0;
    while (true) {
        const ISC_STATUS result = client.fetch(status, statement.handle(), SQLDA_VERSION1, output.get());
        if (result == 100) break;
        if (result != 0) throw FbConnectError(fbStatusText(client, status));
        ++rows;
    }
    return rows;
}

}  // namespace fbwb
