#pragma once
// Shapes of batch lines, and the rule that keeps a value from breaking a line or injecting a
// command. cmd.exe expands "%" and (on Windows, not under Wine) doubles "^" on call lines even
// inside quotes, and a '"' ends the quoting, so values holding them are refused rather than
// written; blanks and & | < > ( ) are harmless inside quotes. A character that the batch file's
// code page lacks would reach the tool as a look-alike or a '?' (another file, another password),
// so it is refused too.
#include <functional>
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

// Whether the batch file's code page holds a (non-ASCII) character exactly: no look-alike, no
// default character. The Windows-bound side gives the real one (batchFileCharacters()).
using HoldsCharacter = std::function<bool(char32_t)>;

// The error line for a path, user name or password that cannot be written into a batch line
// (it holds % ^ " or a control character, a character the code page lacks, or is not UTF-8),
// naming the field and the value; nothing when it can.
std::optional<std::string> refuseBatchValue(std::string_view value, std::string_view fieldLabel,
                                            const HoldsCharacter& holds);
// The same for a password: the line repeats neither the value nor its character.
std::optional<std::string> refuseBatchSecret(std::string_view value, std::string_view fieldLabel,
                                             const HoldsCharacter& holds);

// What goes between the double quotes of a tool's argument: the value with its trailing
// backslashes doubled. The tools split their command line by the C runtime's rule, in which 2n
// backslashes before a quote are n backslashes and the quote still closes, so "a\" reaches the
// tool as a\ while "a" would swallow the quote and the rest of the line.
std::string quotedArgumentText(std::string_view value);

// A user name or password as it goes into an unquoted argument place: unchanged when ordinary,
// in double quotes (quotedArgumentText) when empty or holding a blank or & | < > ( ). Refused
// values must be caught with refuseBatchValue first.
std::string batchCredential(std::string_view value);

}  // namespace fbwb
