// SPDX-License-Identifier: GPL-3.0-or-later
#include "RelayOptions.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace kelo {

namespace {

// A whole decimal number within [nLow, nHigh].
std::optional<uint64_t> ReadNumber(std::string_view text, uint64_t nLow, uint64_t nHigh) {
    uint64_t nValue = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), nValue);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || nValue < nLow ||
        nValue > nHigh)
        return std::nullopt;
    return nValue;
}

// Seconds with up to three decimals ("5", "2.5", "0.125"), as milliseconds.
std::optional<uint64_t> ReadSeconds(std::string_view text) {
    const size_t nDot = text.find('.');
    const std::string_view whole = text.substr(0, nDot);
    const auto nWhole = ReadNumber(whole, 0, 86400 * 365);
    if (!nWhole)
        return std::nullopt;
    uint64_t nMs = *nWhole * 1000;
    if (nDot != std::string_view::npos) {
        std::string_view fraction = text.substr(nDot + 1);
        if (fraction.empty() || fraction.size() > 3)
            return std::nullopt;
        std::string padded(fraction);
        padded.resize(3, '0');
        const auto nFraction = ReadNumber(padded, 0, 999);
        if (!nFraction)
            return std::nullopt;
        nMs += *nFraction;
    }
    return nMs;
}

std::optional<RelayEndpoint> ReadEndpoint(std::string_view text, bool bPortZero) {
    const size_t nColon = text.rfind(':');
    if (nColon == std::string_view::npos || nColon == 0)
        return std::nullopt;
    const auto nPort = ReadNumber(text.substr(nColon + 1), bPortZero ? 0 : 1, 65535);
    if (!nPort)
        return std::nullopt;
    return RelayEndpoint{std::string(text.substr(0, nColon)), static_cast<uint16_t>(*nPort)};
}

constexpr uint64_t kMaxDelayMs = 600000;
constexpr uint64_t kMaxPiece = 1 << 20;

} // namespace

std::string RelayUsage() {
    return "usage: kelo-relay --listen HOST:PORT --server HOST:PORT [--delay MS] [--jitter MS]\n"
           "                  [--pieces N|N..M] [--stall AT_S:FOR_S]... [--cut AT_S]...\n"
           "                  [--seed N] [--verbose]\n"
           "A bad link between table clients and a game server: every connection accepted on\n"
           "--listen is joined to a connection of its own to --server, and the bytes of each\n"
           "direction go through late, in pieces, never out of order.\n"
           "  --listen HOST:PORT   where clients connect; port 0 picks a free one. The relay\n"
           "                       prints \"relay listening HOST:PORT\" once it listens\n"
           "  --server HOST:PORT   the game server\n"
           "  --delay MS           each piece is held MS milliseconds (0)\n"
           "  --jitter MS          plus or minus up to MS milliseconds, drawn for each piece (0);\n"
           "                       a piece never overtakes an earlier one of its direction\n"
           "  --pieces N|N..M      every read is cut into pieces of N to M bytes, each written\n"
           "                       on its own (without it, reads are passed on whole)\n"
           "  --stall AT_S:FOR_S   at AT_S seconds nothing goes through in either direction for\n"
           "                       FOR_S seconds; what arrives meanwhile is held, in order\n"
           "  --cut AT_S           at AT_S seconds every open connection is closed on both\n"
           "                       sides and what it held is dropped; later connections go\n"
           "                       through as before\n"
           "                       (--stall and --cut may be repeated; their seconds, with up to\n"
           "                       three decimals, count from the first connection)\n"
           "  --seed N             the jitter and the pieces are drawn from N, so a run can be\n"
           "                       repeated (without it, from the time; the seed is logged)\n"
           "  --verbose            log every piece\n"
           "What the relay does is logged on standard error.\n";
}

