// Reading media-control commands: words, quoted paths, and the few keywords the game uses.
#include "mci_command.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kanuvo {
namespace {

// Words separated by blanks; a double-quoted stretch is one word without its quotes. An
// unterminated quote makes the text unreadable.
std::optional<std::vector<std::string>> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i == text.size()) return words;
        std::string word;
        if (text[i] == '"') {
            const auto close = text.find('"', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            word = std::string(text.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) word += text[i++];
        }
        words.push_back(word);
    }
}

}  // namespace

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::optional<MciCommand> ParseMciCommand(std::string_view text) {
    const auto words = SplitWords(text);
    if (!words || words->size() < 2) return std::nullopt;
    const auto& w = *words;
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

std::string NativePath(std::string_view path) {
    std::string written(path);
    std::error_code ec;
    if (written.find('\\') == std::string::npos || std::filesystem::exists(written, ec)) return written;
    std::replace(written.begin(), written.end(), '\\', '/');
    return written;
}

}  // namespace kanuvo
