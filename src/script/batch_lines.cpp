#include "script/batch_lines.h"

#include "core/text.h"
#include "script/texts.h"

namespace fbwb {

namespace {

bool hasControlCharacter(std::string_view value) {
    for (char c : value) {
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7F') return true;
    }
    return false;
}

bool hasUnwritableCharacter(std::string_view value) { return value.find_first_of("%^\"") != std::string_view::npos; }

std::optional<std::string> refusal(std::string_view value, std::string_view fieldLabel, bool secret) {
    using namespace texts_script;
    if (hasControlCharacter(value)) return fill(kBatchControlCharRefused, {fieldLabel});
    if (!hasUnwritableCharacter(value)) return std::nullopt;
    return secret ? fill(kBatchSecretRefused, {fieldLabel}) : fill(kBatchValueRefused, {fieldLabel, value});
}

}  // namespace

std::string redirectSuffix(bool enabled, std::string_view path) {
    return enabled ? fill(texts_script::kRedirectAppend, {path}) : std::string();
}

std::string callLine(std::string_view tool, std::string_view arguments) {
    return fill(texts_script::kCallLine, {tool, arguments});
}

std::string callLine(std::string_view tool, std::string_view arguments, std::string_view redirection) {
    return fill(texts_script::kCallRedirectLine, {tool, arguments, redirection});
}

std::string deleteLine(std::string_view path) { return fill(texts_script::kDeleteLine, {path}); }

std::string moveReplaceLine(std::string_view from, std::string_view to) {
    return fill(texts_script::kMoveReplaceLine, {from, to});
}

std::string ifExists(std::string_view path) { return fill(texts_script::kIfExistsPrefix, {path}); }

std::optional<std::string> refuseBatchValue(std::string_view value, std::string_view fieldLabel) {
    return refusal(value, fieldLabel, false);
}

std::optional<std::string> refuseBatchSecret(std::string_view value, std::string_view fieldLabel) {
    return refusal(value, fieldLabel, true);
}

std::string batchCredential(std::string_view value) {
    const bool quote = value.empty() || value.find_first_of(" &|<>()") != std::string_view::npos;
    return quote ? "\"" + std::string(value) + "\"" : std::string(value);
}

}  // namespace fbwb
