#pragma once
// A connection's parameter list: ordered "name=value" entries, as the data-access layer keeps them.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fbwb {

enum class TkmDbDriver { KmDbFirebird };
enum class TkmTrIsolation { KmTrReadCommitted };

class ConnectionParams {
public:
    // Overwrites the entry of that name in its place (names compare with ASCII case ignored), else
    // appends one.
    void set(std::string_view name, std::string_view value);
    std::optional<std::string> value(std::string_view name) const;
    void clear() { entries_.clear(); }
    const std::vector<std::pair<std::string, std::string>>& entries() const { return entries_; }
    // Each entry as "name=value" followed by CR LF.
    std::string text() const;

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// The isolation's name in the parameter list ("ReadCommitted").
std::string_view isolationName(TkmTrIsolation isolation);

// Writes the driver's fixed entries, in their order, over what the list holds: for Firebird the
// driver, its library and entry, the database address, user, password, character set, isolation,
// dialect 3 and the driver's defaults.
void writeDriverParams(ConnectionParams& params, TkmDbDriver driver, std::string_view databaseFile,
                       std::string_view userName, std::string_view password, std::string_view charSet,
                       TkmTrIsolation isolation);

}  // namespace fbwb
