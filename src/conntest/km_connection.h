#pragma once
// The data-access connection: opens a Firebird database from its parameter list, makes sure the
// database holds the lock tables LOCKUSER and LOCK, registers itself in LOCKUSER and removes that
// registration again on release.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "conntest/connection_params.h"

namespace fbwb {

class FbDatabase;

// The name a connection registers under: the first 8 characters of the computer's name.
std::string lockUserName(std::string_view computerName);

class TkmConnection {
public:
    // The random part of a connection number, from 0 up to but excluding 2127483647.
    using NumberSource = std::function<std::int32_t()>;

    TkmConnection();  // numbers from a generator seeded from the clock
    explicit TkmConnection(NumberSource numbers);
    ~TkmConnection();
    TkmConnection(const TkmConnection&) = delete;
    TkmConnection& operator=(const TkmConnection&) = delete;

    // Closes the connection, clears the parameter list and writes the driver's entries into it.
    void initConnection(TkmDbDriver driver, std::string_view databaseFile, std::string_view userName,
                        std::string_view password, std::string_view charSet, TkmTrIsolation isolation);
    ConnectionParams& params() { return params_; }
    const ConnectionParams& params() const { return params_; }

    // Attaches through the client library ("vendorLib", else the default one), then sees to the lock
    // tables and registers the connection; only the attachment's failure throws (FbConnectError).
    void connect();
    // Removes the registration and detaches; errors are ignored.
    void release() noexcept;
    bool connected() const { return database_ != nullptr; }
    // The registered number; 0 while the connection is not registered.
    std::int32_t connectionNumber() const { return number_; }

private:
    void ensureLockTables();
    void registerConnection();

    ConnectionParams params_;
    NumberSource numbers_;
    std::unique_ptr<FbDatabase> database_;
    std::int32_t number_ = 0;
};

}  // namespace fbwb
