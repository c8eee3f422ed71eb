// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "link/wire_protocol.h"

namespace qzm::sim {

namespace {

std::optional<int> parseInt(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseSpeed(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value) || value < 0) {
        return std::nullopt;
    }
    return value;
}

constexpr int kLastBlock = wire::kBlockCount - 1;

}  // namespace

std::string simHelpText() {
    return R"(Usage: qzm836-sim [OPTION]...
A QZM-836 radio on a pseudo-terminal.  Prints the path of the terminal (for example
/dev/pts/4) on the first line; point the programming tool at it with
    [ports]
    COM1=/dev/pts/4
in setting.ini.  Runs until interrupted (Ctrl+C) or until it hangs up.

Radio memory:
  --image FILE.836     answer from the image in this data file (4144 bytes: a 48-byte
                       header, then the 4096-byte image); default: a fresh radio
                       (erased memory with the factory settings, band 400-470 MHz)
  --save FILE.836      after every complete write (all 124 blocks), store the radio's
                       image in this data file (replaced atomically)

Line:
  --speed F            line speed as a multiple of 9600 baud 8N1 (10 bits a byte, in
                       both directions); 4 is four times faster, 0 means no line time
                       at all; default 1
  --answer-delay MS    wait this many milliseconds before every answer; default 0
  --link PATH          also make PATH a symbolic link to the terminal (replacing an
                       existing link), so setting.ini can name a fixed path
  --quiet              print only the terminal path, nothing about the session

Faults:
  --silent             answer nothing at all
  --ident-bytes N      send only N (0..8) of the 8 identification bytes
  --no-ident           send no identification (the same as --ident-bytes 0)
  --bad-address K      answer every read of block K (0..123) with a wrong address
  --bad-address-once K the same, only for the first read of block K
  --nak K              answer every write of block K with NAK (0x15) and keep nothing
  --nak-once K         the same, only for the first write of block K
  --corrupt K          keep every write of block K (0..123) wrongly (its first byte
                       inverted) but acknowledge it, as a bad cable or memory would
  --garbage N[@WHERE]  send N garbage bytes once, before the answer to WHERE:
                       "handshake" (default), "ident", or a block number 0..123
  --hang-up-after K    hang up the line once the tool has taken the answer to block K
                       (read or write), and end
  --no-ack-answer      do not answer the acknowledgements (0x06) that follow the
                       identification and each read block
  --help               show this text
  --version            show the version
)";
}

std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    SimOptions options;
    auto& config = options.config;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = option + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        auto number = [&](int low, int high) -> std::optional<int> {
            const auto text = value();
            if (!text) {
                return std::nullopt;
            }
            const auto parsed = parseInt(*text, low, high);
            if (!parsed) {
                error = option + " wants a number from " + std::to_string(low) + " to " +
                        std::to_string(high) + ", not \"" + *text + "\"";
            }
            return parsed;
        };
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--version") {
            options.version = true;
        } else if (option == "--image" || option == "--save" || option == "--link") {
            const auto path = value();
            if (!path) {
                return std::nullopt;
            }
            (option == "--image"  ? options.imagePath
             : option == "--save" ? config.savePath
                                  : options.linkPath) = *path;
        } else if (option == "--speed") {
            const auto text = value();
            if (!text) {
                return std::nullopt;
            }
            const auto speed = parseSpeed(*text);
            if (!speed) {
                error = "--speed wants a number of 0 or more, not \"" + *text + "\"";
                return std::nullopt;
            }
            config.lineSpeed = *speed;
        } else if (option == "--answer-delay") {
            const auto ms = number(0, 60000);
            if (!ms) {
                return std::nullopt;
            }
            config.answerDelayMs = *ms;
        } else if (option == "--quiet") {
            options.quiet = true;
        } else if (option == "--silent") {
            config.silent = true;
        } else if (option == "--ident-bytes") {
            const auto n = number(0, wire::kIdentLength);
            if (!n) {
                return std::nullopt;
            }
            config.identBytes = *n;
        } else if (option == "--no-ident") {
            config.identBytes = 0;
        } else if (option == "--bad-address" || option == "--bad-address-once") {
            const auto block = number(0, kLastBlock);
            if (!block) {
                return std::nullopt;
            }
            config.badAddressBlock = *block;
            config.badAddressOnce = option == "--bad-address-once";
        } else if (option == "--nak" || option == "--nak-once") {
            const auto block = number(0, kLastBlock);
            if (!block) {
                return std::nullopt;
            }
            config.nakBlock = *block;
            config.nakOnce = option == "--nak-once";
        } else if (option == "--corrupt") {
            const auto block = number(0, kLastBlock);
            if (!block) {
                return std::nullopt;
            }
            config.corruptBlock = *block;
        } else if (option == "--garbage") {
            const auto text = value();
            if (!text) {
                return std::nullopt;
            }
            const auto at = text->find('@');
            const auto count = parseInt(text->substr(0, at), 1, 4096);
            const std::string where = at == std::string::npos ? "handshake" : text->substr(at + 1);
            std::optional<int> step;
            if (where == "handshake") {
                step = kGarbageAtHandshake;
            } else if (where == "ident") {
                step = kGarbageAtIdent;
            } else {
                step = parseInt(where, 0, kLastBlock);
            }
            if (!count || !step) {
                error =
                    "--garbage wants N[@handshake|@ident|@BLOCK] with N from 1 to 4096 and "
                    "BLOCK from 0 to 123, not \"" +
                    *text + "\"";
                return std::nullopt;
            }
            config.garbageCount = *count;
            config.garbageAt = *step;
        } else if (option == "--hang-up-after") {
            const auto block = number(0, kLastBlock);
            if (!block) {
                return std::nullopt;
            }
            config.hangUpAfterBlock = *block;
        } else if (option == "--no-ack-answer") {
            config.answerAcks = false;
        } else {
            error = "unknown option \"" + option + "\" (see --help)";
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace qzm::sim
