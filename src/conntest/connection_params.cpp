#include "conntest/connection_params.h"

#include <algorithm>

#include "core/text.h"

namespace fbwb {

void ConnectionParams::set(std::string_view name, std::string_view value) {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const auto& entry) { return equalsNoCase(entry.first, name); });
    if (found != entries_.end()) {
        found->second = value;
    } else {
        entries_.emplace_back(name, value);
    }
}

std::optional<std::string> ConnectionParams::value(std::string_view name) const {
    for (const auto& [entryName, entryValue] : entries_) {
        if (equalsNoCase(entryName, name)) return entryValue;
    }
    return std::nullopt;
}

std::string ConnectionParams::text() const {
    std::string text;
    for (const auto& [name, value] : entries_) text.append(name).append("=").append(value).append("\r\n");
    return text;
}

std::string_view isolationName(TkmTrIsolation isolation) {
    switch (isolation) {
        case TkmTrIsolation::KmTrReadCommitted:
            return "ReadCommitted";
    }
    return "ReadCommitted";
}

void writeDriverParams(ConnectionParams& params, TkmDbDriver driver, std::string_view databaseFile,
                       std::string_view userName, std::string_view password, std::string_view charSet,
                       TkmTrIsolation isolation) {
    switch (driver) {
        case TkmDbDriver::KmDbFirebird:
            params.set("DriverName", "Firebird");
            params.set("GetDriverFunc", "getSQLDriverINTERBASE");
            params.set("LibraryName", "dbxfb.dll");
            params.set("Database", databaseFile);
            params.set("User_Name", userName);
            params.set("Password", password);
            params.set("ServerCharSet", charSet);
            params.set("IsolationLevel", isolationName(isolation));
            params.set("RoleName", "RoleName");
            params.set("SQLDialect", "3");
            params.set("ErrorResourceFile", "");
            params.set("LocaleCode", "0000");
            params.set("BlobSize", "-1");
            params.set("CommitRetain", "False");
            params.set("WaitOnLocks", "False");
            params.set("Trim Char", "False");
            break;
    }
}

}  // namespace fbwb
