#pragma once
// Shapes of batch lines, and the rule that keeps a value from breaking a line or injecting a
// command. cmd.exe expands "%" and (on Windows, not under Wine) doubles "^" on call lines even
// inside quotes, and a '"' ends the quoting, so values holding them are refused rather than
// written; blanks and & | < > ( ) are harmless inside quotes.
#include <optional>
#include <string>
#include <string_view>

namespace fbwb {

// enabled: `  >>  "path"`; otherwise empty.
std::string redirectSuffix(bool enabled, std::string_view path);
// call "tool" arguments
std::string callLine(std::string_view tool, std::string_view arguments);
// call "tool" arguments redirection (a trailing blank remains when redirection is empty)
std::string callLine(std::string_view tool, std::string_view arguments, std::string_view redirection);
// del "path"
std::string deleteLine(std::string_view path);
// move /y "from" "to"
std::string moveReplaceLine(std::string_view from, std::string_view to);
// `if exist "path" `, to be followed by the command that runs only when the file exists.
std::string ifExists(std::string_view path);

// The error line for a path, user name or password that cannot be written into a batch line
// (it holds % ^ " or a control character), naming the field and the value; nothing when it can.
std::optional<std::string> refuseBatchValue(std::string_view value, std::string_view fieldLabel);
// The same for a password: the line does not repeat the value.
std::optional<std::string> refuseBatchSecret(std::string_view value, std::string_view fieldLabel);

// A user name or password as it goes into an unquoted argument place: unchanged when ordinary,
// in double quotes when empty or holding a blank or & | < > ( ). Refused values must be caught
// with refuseBatchValue first.
std::string batchCredential(std::string_view value);

}  // namespace fbwb
