#include "core/text.h"
#include "env/fbconf.h"
#include "platform/fs.h"

namespace fbwb {

std::string readFbConfValue(std::string_view fileName, std::string_view key, std::string_view defaultValue) {
    const std::string name = trim(fileName);
    if (name.empty() || !platform::fileExists(name)) return std::string(defaultValue);
    const auto bytes = platform::readFileBytes(name);
    if (!bytes) return std::string(defaultValue);
    return readFbConfValueFromLines(parseConfText(*bytes).lines, key, defaultValue);
}

std::string readRemoteServicePort(std::string_view fileName) {
    return readFbConfValue(fileName, "RemoteServicePort", "3050");
}

}  // namespace fbwb
