#pragma once
// One attachment to a Firebird database and its transactions, over the client library's entry points.
// Every failure throws FbConnectError with the client's text.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "conntest/fb_client.h"

namespace fbwb {

// A statement parameter's value: SQL_LONG, SQL_SHORT or SQL_VARYING (text in UTF-8).
using FbValue = std::variant<std::int32_t, std::int16_t, std::string>;
using FbNamedValues = std::vector<std::pair<std::string, FbValue>>;

// The statement with each ":name" parameter outside quotes and comments turned into "?", and the names
// in their order.
std::pair<std::string, std::vector<std::string>> positionalParameters(std::string_view sql);

class FbDatabase {
public:
    // Attaches with user, password, character set and SQL dialect 3; the texts go to the client in
    // the system's narrow encoding.
    FbDatabase(const FbClient& client, std::string_view address, std::string_view userName, std::string_view password,
               std::string_view charSet);
    ~FbDatabase();  // detaches, errors ignored
    FbDatabase(const FbDatabase&) = delete;
    FbDatabase& operator=(const FbDatabase&) = delete;

    const FbClient& client() const { return client_; }
    isc_db_handle* handle() { return &handle_; }

private:
    const FbClient& client_;
    isc_db_handle handle_ = 0;
};

// A read-committed, record-version, no-wait write transaction, rolled back unless committed.
class FbTransaction {
public:
    explicit FbTransaction(FbDatabase& database);
    ~FbTransaction();
    FbTransaction(const FbTransaction&) = delete;
    FbTransaction& operator=(const FbTransaction&) = delete;

    void commit();
    void rollback() noexcept;  // errors ignored

    // DDL and other statements without parameters or rows.
    void executeImmediate(std::string_view sql);
    // Runs the statement with its ":name" parameters bound from the values (names compared with
    // ASCII case ignored); a query's rows are fetched and counted.
    size_t execute(std::string_view sql, const FbNamedValues& values = {});

private:
    FbDatabase& database_;
    isc_tr_handle handle_ = 0;
};

}  // namespace fbwb
