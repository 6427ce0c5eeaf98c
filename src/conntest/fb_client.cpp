#include "conntest/fb_client.h"

#include <map>
#include <mutex>

#include "conntest/texts_conntest.h"
#include "core/text.h"
#include "platform/encoding.h"
#include "platform/shared_library.h"

namespace fbwb {

namespace {
template <typename Function>
void bind(Function& target, void* library, std::string_view libraryPath, const char* name) {
    try {
        target = reinterpret_cast<Function>(platform::sharedLibraryFunction(library, name));
    } catch (const platform::SharedLibraryError& error) {
        throw FbConnectError(fill(texts_conntest::kClientEntryMissing, {libraryPath, name, error.what()}));
    }
}

FbClient bindAll(std::string_view libraryPath) {
    void* library = nullptr;
    try {
        library = platform::loadSharedLibrary(libraryPath);
    } catch (const platform::SharedLibraryError& error) {
        throw FbConnectError(fill(texts_conntest::kClientLibraryNotLoaded, {libraryPath, error.what()}));
    }
    FbClient client{};
    bind(client.attachDatabase, library, libraryPath, "isc_attach_database");
    bind(client.detachDatabase, library, libraryPath, "isc_detach_database");
    bind(client.startMultiple, library, libraryPath, "isc_start_multiple");
    bind(client.commitTransaction, library, libraryPath, "isc_commit_transaction");
    bind(client.rollbackTransaction, library, libraryPath, "isc_rollback_transaction");
    bind(client.executeImmediate, library, libraryPath, "isc_dsql_execute_immediate");
    bind(client.allocateStatement, library, libraryPath, "isc_dsql_allocate_statement");
    bind(client.prepare, library, libraryPath, "isc_dsql_prepare");
    bind(client.execute, library, libraryPath, "isc_dsql_execute");
    bind(client.fetch, library, libraryPath, "isc_dsql_fetch");
    bind(client.freeStatement, library, libraryPath, "isc_dsql_free_statement");
    bind(client.interpret, library, libraryPath, "fb_interpret");
    return client;
}
}  // namespace

std::string_view defaultFbClientLibrary() {
#ifdef _WIN32
    return "fbclient.dll";
#else
    return "libfbclient.so.2";
#endif
}

const FbClient& loadFbClient(std::string_view libraryPath) {
    static std::mutex guard;
    static std::map<std::string, FbClient, std::less<>> clients;
    const std::lock_guard lock(guard);
    if (auto found = clients.find(libraryPath); found != clients.end()) return found->second;
    return clients.emplace(std::string(libraryPath), bindAll(libraryPath)).first->second;
}

std::string fbStatusText(const FbClient& client, const ISC_STATUS* status) {
    std::string text;
    char line[1024];
    const ISC_STATUS* next = status;
    while (client.interpret(line, sizeof line, &next) > 0) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return platform::fromSystemNarrow(text);
}

}  // namespace fbwb
