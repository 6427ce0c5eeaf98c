#include "conntest/fb_connection_win.h"

#include "conntest/fb_connection.h"
#include "env/server_discovery_win.h"
#include "platform/fs.h"

namespace fbwb {

namespace {
std::string serverClientLibrary(std::string_view serverFolder) {
    std::string library = findFbClientLib(serverFolder);
    return !library.empty() && platform::fileExists(library) ? library : std::string();
}
}  // namespace

void prepareFbConnection(TkmConnection& connection, std::string_view serverFolder, std::string_view ip,
                         std::string_view port, std::string_view databasePath, std::string_view userName,
                         std::string_view password) {
    prepareFbConnectionWithLibrary(connection, serverClientLibrary(serverFolder), ip, port, databasePath, userName,
                                   password);
}

// The connection lives only inside this call, so the owner window has nothing to own.
bool tryFbConnection(HWND /*owner*/, std::string_view serverFolder, std::string_view ip, std::string_view port,
                     std::string_view databasePath, std::string_view userName, std::string_view password,
                     std::string& parameterText) {
    return tryFbConnectionWithLibrary(serverClientLibrary(serverFolder), ip, port, databasePath, userName, password,
                                      parameterText);
}

}  // namespace fbwb
