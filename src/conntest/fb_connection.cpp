#include "conntest/fb_connection.h"

#include "env/server_paths.h"

namespace fbwb {

void prepareFbConnectionWithLibrary(TkmConnection& connection, std::string_view clientLibrary, std::string_view ip,
                                    std::string_view port, std::string_view databasePath, std::string_view userName,
                                    std::string_view password) {
    connection.initConnection(TkmDbDriver::KmDbFirebird, makeDbConnectionString(ip, port, databasePath), userName,
                              password, "WIN1250", TkmTrIsolation::KmTrReadCommitted);
    if (!clientLibrary.empty()) connection.params().set("vendorLib", clientLibrary);
}

bool tryFbConnectionWithLibrary(std::string_view clientLibrary, std::string_view ip, std::string_view port,
                                std::string_view databasePath, std::string_view userName, std::string_view password,
                                std::string& parameterText) {
    TkmConnection connection;
    prepareFbConnectionWithLibrary(connection, clientLibrary, ip, port, databasePath, userName, password);
    parameterText = connection.params().text();
    connection.connect();
    connection.release();
    return true;
}

}  // namespace fbwb
