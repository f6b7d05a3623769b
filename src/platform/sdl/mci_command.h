// SPDX-License-Identifier: MIT
// Reading the media-control command texts the game sends for its music ("open ...", "play ...").
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kanuvo {

enum class MciVerb { Open, Play, Stop, Close };

struct MciCommand {
    MciVerb verb = MciVerb::Open;
    std::string alias;                // the name later commands use; for open without alias, the path
    std::string path;                 // open only: the file, quotes removed
    std::string type;                 // open only: the device type, lower case, empty when not given
};

// Results of a command, as mciSendStringA returns them.
constexpr int kMciOk = 0;
constexpr int kMciUnknownCommand = 261;   // not one of the commands above, or a malformed one
constexpr int kMciUnknownAlias = 263;     // no tune is open under that name
constexpr int kMciNoFile = 275;           // the file cannot be read or is no MIDI
constexpr int kMciAliasInUse = 289;       // open under a name that is already open
constexpr int kMciNoDevice = 296;         // no audio device: sound is off

// The command in a text, or nothing when it is not one of the commands above with its
// arguments. Keywords are case-insensitive, blanks around words do not matter, a path may be
// quoted ("C:\My Game\sound\Shellshk.mid") or a single word. A quoted path may hold quotes of
// its own; where that leaves more than one reading, the first that `prefer` accepts is taken (the
// one naming a file that is there), else the first. Every play starts a tune from its beginning,
// so "play" takes "from 0" and no other position.
std::optional<MciCommand> ParseMciCommand(std::string_view text,
                                          const std::function<bool(const MciCommand&)>& prefer = {});

// Aliases and keywords compare without regard to case (ASCII).
std::string LowerAscii(std::string_view text);

// The file a path names here: the game writes its folder with backslashes, which on a system
// with forward slashes are turned into slashes when the path as written does not exist.
std::string NativePath(std::string_view path);

}  // namespace kanuvo
