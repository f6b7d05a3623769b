// SPDX-License-Identifier: MIT
// Reading media-control commands: words, quoted paths, and the few keywords the game uses.
#include "mci_command.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

namespace kanuvo {
namespace {

using Words = std::vector<std::string>;
using WordsTaker = std::function<bool(const Words&)>;

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Hands every reading of text[i..] as words, after `words`, to `take` until it accepts one. Words
// are separated by blanks; a double-quoted stretch is one word without its quotes. A quote may itself
// stand inside a quoted path (a folder may be named so), so a quoted word may end at any quote that
// is followed by a blank or the end, and each such end is tried in turn. `budget` bounds the steps.
bool ForEachReading(std::string_view text, std::size_t i, Words& words, int& budget, const WordsTaker& take) {
    if (--budget < 0) return false;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return take(words);
    if (text[i] != '"') {
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        const std::string_view word = text.substr(i, end - i);
        if (word.find('"') != std::string_view::npos) return false;  // a stray quote: not this reading
        words.emplace_back(word);
        const bool taken = ForEachReading(text, end, words, budget, take);
        words.pop_back();
        return taken;
    }
    for (std::size_t close = text.find('"', i + 1); close != std::string_view::npos;
         close = text.find('"', close + 1)) {
        if (close + 1 < text.size() && !IsBlank(text[close + 1])) continue;
        words.emplace_back(text.substr(i + 1, close - i - 1));
        const bool taken = ForEachReading(text, close + 1, words, budget, take);
        words.pop_back();
        if (taken) return true;
    }
    return false;
}

}  // namespace

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

namespace {

std::optional<MciCommand> CommandOf(const Words& w) {
    if (w.size() < 2) return std::nullopt;
    const std::string verb = LowerAscii(w[0]);
    MciCommand cmd;
    if (verb == "open") {
        cmd.verb = MciVerb::Open;
        cmd.path = w[1];
        cmd.alias = w[1];
        for (std::size_t i = 2; i < w.size(); i += 2) {
            if (i + 1 >= w.size()) return std::nullopt;
            const std::string key = LowerAscii(w[i]);
            if (key == "type") {
                cmd.type = LowerAscii(w[i + 1]);
            } else if (key == "alias") {
                cmd.alias = w[i + 1];
            } else {
                return std::nullopt;
            }
        }
        if (cmd.path.empty() || cmd.alias.empty()) return std::nullopt;
        return cmd;
    }
    if (verb == "play") {
        cmd.verb = MciVerb::Play;
        cmd.alias = w[1];
        const bool fromStart = w.size() == 4 && LowerAscii(w[2]) == "from" && w[3] == "0";
        if (w.size() != 2 && !fromStart) return std::nullopt;
        return cmd;
    }
    if (verb == "stop" || verb == "close") {
        if (w.size() != 2) return std::nullopt;
        cmd.verb = verb == "stop" ? MciVerb::Stop : MciVerb::Close;
        cmd.alias = w[1];
        return cmd;
    }
    return std::nullopt;
}

}  // namespace

std::optional<MciCommand> ParseMciCommand(std::string_view text, const std::function<bool(const MciCommand&)>& prefer) {
    // Far more steps than reading a path with a few quotes in its folder names takes.
    constexpr int kMaxSteps = 4096;
    int budget = kMaxSteps;
    std::optional<MciCommand> first;
    std::optional<MciCommand> preferred;
    Words words;
    ForEachReading(text, 0, words, budget, [&](const Words& w) {
        auto cmd = CommandOf(w);
        if (!cmd) return false;
        if (!first) first = cmd;
        if (prefer && !prefer(*cmd)) return false;
        preferred = std::move(cmd);
        return true;
    });
    return preferred ? preferred : first;
}

std::string NativePath(std::string_view path) {
    std::string written(path);
    std::error_code ec;
    if (written.find('\\') == std::string::npos || std::filesystem::exists(written, ec)) return written;
    std::replace(written.begin(), written.end(), '\\', '/');
    return written;
}

}  // namespace kanuvo
