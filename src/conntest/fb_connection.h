#pragma once
// The connection helpers of the connection test and the conversion's tries, given the client library
// already chosen (an empty path: none was found, the default library applies).
#include <string>
#include <string_view>

#include "conntest/km_connection.h"

namespace fbwb {

// Fills the parameter list for a Firebird connection to the address of ip, port and path, in WIN1250,
// read committed; "vendorLib" only when a client library is given.
void prepareFbConnectionWithLibrary(TkmConnection& connection, std::string_view clientLibrary, std::string_view ip,
                                    std::string_view port, std::string_view databasePath, std::string_view userName,
                                    std::string_view password);

// Creates a connection, prepares it, hands back its parameter text before connecting, connects and
// releases it; true. A failure throws FbConnectError, after the release.
bool tryFbConnectionWithLibrary(std::string_view clientLibrary, std::string_view ip, std::string_view port,
                                std::string_view databasePath, std::string_view userName, std::string_view password,
                                std::string& parameterText);

}  // namespace fbwb
