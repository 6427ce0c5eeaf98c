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

// The first character that the code page does not hold (as UTF-8; U+FFFD for bytes that are not
// UTF-8); nothing when it holds them all.
std::optional<std::string> missingCharacter(std::string_view value, const HoldsCharacter& holds) {
    for (size_t at = 0; at < value.size();) {
        char32_t codePoint = 0;
        const size_t length = decodeUtf8(value, at, codePoint);
        if (length == 0) return std::string(texts_script::kReplacementCharacter);
        if (codePoint >= 0x80 && !holds(codePoint)) return std::string(value.substr(at, length));
        at += length;
    }
    return std::nullopt;
}

std::optional<std::string> refusal(std::string_view value, std::string_view fieldLabel, bool secret,
                                   const HoldsCharacter& holds) {
    using namespace texts_script;
    if (hasControlCharacter(value)) return fill(kBatchControlCharRefused, {fieldLabel});
    if (hasUnwritableCharacter(value))
        return secret ? fill(kBatchSecretRefused, {fieldLabel}) : fill(kBatchValueRefused, {fieldLabel, value});
    if (const auto missing = missingCharacter(value, holds))
        return secret ? fill(kBatchSecretNotInCodePage, {fieldLabel})
                      : fill(kBatchValueNotInCodePage, {fieldLabel, *missing, value});
    return std::nullopt;
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

std::optional<std::string> refuseBatchValue(std::string_view value, std::string_view fieldLabel,
                                            const HoldsCharacter& holds) {
    return refusal(value, fieldLabel, false, holds);
}

std::optional<std::string> refuseBatchSecret(std::string_view value, std::string_view fieldLabel,
                                             const HoldsCharacter& holds) {
    return refusal(value, fieldLabel, true, holds);
}

std::string quotedArgumentText(std::string_view value) {
    const size_t kept = value.find_last_not_of('\\') + 1;  // npos + 1 == 0: all backslashes
    return std::string(value) + std::string(value.size() - kept, '\\');
}

std::string batchCredential(std::string_view value) {
    const bool quote = value.empty() || value.find_first_of(" &|<>()") != std::string_view::npos;
    return quote ? "\"" + quotedArgumentText(value) + "\"" : std::string(value);
}

}  // namespace fbwb
