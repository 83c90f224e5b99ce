// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CUciEngine.h"

#include "chess/CCoordinateMove.h"
#include "chess/ChessTypes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace kelo {

namespace {

// Timers of the handshake: "uciok" and "readyok" each have this long to come.
constexpr uint32_t TIMER_UCIOK = 1;
constexpr uint32_t TIMER_READYOK = 2;
constexpr uint32_t ANSWER_TIMEOUT_MS = 10000;

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        size_t end = i;
        while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])))
            ++end;
        if (end > i)
            words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

// The words [first, last) joined by single spaces.
std::string Join(const std::vector<std::string>& words, size_t first, size_t last) {
    std::string text;
    for (size_t i = first; i < last && i < words.size(); ++i) {
        if (!text.empty())
            text += ' ';
        text += words[i];
    }
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The whole word as a number of the type, or nothing (not a number, trailing characters, out
// of the type's range).
template <class T> std::optional<T> Number(std::string_view word) {
    T value{};
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

void Log(const std::string& text) {
    std::fprintf(stderr, "engine: %s\n", text.c_str());
}

} // namespace

CUciEngine::CUciEngine(IEngineProcess& process, IEventLoop& loop, IUciEngineObserver& observer)
    : m_process(process), m_loop(loop), m_observer(observer) {}

CUciEngine::~CUciEngine() {
    m_loop.KillTimers(this);
    if (Running())
        Quit();
    m_process.SetEvents(nullptr);
}

bool CUciEngine::Running() const {
    return m_step != Step::Idle && m_step != Step::Gone && m_step != Step::Quit;
}

void CUciEngine::Start(const std::string& program, const std::vector<std::string>& args,
                       const std::map<std::string, std::string>& options) {
    if (Running())
        Quit();
    m_strName.clear();
    m_bReady = false;
    m_bSearching = false;
    m_offered.clear();
    m_requestedOptions = options;
    m_bAwaitingReady = false;
    m_heldSearch.clear();
    m_bSearchSent = false;
    m_bStopAsked = false;
    m_bDropping = false;
    const size_t slash = program.find_last_of('/');
    m_strProgram = slash == std::string::npos ? program : program.substr(slash + 1);
    m_step = Step::AwaitingUciOk;
    m_process.SetEvents(this);
    m_process.Start(program, args);
    m_process.WriteLine("uci");
    m_loop.SetTimer(this, TIMER_UCIOK, ANSWER_TIMEOUT_MS);
}

bool CUciEngine::HasOption(const std::string& name) const {
    return m_offered.count(Lower(name)) != 0;
}

void CUciEngine::OnEngineLine(const std::string& line) {
    if (!Running())
        return;
    const std::vector<std::string> words = Words(line);
    if (words.empty())
        return;
    const std::string& keyword = words[0];
    if (m_step == Step::AwaitingUciOk) {
        ReadHandshakeLine(keyword, words);
    } else if (keyword == "readyok") {
        if (m_bAwaitingReady)
            ReadyCame();
    } else if (keyword == "bestmove") {
        ReadBestMove(words);
    } else if (keyword == "info") {
        // Only the lines of the search asked for reach the owner, not those of a dropped one.
        if (m_bSearching && m_bSearchSent && !m_bDropping) {
            if (const std::optional<UciInfo> info = ParseInfo(line))
                m_observer.OnEngineInfo(*info);
        }
    }
}

void CUciEngine::ReadHandshakeLine(const std::string& keyword,
                                   const std::vector<std::string>& words) {
    if (keyword == "id" && words.size() > 2 && words[1] == "name") {
        m_strName = Join(words, 2, words.size());
    } else if (keyword == "option" && words.size() > 2 && words[1] == "name") {
        // option name <words...> type <type> [default ...]
        const auto type = std::find(words.begin() + 2, words.end(), "type");
        const size_t typeAt = static_cast<size_t>(type - words.begin());
        const std::string name = Join(words, 2, typeAt);
        if (!name.empty())
            m_offered[Lower(name)] = {name, typeAt + 1 < words.size() ? words[typeAt + 1] : ""};
    } else if (keyword == "uciok") {
        m_loop.KillTimer(this, TIMER_UCIOK);
        if (m_strName.empty())
            m_strName = m_strProgram;
        SendOptions();
        m_step = Step::AwaitingReadyOk;
        AskReady();
    }
}

void CUciEngine::SendOptions() {
    // One thread and a small table unless asked otherwise: several engines may share the
    // machine with the table, and a game at a table needs no more. Then the caller's options.
    std::vector<std::pair<std::string, std::string>> options;
    const std::pair<std::string, std::string> defaults[] = {{"Threads", "1"}, {"Hash", "16"}};
    for (const auto& option : defaults) {
        const bool given = std::any_of(
            m_requestedOptions.begin(), m_requestedOptions.end(),
            [&](const auto& requested) { return Lower(requested.first) == Lower(option.first); });
        if (!given)
            options.push_back(option);
    }
    options.insert(options.end(), m_requestedOptions.begin(), m_requestedOptions.end());
    for (const auto& [name, value] : options) {
        const auto offered = m_offered.find(Lower(name));
        if (offered == m_offered.end()) {
            if (m_requestedOptions.count(name) != 0)
                Log("option '" + name + "' is not offered by " + m_strName + "; left out");
            continue;
        }
        // A line end cannot smuggle a command in: the value goes as one line of words.
        const std::string clean = Join(Words(value), 0, std::string::npos);
        std::string line = "setoption name " + offered->second.name;
        if (offered->second.type != "button" || !clean.empty())
            line += " value " + clean;
        m_process.WriteLine(line);
    }
}

void CUciEngine::AskReady() {
    m_bAwaitingReady = true;
    m_process.WriteLine("isready");
    m_loop.SetTimer(this, TIMER_READYOK, ANSWER_TIMEOUT_MS);
}

void CUciEngine::ReadyCame() {
    m_loop.KillTimer(this, TIMER_READYOK);
    m_bAwaitingReady = false;
    if (m_step == Step::AwaitingReadyOk) {
        m_step = Step::Ready;
        m_bReady = true;
        // The owner is told last: it may start a search or end the engine from there.
        m_observer.OnEngineReady(m_strName);
        return;
    }
    SendHeldSearch();
}

void CUciEngine::NewGame() {
    if (!m_bReady)
        return;
    Cancel();
    m_process.WriteLine("ucinewgame");
    AskReady();
}

bool CUciEngine::Go(const UciPosition& position, const UciLimits& limits) {
    if (!m_bReady || m_bSearching)
        return false;
    std::string why;
    if (!m_searched.SetUp(position, why)) {
        Log("no search: " + why);
        return false;
    }
    std::string positionLine =
        position.fen.empty() ? "position startpos"
                             : "position fen " + Join(Words(position.fen), 0, std::string::npos);
    if (!position.moves.empty()) {
        positionLine += " moves";
        // The moves as the rules read them, so nothing else reaches the engine's line.
        for (const MoveRecord& move : m_searched.Played())
            positionLine += ' ' + CCoordinateMove::Format(move.from, move.to, move.special);
    }
    std::string goLine = "go";
    // A negative time (a clock already run out) is sent as 0: the engine moves at once.
    auto add = [&goLine](const char* name, const auto& value) {
        if (value)
            goLine += std::string(" ") + name + ' ' + std::to_string(*value < 0 ? 0 : *value);
    };
    add("wtime", limits.wtime);
    add("btime", limits.btime);
    add("winc", limits.winc);
    add("binc", limits.binc);
    add("movestogo", limits.movestogo);
    add("movetime", limits.movetime);
    add("depth", limits.depth);
    add("nodes", limits.nodes);
    if (!limits.searchmoves.empty()) {
        goLine += " searchmoves";
        for (const std::string& text : limits.searchmoves) {
            const std::optional<MoveRecord> move = m_searched.ReadMove(text, why);
            if (!move) {
                Log("no search: searchmove '" + text + "': " + why);
                return false;
            }
            goLine += ' ' + CCoordinateMove::Format(move->from, move->to, move->special);
        }
    }
    m_heldSearch = {positionLine, goLine};
    m_bSearching = true;
    m_bSearchSent = false;
    m_bStopAsked = false;
    SendHeldSearch();
    return true;
}

void CUciEngine::SendHeldSearch() {
    if (!m_bSearching || m_bSearchSent || m_bDropping || m_bAwaitingReady)
        return;
    for (const std::string& line : m_heldSearch)
        m_process.WriteLine(line);
    m_heldSearch.clear();
    m_bSearchSent = true;
    if (m_bStopAsked)
        m_process.WriteLine("stop");
}

void CUciEngine::Stop() {
    if (!m_bSearching || m_bStopAsked)
        return;
    m_bStopAsked = true;
    // A held search gets its "stop" right after its "go".
    if (m_bSearchSent)
        m_process.WriteLine("stop");
}

void CUciEngine::Cancel() {
    if (!m_bSearching)
        return;
    if (m_bSearchSent) {
        if (!m_bStopAsked)
            m_process.WriteLine("stop");
        m_bDropping = true;
    }
    m_heldSearch.clear();
    m_bSearching = false;
    m_bSearchSent = false;
    m_bStopAsked = false;
}

void CUciEngine::ReadBestMove(const std::vector<std::string>& words) {
    if (m_bDropping) {
        // The answer of the cancelled search: the one asked for since may go now.
        m_bDropping = false;
        SendHeldSearch();
        return;
    }
    if (!m_bSearching || !m_bSearchSent)
        return;
    m_bSearching = false;
    m_bSearchSent = false;
    m_bStopAsked = false;
    // "bestmove <move> [ponder <move>]": the ponder move is not used.
    const std::string text = words.size() > 1 ? words[1] : "";
    if (text == "(none)" || text == "0000") {
        m_observer.OnBestMove(std::nullopt, text);
        return;
    }
    std::string why = "no move named";
    const std::optional<MoveRecord> move =
        text.empty() ? std::nullopt : m_searched.ReadMove(text, why);
    if (!move) {
        Log("refused bestmove '" + text + "': " + why);
        m_observer.OnBestMoveRefused(text, why);
        return;
    }
    m_observer.OnBestMove(move, text);
}

void CUciEngine::Quit() {
    if (!Running())
        return;
    m_loop.KillTimers(this);
    m_step = Step::Quit;
    m_bReady = false;
    m_bSearching = false;
    m_process.WriteLine("quit");
    m_process.Stop();
}

void CUciEngine::OnEngineGone(const std::string& why) {
    if (Running())
        Gone(why);
}

void CUciEngine::OnTimer(uint32_t id) {
    if (id == TIMER_UCIOK)
        Gone("引擎没有在 10 秒内回应 uci 命令");
    else if (id == TIMER_READYOK)
        Gone("引擎没有在 10 秒内回应 isready 命令");
}

void CUciEngine::Gone(const std::string& why) {
    m_loop.KillTimers(this);
    m_step = Step::Gone;
    m_bReady = false;
    m_bSearching = false;
    m_bAwaitingReady = false;
    m_heldSearch.clear();
    m_process.Stop();
    Log("gone: " + why);
    // Last: the owner may let the engine go from here.
    m_observer.OnEngineGone(why);
}

std::optional<UciInfo> CUciEngine::ParseInfo(const std::string& line) {
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words[0] != "info")
        return std::nullopt;
    UciInfo info;
    bool read = false;
    const size_t count = words.size();
    auto next = [&](size_t i) -> std::string_view {
        return i + 1 < count ? std::string_view(words[i + 1]) : std::string_view();
    };
    size_t i = 1;
    while (i < count) {
        const std::string& key = words[i];
        if (key == "depth" || key == "multipv") {
            const std::optional<int> value = Number<int>(next(i));
            const int least = key == "depth" ? 0 : 1;
            if (value && *value >= least) {
                (key == "depth" ? info.depth : info.multipv) = *value;
                read = true;
                i += 2;
                continue;
            }
        } else if (key == "nodes") {
            if (const std::optional<uint64_t> value = Number<uint64_t>(next(i))) {
                info.nodes = *value;
                read = true;
                i += 2;
                continue;
            }
        } else if (key == "score") {
            const std::string_view unit = next(i);
            const std::optional<int> value =
                i + 2 < count ? Number<int>(words[i + 2]) : std::nullopt;
            if ((unit == "cp" || unit == "mate") && value) {
                UciScore score;
                score.unit = unit == "cp" ? UciScore::Unit::Centipawns : UciScore::Unit::Mate;
                score.value = *value;
                i += 3;
                for (; i < count && (words[i] == "lowerbound" || words[i] == "upperbound"); ++i)
                    score.bound =
                        words[i] == "lowerbound" ? UciScore::Bound::Lower : UciScore::Bound::Upper;
                info.score = score;
                read = true;
                continue;
            }
        } else if (key == "pv") {
            // The variation runs to the end of the line; it ends early at a word that is no
            // move. Its moves are not checked against the rules: only the bestmove is played.
            for (size_t m = i + 1; m < count && CCoordinateMove::Parse(words[m]); ++m)
                info.pv.push_back(words[m]);
            read = read || !info.pv.empty();
            break;
        } else if (key == "string" || key == "refutation" || key == "currline") {
            // These run to the end of the line and carry nothing read here.
            break;
        }
        // An unknown word, or a known one without a fitting value: the next word is read
        // afresh, so a value of an unknown field is skipped as a word of its own.
        ++i;
    }
    if (!read)
        return std::nullopt;
    return info;
}

} // namespace kelo
