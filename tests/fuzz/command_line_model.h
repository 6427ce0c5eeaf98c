#pragma once
// How a batch line reaches a program, modelled for the property checks: cmd.exe's reading of the
// line (only as far as the written lines need it), then the C runtime's split of the program's
// command line into arguments.
//
// cmd: every '"' toggles quoting; outside quotes & | ( ) would split or group commands and < >
// redirect; "%errorlevel%" is the only expansion a line may hold; '^' (an escape outside quotes,
// doubled inside them on call lines) and control characters never belong in a line.
//
// C runtime (the rules of the Microsoft runtimes since Visual C++ 2008, msvcr90 to the universal
// CRT, which the Firebird tools link): the program name runs to the first blank or tab outside
// quotes, its quotes only toggle quoting and backslashes are literal. Then blanks and tabs outside
// quotes separate arguments; 2n backslashes before '"' give n backslashes and the quote toggles
// quoting; 2n+1 backslashes before '"' give n backslashes and a literal '"'; other backslashes are
// literal; inside quotes "" gives a literal '"' and quoting goes on (the pre-2008 runtimes ended it).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb::model {

struct Redirection {
    int handle = 1;
    std::string op;      // ">", ">>" or "<"
    std::string target;  // the file without its quotes, or "&1" for a handle
    bool operator==(const Redirection&) const = default;
};

struct CmdLine {
    std::string command;  // the line without its redirections
    std::vector<Redirection> redirections;
    std::string fault;  // why cmd would not run the line as written; empty when it would
};

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool equalsNoCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

inline CmdLine readCmdLine(std::string_view line) {
    CmdLine result;
    for (size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c < ' ' || c == 0x7F) return {{}, {}, "control character"};
        if (c == '^') return {{}, {}, "caret"};
        if (c == '%') {
            const size_t close = line.find('%', i + 1);
            if (close == std::string_view::npos || !equalsNoCaseAscii(line.substr(i + 1, close - i - 1), "errorlevel"))
                return {{}, {}, "percent sign outside %errorlevel%"};
            i = close;
        }
    }

    bool quoted = false;
    std::string& text = result.command;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
            text += c;
            continue;
        }
        if (quoted) {
            text += c;
            continue;
        }
        if (c == '&' || c == '|' || c == '(' || c == ')') return {{}, {}, std::string("unquoted ") + c};
        if (c != '<' && c != '>') {
            text += c;
            continue;
        }
        Redirection r;
        r.handle = c == '<' ? 0 : 1;
        // A single digit right before the operator, after a blank, names the handle.
        if (!text.empty() && text.back() >= '0' && text.back() <= '9' &&
            (text.size() == 1 || isBlank(text[text.size() - 2]))) {
            r.handle = text.back() - '0';
            text.pop_back();
        }
        r.op = c;
        if (c == '>' && i + 1 < line.size() && line[i + 1] == '>') {
            r.op = ">>";
            ++i;
        }
        if (i + 2 < line.size() && line[i + 1] == '&' && line[i + 2] >= '0' && line[i + 2] <= '9') {
            r.target = std::string("&") + line[i + 2];
            i += 2;
            result.redirections.push_back(r);
            continue;
        }
        ++i;
        while (i < line.size() && isBlank(line[i])) ++i;
        bool targetQuoted = false;
        for (; i < line.size(); ++i) {
            const char t = line[i];
            if (t == '"') {
                targetQuoted = !targetQuoted;
                continue;
            }
            if (!targetQuoted && (isBlank(t) || std::string_view("<>&|()").find(t) != std::string_view::npos)) break;
            r.target += t;
        }
        if (targetQuoted) return {{}, {}, "unclosed quote in a redirection"};
        if (r.target.empty()) return {{}, {}, "redirection without a target"};
        result.redirections.push_back(r);
        --i;
    }
    if (quoted) return {{}, {}, "unclosed quote"};
    return result;
}

// The words of an internal command (del, move, if exist): cmd separates them at blanks, tabs and
// , ; = outside quotes, and drops the quotes.
inline std::vector<std::string> cmdWords(std::string_view command) {
    std::vector<std::string> words;
    bool quoted = false;
    bool inWord = false;
    for (const char c : command) {
        if (c == '"') {
            quoted = !quoted;
            if (!inWord) words.emplace_back();
            inWord = true;
            continue;
        }
        if (!quoted && (isBlank(c) || c == ',' || c == ';' || c == '=')) {
            inWord = false;
            continue;
        }
        if (!inWord) words.emplace_back();
        inWord = true;
        words.back() += c;
    }
    return words;
}

// argv as the C runtime builds it from a program's command line.
inline std::vector<std::string> runtimeArgv(std::string_view commandLine) {
    std::vector<std::string> argv;
    size_t i = 0;
    // The program name.
    {
        std::string name;
        bool quoted = false;
        for (; i < commandLine.size(); ++i) {
            const char c = commandLine[i];
            if (c == '"') {
                quoted = !quoted;
                continue;
            }
            if (!quoted && isBlank(c)) break;
            name += c;
        }
        argv.push_back(name);
    }
    for (;;) {
        while (i < commandLine.size() && isBlank(commandLine[i])) ++i;
        if (i >= commandLine.size()) break;
        std::string arg;
        bool quoted = false;
        while (i < commandLine.size()) {
            const char c = commandLine[i];
            if (!quoted && isBlank(c)) break;
            if (c == '\\') {
                size_t backslashes = 0;
                while (i < commandLine.size() && commandLine[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < commandLine.size() && commandLine[i] == '"') {
                    arg.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(backslashes, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += c;
            ++i;
        }
        argv.push_back(arg);
    }
    return argv;
}

// A `call "program" arguments` line's program command line (after "call" and its blanks); nothing
// for another command.
inline std::optional<std::string> callCommandLine(std::string_view command) {
    size_t i = 0;
    while (i < command.size() && isBlank(command[i])) ++i;
    if (command.size() - i < 5 || !equalsNoCaseAscii(command.substr(i, 4), "call") || !isBlank(command[i + 4]))
        return std::nullopt;
    i += 4;
    while (i < command.size() && isBlank(command[i])) ++i;
    return std::string(command.substr(i));
}

}  // namespace fbwb::model
