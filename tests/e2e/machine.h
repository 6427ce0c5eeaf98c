#pragma once
// What the end-to-end tests share about the test machine: its environment and copying its files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/encoding.h"
#include "platform/fs.h"

namespace fbwb::test {

// An environment variable of the machine (tests/harness/wine-run.sh sets FBWB_MACHINE_ROOT and
// FBWB_DATA_FOLDER), as UTF-8; empty when unset.
inline std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? platform::fromCodePage(value, platform::ansiCodePage()) : std::string();
}

// Copies a file byte for byte; the test fails when the source cannot be read.
inline void copyFile(const std::string& from, const std::string& to) {
    const auto bytes = platform::readFileBytes(from);
    ASSERT_TRUE(bytes) << from;
    platform::writeFileBytes(to, *bytes);
}

}  // namespace fbwb::test