RelayOptionsResult ParseRelayOptions(const std::vector<std::string>& args) {
    RelayOptionsResult result;
    RelayOptions& options = result.options;
    bool bListen = false;
    bool bServer = false;
    for (size_t n = 0; n < args.size(); ++n) {
        std::string name = args[n];
        std::optional<std::string> value;
        if (const size_t nEquals = name.find('=');
            name.rfind("--", 0) == 0 && nEquals != std::string::npos) {
            value = name.substr(nEquals + 1);
            name.resize(nEquals);
        }
        if (name == "--help" || name == "-h") {
            options.bHelp = true;
            continue;
        }
        if (name == "--verbose") {
            options.bVerbose = true;
            continue;
        }
        const bool bKnown = name == "--listen" || name == "--server" || name == "--delay" ||
                            name == "--jitter" || name == "--pieces" || name == "--stall" ||
                            name == "--cut" || name == "--seed";
        if (!bKnown) {
            result.strError = "unknown option " + args[n] + " (kelo-relay --help lists them)";
            return result;
        }
        if (!value) {
            if (n + 1 >= args.size()) {
                result.strError = name + " needs a value";
                return result;
            }
            value = args[++n];
        }
        const auto bad = [&](const std::string& what) {
            result.strError = "bad " + name + " " + *value + ": " + what;
        };
        if (name == "--listen" || name == "--server") {
            const auto endpoint = ReadEndpoint(*value, name == "--listen");
            if (!endpoint) {
                bad(name == "--listen" ? "expected HOST:PORT, the port 0 to 65535"
                                       : "expected HOST:PORT, the port 1 to 65535");
                return result;
            }
            (name == "--listen" ? options.listen : options.server) = *endpoint;
            (name == "--listen" ? bListen : bServer) = true;
        } else if (name == "--delay" || name == "--jitter") {
            const auto nMs = ReadNumber(*value, 0, kMaxDelayMs);
            if (!nMs) {
                bad("expected milliseconds, 0 to 600000");
                return result;
            }
            (name == "--delay" ? options.plan.nDelayMs : options.plan.nJitterMs) =
                static_cast<uint32_t>(*nMs);
        } else if (name == "--pieces") {
            const std::string_view text = *value;
            const size_t nDots = text.find("..");
            const auto nMin = ReadNumber(text.substr(0, nDots), 1, kMaxPiece);
            const auto nMax = nDots == std::string_view::npos
                                  ? nMin
                                  : ReadNumber(text.substr(nDots + 2), 1, kMaxPiece);
            if (!nMin || !nMax || *nMin > *nMax) {
                bad("expected N or N..M bytes, 1 <= N <= M <= 1048576");
                return result;
            }
            options.plan.nPieceMin = static_cast<uint32_t>(*nMin);
            options.plan.nPieceMax = static_cast<uint32_t>(*nMax);
        } else if (name == "--stall") {
            const std::string_view text = *value;
            const size_t nColon = text.find(':');
            const auto nAt = ReadSeconds(text.substr(0, nColon));
            const auto nFor = nColon == std::string_view::npos
                                  ? std::nullopt
                                  : ReadSeconds(text.substr(nColon + 1));
            if (!nAt || !nFor || *nFor == 0) {
                bad("expected AT_S:FOR_S, seconds, FOR_S above 0");
                return result;
            }
            options.plan.stalls.push_back({*nAt, *nFor});
        } else if (name == "--cut") {
            const auto nAt = ReadSeconds(*value);
            if (!nAt) {
                bad("expected seconds");
                return result;
            }
            options.plan.cuts.push_back(*nAt);
        } else if (name == "--seed") {
            const auto nSeed = ReadNumber(*value, 0, UINT64_MAX);
            if (!nSeed) {
                bad("expected a whole number");
                return result;
            }
            options.plan.nSeed = *nSeed;
            options.bSeedGiven = true;
        }
    }
    if (options.bHelp)
        return result;
    if (!bListen)
        result.strError = "--listen HOST:PORT is needed (kelo-relay --help)";
    else if (!bServer)
        result.strError = "--server HOST:PORT is needed (kelo-relay --help)";
    return result;
}

} // namespace kelo
