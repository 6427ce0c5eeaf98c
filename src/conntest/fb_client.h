#pragma once
// The Firebird client library (fbclient): the entry points this program calls, loaded at run time
// from the library a server folder provides, and the texts of its failures.
#include <ibase.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace fbwb {

// A failed connection: what() is the client's text (lines joined by "\n") or ours about the library.
class FbConnectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FbClient {
    decltype(&isc_attach_database) attachDatabase;
    decltype(&isc_detach_database) detachDatabase;
    decltype(&isc_start_multiple) startMultiple;
    decltype(&isc_commit_transaction) commitTransaction;
    decltype(&isc_rollback_transaction) rollbackTransaction;
    decltype(&isc_dsql_execute_immediate) executeImmediate;
    decltype(&isc_dsql_allocate_statement) allocateStatement;
    decltype(&isc_dsql_prepare) prepare;
    decltype(&isc_dsql_execute) execute;
    decltype(&isc_dsql_fetch) fetch;
    decltype(&isc_dsql_free_statement) freeStatement;
    decltype(&fb_interpret) interpret;
};

// The client library's name when no server folder provides one: the system's search finds it.
std::string_view defaultFbClientLibrary();

// The entry points of the library at the path, loaded once per path for the rest of the process.
// Throws FbConnectError naming the library (and the entry point) with the system's text.
const FbClient& loadFbClient(std::string_view libraryPath);

// The text of a failed call's status vector: the client's lines joined by "\n", in UTF-8.
std::string fbStatusText(const FbClient& client, const ISC_STATUS* status);

}  // namespace fbwb
