#pragma once
// The connection helpers with the client library of a server folder.
#include <windows.h>

#include <string>
#include <string_view>

#include "conntest/fb_client.h"
#include "conntest/km_connection.h"

namespace fbwb {

// Fills the connection's parameter list: the 16 fixed entries and "vendorLib" = findFbClientLib(
// serverFolder) only when that path is not empty and the file exists.
void prepareFbConnection(TkmConnection& connection, std::string_view serverFolder, std::string_view ip,
                         std::string_view port, std::string_view databasePath, std::string_view userName,
                         std::string_view password);
// Creates, prepares, hands back the parameter text (one "name=value" per line, "\r\n" after each)
// BEFORE connecting, connects, releases; true. A failure throws FbConnectError (a std::runtime_error
// whose what() is the client's text, lines joined by "\n") after releasing.
bool tryFbConnection(HWND owner, std::string_view serverFolder, std::string_view ip, std::string_view port,
                     std::string_view databasePath, std::string_view userName, std::string_view password,
                     std::string& parameterText);

}  // namespace fbwb
