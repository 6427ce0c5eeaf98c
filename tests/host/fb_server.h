#pragma once
// The private Firebird 3 server of the fb_server_host fixture, scratch folders and isql-fb for
// making and reading the tests' databases.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fbwb::test {

inline constexpr const char* kPassword = "qwdbadmin";

// The running fixture server's port; the test fails when there is none.
inline std::string serverPort() {
    const char* root = std::getenv("FBWB_FB_SERVER_ROOT");
    if (root == nullptr) {
        ADD_FAILURE() << "FBWB_FB_SERVER_ROOT is not set (the fb_server_host fixture sets it)";
        return "0";
    }
    std::ifstream file(std::filesystem::path(root) / "port");
    std::string port;
    file >> port;
    if (port.empty()) ADD_FAILURE() << "no server is running under " << root;
    return port;
}

class ScratchFolder {
public:
    ScratchFolder() {
        static std::atomic<unsigned> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("fbwb_fb_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs the script with isql-fb as SYSDBA (on the database when one is given, else the script makes
// its own); stdout and stderr together.
inline std::string runIsql(const std::string& script, const std::string& database = {}) {
    char name[] = "/tmp/fbwb_isql_XXXXXX";
    const int descriptor = mkstemp(name);
    if (descriptor < 0) return "mkstemp failed";
    close(descriptor);
    std::ofstream(name) << script << "\n";
    const std::string command = "isql-fb -q -user SYSDBA -password " + std::string(kPassword) + " -i '" + name + "' " +
                                (database.empty() ? "" : "'" + database + "'") + " 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t read = 0;
        while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, read);
        pclose(pipe);
    }
    std::remove(name);
    return output;
}

// An embedded CREATE DATABASE with the statements after it (committed); the test fails on any output.
inline void createDatabase(const std::string& path, const std::string& statements = {}) {
    const std::string output =
        runIsql("CREATE DATABASE '" + path + "' DEFAULT CHARACTER SET WIN1250;\n" + statements + "\nCOMMIT;");
    EXPECT_EQ(output, "") << "creating " << path;
}

// The query's rows, one per line, runs of blanks made one and trimmed, empty lines left out.
inline std::vector<std::string> queryValues(const std::string& database, const std::string& query) {
    std::istringstream output(runIsql("SET HEADING OFF;\n" + query + ";", database));
    std::vector<std::string> values;
    for (std::string line; std::getline(output, line);) {
        std::istringstream words(line);
        std::string row;
        for (std::string word; words >> word;) row += (row.empty() ? "" : " ") + word;
        if (!row.empty()) values.push_back(row);
    }
    return values;
}

}  // namespace fbwb::test
