// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-bot: a table client without a window. It sits at a table as the windowed client does
// (the same board, clocks and connecting frame), plays the moves it is given for its own colour and
// prints every message it sends or receives on one line.

#include "CBotEngine.h"
#include "MessageText.h"
#include "PeoplePrinter.h"
#include "PersonOption.h"

#include "app/CGameContext.h"
#include "app/CMainFrame.h"
#include "app/CTableClient.h"
#include "base/CGbkConverter.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBaseRule.h"
#include "chess/CChnChessBoard.h"
#include "chess/CCoordinateMove.h"
#include "chess/ChessTypes.h"
#include "link/CCommunicationLayer.h"
#include "link/CMessageRev.h"
#include "link/CMessageSinkRegistry.h"
#include "link/CPersonRecord.h"
#include "link/CTableLink.h"
#include "link/MSG_DRAW_ANSWER.h"
#include "link/MSG_EXIT_ANSWER.h"
#include "link/MSG_HEAD.h"
#include "link/MSG_LEAVE_TABLE.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MSG_SEAL_ANSWER.h"
#include "link/MSG_SEAT_FLAG.h"
#include "link/MSG_TAKEBACK_ANSWER.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"
#include "link/PERSON.h"
#include "link/qt/SocketControl.h"
#include "ports/IPrompts.h"
#include "ports/qt/CQtEventLoop.h"
#include "social/CBaseChatView.h"
#include "social/CZynChatImp.h"
#include "table/CMainViewClock.h"
#include "table/CNegotiation.h"
#include "table/CPlayerManager.h"
#include "table/CResultDialogModel.h"
#include "table/CResumeManager.h"
#include "table/CResumeNegotiation.h"
#include "table/CTableBoard.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace kelo;

const char USAGE[] =
    "usage: kelo-bot --server HOST:PORT --desk D --me USERNAME\n"
    "                --player ID:USERNAME:NICKNAME:SEAT ...\n"
    "                --watcher ID:USERNAME:NICKNAME:WATCHNO[:SEAT] ...\n"
    "                [--moves \"f2f3 e7e5 g2g4 d8h4\"] [--quit-after-result] [--timeout SECONDS]\n"
    "                [--local] [--wait-watcher PLY] [--think SECONDS] [--clock]\n"
    "                [--answer yes|no] [--answer-after SECONDS] [--request KIND@PLY ...]\n"
    "                [--countdown SECONDS]\n"
    "                [--save-records DIR] [--request seal@PLY] [--request resume@NAME]\n"
    "                [--say TEXT@PLY ...] [--people]\n"
    "                [--engine [COMMAND]] [--level N] [--control-stdin]\n"
    "\n"
    "Sits at a table of the game server as a table client without a window. It enters the\n"
    "desk, presses start when the table offers it, and plays the moves of the list that fall\n"
    "to its own colour when it is its turn (coordinate form, e7e8q for a promotion; each one\n"
    "is checked by the rules before it is sent). Every message sent or received is printed on\n"
    "one line, \"sent TYPE\" or \"recv TYPE\" followed by name=value fields; after every move\n"
    "the board is printed as \"board fen=...\". Without --quit-after-result it stays at the\n"
    "table and plays the next game of the desk with the same moves.\n"
    "\n"
    "  --server HOST:PORT   the game server (not with --local)\n"
    "  --desk D             the desk to sit at\n"
    "  --types S,G,SUB      the service, game and sub type the entry carries (default 0,0,0)\n"
    "  --player ...         a player of the table and its seat, 0 or 1 (repeat for each)\n"
    "  --watcher ...        a watcher of the table (repeat for each): WATCHNO is its watcher\n"
    "                       number, SEAT (default 0) the seat it watches behind; it follows\n"
    "                       that seat's side and has that seat's colour\n"
    "  --me USERNAME        which of them this client is\n"
    "  --moves LIST         the moves of the game, both colours, White first\n"
    "  --quit-after-result  leave the table and exit 0 once a result has arrived\n"
    "  --timeout SECONDS    exit 1 if still running after that long\n"
    "  --local              no server: this client plays both sides and starts a game at once\n"
    "  --wait-watcher PLY   hold the move at that ply until a watcher has entered\n"
    "  --think SECONDS      wait that long before each of its own moves\n"
    "  --clock              print the clocks after every move applied and at each start of\n"
    "                       play: \"clock used0=S used1=S moves0=N moves1=N step=S\", the\n"
    "                       seconds used and the moves made by seats 0 and 1, and the\n"
    "                       seconds of the move in progress\n"
    "  --answer yes|no      answer every request of the opponent so (without it a request\n"
    "                       is left alone and its countdown refuses it)\n"
    "  --answer-to KIND=yes|no  answer that kind of request so, whatever --answer says\n"
    "                       (repeatable; takeback, draw, exchange, leave)\n"
    "  --answer-after S     wait that long before answering (default 1)\n"
    "  --request KIND@PLY   make a request when PLY moves have been applied (repeatable):\n"
    "                       takeback, draw, resign, leave (ask to leave), leave-now (leave at\n"
    "                       once); exchange is asked before the start when PLY is 0, and\n"
    "                       start waits for its answer; at a later PLY it is asked during\n"
    "                       the game, where the table refuses it, and no answer is waited\n"
    "                       for. The bot confirms its own dialogs.\n"
    "  --countdown S        the dialogs' countdown instead of 30 s\n"
    "\n"
    "Every dialog or question the table would show is printed as \"dialog TEXT\" (the\n"
    "result dialog with the result line).\n"
    "  --save-records DIR   the record folder: every finished game is saved there (\"saved\n"
    "                       PATH\"), and a sealed game with its entry in the index\n"
    "  --request seal@PLY   at that ply, instead of moving, ask to seal the game; agreed,\n"
    "                       each player prints \"sealed PATH\"; refused, the game goes on\n"
    "  --request resume@NAME  when the table offers a start, ask to continue the stored game\n"
    "                       of that name from the index of --save-records instead; the other\n"
    "                       bot agrees, and every client prints \"resumed moves=N\"\n"
    "A bot answers seal and resume requests as --answer says, and agrees without it.\n"
    "  --say TEXT@PLY       say TEXT in the table chat once PLY moves have been applied (0:\n"
    "                       when the game begins; repeatable; the last @ ends the text). The\n"
    "                       line goes out as the table client sends it, \"NICKNAME(USERNAME)\n"
    "                       说：TEXT\" (\"[旁观]\" after a watcher's user name); a watcher says\n"
    "                       it at that ply of the game it watches.\n"
    "  --people             keep the people list as the table window does and print it\n"
    "                       whenever it changes: \"people ID,ID,...\", the ids of its rows in\n"
    "                       increasing order\n";

const char EXIT_USAGE[] =
    "\n"
    "Exit status: 0 done, 1 timeout or failure (also a link silent for 45 s or a login\n"
    "elsewhere), 2 bad arguments\n"
    "(one line on stderr), 3 the engine is missing or failed.\n";

struct Options {
    std::string host;
    int port = 0;
    uint16_t desk = 0;
    std::array<uint16_t, 3> types{};
    std::vector<PERSON> people;
    std::string me;
    std::vector<std::string> moves;
    bool quitAfterResult = false;
    int timeoutSeconds = 0;
    bool local = false;
    int waitWatcherPly = -1;
    int thinkSeconds = 0;
    bool clock = false;
    // Answers to the opponent's requests: 1 yes, 0 no, -1 none (the countdown refuses).
    int answer = -1;
    // Answers by kind of request, before --answer.
    std::map<CNegotiationDialog::Kind, int> answerTo;
    int answerAfterSeconds = 1;
    struct Request {
        std::string kind;
        int ply = 0;
    };
    std::vector<Request> requests;
    int countdownSeconds = 0;
    std::string recordFolder;
    int sealPly = -1;
    std::string resumeName;
    struct Say {
        std::string text;
        int ply = 0;
    };
    std::vector<Say> says;
    bool printPeople = false;
    // --engine: the moves come from a chess engine (its command; empty: looked for).
    bool engine = false;
    std::string engineCommand;
    // 0: not given (the default level).
    int level = 0;
    bool controlStdin = false;
};

bool ParseNumber(const std::string& text, long low, long high, long& out) {
    char* end = nullptr;
    out = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && out >= low && out <= high;
}

// A bad command line: one line on stderr, status 2.
int Fail(const std::string& line) {
    std::fprintf(stderr, "kelo-bot: %s\n", line.c_str());
    return 2;
}

// -1 to go on, else the exit status (0 after --help).
int ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long number = 0;
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            std::fputs(CBotEngine::Usage().c_str(), stdout);
            std::fputs(EXIT_USAGE, stdout);
            return 0;
        } else if (arg == "--engine") {
            // The command is optional: the next word is it unless it is an option.
            o.engine = true;
            if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0)
                o.engineCommand = argv[++i];
            continue;
        } else if (arg == "--control-stdin") {
            o.controlStdin = true;
            continue;
        } else if (arg == "--people") {
            o.printPeople = true;
            continue;
        } else if (arg == "--quit-after-result") {
            o.quitAfterResult = true;
            continue;
        } else if (arg == "--local") {
            o.local = true;
            continue;
        } else if (arg == "--clock") {
            o.clock = true;
            continue;
        }
        if (i + 1 >= argc)
            return Fail("unknown option or missing value: " + arg + " (see --help)");
        const std::string value = argv[++i];
        if (arg == "--server") {
            const size_t colon = value.rfind(':');
            if (colon == std::string::npos || colon == 0 ||
                !ParseNumber(value.substr(colon + 1), 1, 65535, number))
                return Fail("--server needs HOST:PORT");
            o.host = value.substr(0, colon);
            o.port = static_cast<int>(number);
        } else if (arg == "--types") {
            unsigned service = 0, game = 0, sub = 0;
            char end = 0;
            if (std::sscanf(value.c_str(), "%u,%u,%u%c", &service, &game, &sub, &end) != 3 ||
                service > 0xFFFF || game > 0xFFFF || sub > 0xFFFF)
                return Fail("--types needs SERVICE,GAME,SUB, each from 0 to 65535");
            o.types = {static_cast<uint16_t>(service), static_cast<uint16_t>(game),
                       static_cast<uint16_t>(sub)};
        } else if (arg == "--desk") {
            if (!ParseNumber(value, 0, 32767, number))
                return Fail("--desk needs a number from 0 to 32767");
            o.desk = static_cast<uint16_t>(number);
        } else if (arg == "--player" || arg == "--watcher") {
            const auto role =
                arg == "--watcher" ? PersonOption::Role::Watcher : PersonOption::Role::Player;
            std::string error;
            const auto person = PersonOption::Parse(value, role, 2, error);
            if (!person)
                return Fail(arg + " " + value + ": " + error);
            o.people.push_back(*person);
        } else if (arg == "--me") {
            // Compared with the user names, which are kept in GBK.
            o.me = CGbkConverter::ToGbk(value);
        } else if (arg == "--moves") {
            std::istringstream in(value);
            for (std::string move; in >> move;) {
                if (!CCoordinateMove::Parse(move))
                    return Fail("--moves: not a move: " + move);
                o.moves.push_back(move);
            }
        } else if (arg == "--timeout") {
            if (!ParseNumber(value, 1, 86400, number))
                return Fail("--timeout needs a number of seconds from 1 to 86400");
            o.timeoutSeconds = static_cast<int>(number);
        } else if (arg == "--wait-watcher") {
            if (!ParseNumber(value, 0, 10000, number))
                return Fail("--wait-watcher needs a ply from 0 to 10000");
            o.waitWatcherPly = static_cast<int>(number);
        } else if (arg == "--answer") {
            if (value != "yes" && value != "no")
                return Fail("--answer needs yes or no");
            o.answer = value == "yes" ? 1 : 0;
        } else if (arg == "--answer-to") {
            static const std::map<std::string, CNegotiationDialog::Kind> kinds = {
                {"takeback", CNegotiationDialog::Kind::BackPace},
                {"draw", CNegotiationDialog::Kind::Peace},
                {"exchange", CNegotiationDialog::Kind::Exchange},
                {"leave", CNegotiationDialog::Kind::GameClose}};
            const size_t equals = value.find('=');
            const auto kind = kinds.find(value.substr(0, equals));
            const std::string yesNo = equals == std::string::npos ? "" : value.substr(equals + 1);
            if (kind == kinds.end() || (yesNo != "yes" && yesNo != "no"))
                return Fail("--answer-to needs KIND=yes or KIND=no (takeback, draw, exchange, "
                            "leave)");
            o.answerTo[kind->second] = yesNo == "yes" ? 1 : 0;
        } else if (arg == "--answer-after") {
            if (!ParseNumber(value, 0, 3600, number))
                return Fail("--answer-after needs a number of seconds from 0 to 3600");
            o.answerAfterSeconds = static_cast<int>(number);
        } else if (arg == "--countdown") {
            if (!ParseNumber(value, 1, 3600, number))
                return Fail("--countdown needs a number of seconds from 1 to 3600");
            o.countdownSeconds = static_cast<int>(number);
        } else if (arg == "--save-records") {
            o.recordFolder = value;
        } else if (arg == "--request") {
            const size_t at = value.find('@');
            const std::string kind = value.substr(0, at);
            const std::string what = at == std::string::npos ? "" : value.substr(at + 1);
            const bool negotiation = kind == "takeback" || kind == "draw" || kind == "exchange" ||
                                     kind == "resign" || kind == "leave" || kind == "leave-now";
            if (negotiation && ParseNumber(what, 0, 10000, number))
                o.requests.push_back({kind, static_cast<int>(number)});
            else if (kind == "seal" && ParseNumber(what, 0, 10000, number))
                o.sealPly = static_cast<int>(number);
            else if (kind == "resume" && !what.empty())
                o.resumeName = what;
            else
                return Fail("--request needs KIND@PLY with KIND one of takeback, draw, exchange, "
                            "resign, leave, leave-now, seal, or resume@NAME");
        } else if (arg == "--say") {
            const size_t at = value.rfind('@');
            if (at == std::string::npos || at == 0 ||
                !ParseNumber(value.substr(at + 1), 0, 10000, number))
                return Fail("--say needs TEXT@PLY");
            o.says.push_back({value.substr(0, at), static_cast<int>(number)});
        } else if (arg == "--level") {
            if (!ParseNumber(value, EngineLevel::LOWEST, EngineLevel::HIGHEST, number))
                return Fail("--level needs a number from 1 to 8");
            o.level = static_cast<int>(number);
        } else if (arg == "--think") {
            if (!ParseNumber(value, 0, 3600, number))
                return Fail("--think needs a number of seconds from 0 to 3600");
            o.thinkSeconds = static_cast<int>(number);
        } else {
            return Fail("unknown option " + arg + " (see --help)");
        }
    }
    if (o.me.empty() || o.people.empty())
        return Fail("--me and at least one --player or --watcher are needed (see --help)");
    if (o.local == !o.host.empty())
        return Fail("give either --server or --local (see --help)");
    if ((o.sealPly >= 0 || !o.resumeName.empty()) && o.recordFolder.empty())
        return Fail("--request needs --save-records DIR (see --help)");
    if (!o.engine && (o.controlStdin || o.level != 0))
        return Fail("--level and --control-stdin need --engine (see --help)");
    if (o.engine && (o.local || !o.moves.empty()))
        return Fail("--engine plays its own moves at a server: not with --moves or --local");
    return -1;
}

void Print(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Promotions are chosen by the move text, not asked. A question is shown as a dialog line and
// answered yes only while the bot makes a request of its own.
class BotPrompts : public IPrompts {
public:
    // The bot's moves name their promotion piece; nothing asks it.
    PieceKind ChoosePromotion() override { return PieceKind::Queen; }
    void ShowNotice(const std::string& text) override { Print("notice " + text); }
    void ShowInformation(const std::string& text, bool) override {
        if (!text.empty())
            Print("notice " + text);
    }
    bool AskYesNo(const std::string& question) override {
        Print("dialog " + question);
        return m_bOwnRequest;
    }
    bool Verify(const std::string& question, const std::string&, const std::string&) override {
        Print("dialog " + question);
        return m_bOwnRequest;
    }
    bool m_bOwnRequest = false;
};

// The seal and resume dialogs: every question is answered after the message that asked it,
// with --answer (agreed without it).
class BotResumeDialogs : public IResumeDialogs {
public:
    BotResumeDialogs(IEventLoop& loop, bool agree) : m_loop(loop), m_bAgree(agree) {}
    void OpenSealRequest(const std::string& question, const std::string&, Answer confirm) override {
        Print("question " + question + " -> confirm");
        m_loop.Post([confirm] { confirm(true); });
    }
    void OpenSealAnswer(const std::string& question, Answer answer) override {
        Print("question " + question + (m_bAgree ? " -> agree" : " -> refuse"));
        m_loop.Post([this, answer] { answer(m_bAgree); });
    }
    void OpenResumeAnswer(const std::string& question, Answer answer) override {
        Print("question " + question + (m_bAgree ? " -> agree" : " -> refuse"));
        m_loop.Post([this, answer] { answer(m_bAgree); });
    }
    void ShowInformation(const std::string& text) override { Print("information " + text); }
    void OnSealed(const std::string& path) override {
        Print("sealed " + (path.empty() ? std::string("nothing") : path));
        if (onSealed)
            onSealed();
    }
    void OnResumed(size_t moves) override { Print("resumed moves=" + std::to_string(moves)); }

    std::function<void()> onSealed;

private:
    IEventLoop& m_loop;
    bool m_bAgree;
};

class PrintingSocket : public ISocketControl {
public:
    explicit PrintingSocket(ISocketControl& inner) : m_inner(inner) {}
    void SetEvents(ISocketEvents* events) override { m_inner.SetEvents(events); }
    void CloseSocket() override { m_inner.CloseSocket(); }
    bool Connect(const std::string& host, int32_t port) override {
        return m_inner.Connect(host, port);
    }
    bool SendData(const uint8_t* data, size_t count) override {
        if (count >= MSG_HEAD::SIZE) {
            const MSG_HEAD head = MSG_HEAD::Decode(data);
            const size_t body =
                head.length >= frame::BODY_DIGEST_SIZE ? head.length - frame::BODY_DIGEST_SIZE : 0;
            if (MSG_HEAD::SIZE + body <= count)
                Print("sent " +
                      MessageText(head.type, data + MSG_HEAD::SIZE, static_cast<uint32_t>(body)));
        }
        return m_inner.SendData(data, count);
    }
    void UseProxy(int16_t kind, const std::string& host, int32_t port) override {
        m_inner.UseProxy(kind, host, port);
    }
    void UseProxyAuth(int16_t kind, const std::string& host, int32_t port, const std::string& user,
                      const std::string& password) override {
        m_inner.UseProxyAuth(kind, host, port, user, password);
    }
    bool RecvData(size_t count) override { return m_inner.RecvData(count); }

private:
    ISocketControl& m_inner;
};

// Without a server what is sent comes straight back; it is printed on its way out. The
// context sends through it, and it passes the messages on to the context's own sender.
class PrintingSender : public IMessageSender {
public:
    void SendMessage(uint16_t type, const uint8_t* body, size_t length) override {
        Print("sent " + MessageText(type, body, static_cast<uint32_t>(length)));
        if (inner != nullptr)
            inner->SendMessage(type, body, length);
    }
    IMessageSender* inner = nullptr;
};

class PrintingSink : public IMessageSink {
public:
    void OnMessageRev(const CMessageRev& m) override {
        Print("recv " + MessageText(m.Type(), m.Body(), m.Body() != nullptr ? m.Length() : 0));
    }
};

// The frame's link with the messages printed that the frame keeps to itself (those that close
// the table are not handed on to the printer).
class PrintingLinkObserver : public CTableLink::IObserver {
public:
    explicit PrintingLinkObserver(CMainFrame& frame) : m_frame(frame) {
        m_frame.Link().SetObserver(this);
    }
    ~PrintingLinkObserver() override { m_frame.Link().SetObserver(&m_frame); }
    PrintingLinkObserver(const PrintingLinkObserver&) = delete;
    PrintingLinkObserver& operator=(const PrintingLinkObserver&) = delete;

    void OnConnect(int16_t result) override { m_frame.OnConnect(result); }
    bool OnConnectionMessage(uint16_t type, const uint8_t* body, uint32_t length) override {
        const std::string text = MessageText(type, body, length);
        if (m_frame.OnConnectionMessage(type, body, length))
            return true;
        Print("recv " + text);
        return false;
    }
    void OnConnectionLost() override { m_frame.OnConnectionLost(); }
    void OnConnectionClosed(bool heard) override { m_frame.OnConnectionClosed(heard); }
    void OnTimer(uint32_t id) override { m_frame.OnTimer(id); }

private:
    CMainFrame& m_frame;
};

// The bot's own play: it runs after the board and the clocks have taken each message.
class CBot : public IMessageSink, public IMainFrameHost, public INegotiationHost {
public:
    // The bot is the host of the client's negotiations, so it is made before the client it
    // plays through; it reaches the client's parts only once the client is there.
    // With an engine, the moves are the engine's (see CBotEngine).
    CBot(const Options& options, CGameContext& context, std::optional<CTableClient>& client,
         CZynChatImp& chat, CBotEngine* engine)
        : m_options(options), m_context(context), m_client(client), m_board(context.Board()),
          m_requestsDone(options.requests.size(), false), m_chat(chat),
          m_said(options.says.size(), false), m_pEngine(engine) {}

    // INegotiationHost: every dialog is printed; the bot confirms its own requests at once and
    // answers the opponent's as it was told, after its delay.
    void OpenDialog(CNegotiationDialog& dialog) override {
        Print("dialog " + dialog.Text());
        if (dialog.GetKind() == CNegotiationDialog::Kind::Information)
            return;
        if (dialog.RequestMode()) {
            if (m_nRequestButton != 0)
                dialog.Press(m_nRequestButton);
            return;
        }
        const auto byKind = m_options.answerTo.find(dialog.GetKind());
        int answer = byKind != m_options.answerTo.end() ? byKind->second : m_options.answer;
        // A computer partner for practice agrees to what the person asks, and to a draw as its
        // engine's score says.
        if (m_pEngine != nullptr && answer < 0 && byKind == m_options.answerTo.end())
            answer =
                dialog.GetKind() != CNegotiationDialog::Kind::Peace || m_pEngine->AcceptsDraw();
        if (answer < 0)
            return;
        const int32_t button =
            answer == 1 ? CNegotiationDialog::ID_AGREE : CNegotiationDialog::ID_REFUSE;
        CNegotiationDialog* open = &dialog;
        QTimer::singleShot(m_options.answerAfterSeconds * 1000, Qt::PreciseTimer,
                           [this, open, button] {
                               if (Negotiation().IsOpen(open))
                                   open->Press(button);
                           });
    }
    void CloseTable() override {
        Print("table closed");
        m_bTableClosed = true;
        QTimer::singleShot(300, [this] { Finish(0); });
    }
    void OpenResultDialog(const CResultDialogModel& result) override {
        Print("dialog " + result.Line());
    }

    // A sealed game ends the bot's part as a result does.
    void OnSealed() {
        m_bResult = true;
        if (m_options.quitAfterResult)
            Leave();
    }

    // IMainFrameHost: the frame connects, enters the table and acts on the table's connection
    // messages as it does for the window; it gives the server up at the first failure, since
    // a bot is restarted rather than reconnected.
    void CloseWindow(TableClose why) override {
        switch (why) {
        case TableClose::LoggedInElsewhere:
            Print("logged in elsewhere: leaving");
            Finish(1);
            break;
        case TableClose::ServerLost:
            Print("connection lost");
            Finish(m_bResult && m_options.quitAfterResult ? 0 : 1);
            break;
        case TableClose::Closed:
            Print("table closed");
            Finish(0);
            break;
        }
    }
    void SaveGame(int) override { SaveRecord(); }
    void OpenExitDialog(bool requestMode, uint16_t seat, const std::string&) override {
        Negotiation().OpenExitDialog(requestMode, seat);
    }
    void AddSystemLine(const std::string& text, uint32_t) override { Print("system " + text); }

    void OnMessageRev(const CMessageRev& message) override {
        const uint8_t* body = message.Body();
        const uint32_t length = body != nullptr ? message.Length() : 0;
        // An agreed take-back: the plies taken back are played again.
        if (m_board.PlyCount() < m_nLastPly) {
            if (m_pEngine != nullptr)
                m_pEngine->Abandon();
            m_nSentPly = -1;
            m_nThinkingPly = -1;
            m_nThoughtPly = -1;
            PrintBoard();
        }
        m_nLastPly = m_board.PlyCount();
        while (!m_unsaid.empty() && m_chat.SendLine(m_unsaid.front()))
            m_unsaid.erase(m_unsaid.begin());
        switch (message.Type()) {
        case MSG_NEW_GAME:
            NewGame();
            break;
        case MSG_START_INFO:
            // Both players are seated: the engine's bot says hello, once a table.
            if (m_pEngine != nullptr && !m_bGreeted && IsPlayer()) {
                m_bGreeted = true;
                m_chat.SendLine(m_pEngine->Greeting());
            }
            if (!m_options.resumeName.empty() && IsPlayer()) {
                RequestResume();
            } else {
                MakeRequests(true);
                PressStart();
            }
            break;
        case MSG_TAKEBACK_ANSWER: {
            MSG_TAKEBACK_ANSWER_BODY answer;
            if (MSG_TAKEBACK_ANSWER_BODY::FromWire(body, length, answer) && OwnSeat(answer.seat))
                AnswerCame();
            break;
        }
        case MSG_DRAW_ANSWER: {
            MSG_DRAW_ANSWER_BODY answer;
            if (MSG_DRAW_ANSWER_BODY::FromWire(body, length, answer) && !OwnSeat(answer.seat))
                AnswerCame();
            break;
        }
        case MSG_EXIT_ANSWER: {
            MSG_EXIT_ANSWER_BODY answer;
            if (MSG_EXIT_ANSWER_BODY::FromWire(body, length, answer) &&
                OwnSeat(answer.requesterSeat)) {
                AnswerCame();
                // Let go: the game is over for this player, whose leave the server announces.
                if (answer.refused == 0)
                    m_bGivenUp = true;
            }
            break;
        }
        case MSG_SEAL_ANSWER: {
            MSG_SEAL_ANSWER_BODY answer;
            if (m_bSealRequested && MSG_SEAL_ANSWER_BODY::FromWire(body, length, answer) &&
                answer.agree == 0 && !OwnSeat(answer.seatno))
                m_bSealRefused = true;
            break;
        }
        case MSG_EXCHANGE_ANSWER:
            if (m_bExchangePending) {
                m_bExchangePending = false;
                PressStart();
            }
            break;
        case MSG_SCORES:
            if (m_pEngine != nullptr)
                m_pEngine->Abandon();
            // An agreed draw ends the game without a result message of its own.
            if (!m_bResult) {
                m_bResult = true;
                if (m_options.quitAfterResult)
                    QTimer::singleShot(300, [this] { Leave(); });
            }
            break;
        case MSG_GAME_BEGIN:
        case MSG_GAME_STATE:
            m_nClockPly = m_board.PlyCount();
            if (message.Type() == MSG_GAME_BEGIN && m_context.State().IsPlaying()) {
                PrintClock();
                if (m_pEngine != nullptr)
                    m_pEngine->BeginGame(m_nGame);
            }
            break;
        case MSG_USER_ENTER:
            if (length >= CPersonRecord::SIZE &&
                RoleFromStatus(CPersonRecord::FromWire(body).status) == TableRole::Watcher)
                m_bWatcherSeen = true;
            break;
        case MSG_MOVE:
            PrintBoard();
            // Only a move the board applied moves the clocks.
            if (m_board.PlyCount() != m_nClockPly) {
                m_nClockPly = m_board.PlyCount();
                PrintClock();
            }
            break;
        case MSG_GAME_RESULT:
            if (m_pEngine != nullptr)
                m_pEngine->Abandon();
            if (length >= 8 && !m_bResult) {
                m_bResult = true;
                SaveRecord();
                if (m_options.quitAfterResult)
                    Leave();
            }
            break;
        default:
            break;
        }
        MakeRequests(false);
        Say();
        TryMove();
    }

    // The engine found the move asked for.
    void EngineAnswered() { TryMove(); }

    // A line of the engine's bot for the chat; kept until the table can take it.
    void SayForEngine(const std::string& text) {
        if (!m_chat.SendLine(text))
            m_unsaid.push_back(text);
    }

    // The engine failed at the table: the person is told in the chat and the game in progress
    // resigned, so that nobody waits for a move that never comes. The engine is started again
    // for the next game, since leaving would close the person's table too; an engine that
    // cannot be started again, or fails a third time at the table, ends the bot's part.
    void EngineGone(const std::string& why) {
        Print("engine gone " + why);
        m_bEngineGone = true;
        const bool playing =
            IsPlayer() && m_context.State().IsPlaying() && !m_bResult && !m_bGivenUp;
        const bool again = ++m_nEngineFailures < MAX_ENGINE_FAILURES && m_pEngine != nullptr;
        m_chat.SendLine("电脑棋手的引擎出错了（" + why + "），" + (playing ? "本局认输。" : "") +
                        (again ? "引擎正在重新启动。" : "不能再下了。"));
        if (playing)
            ResignGame();
        if (again && m_pEngine->Restart()) {
            Print("engine restarting");
            return;
        }
        QTimer::singleShot(2000, [this] { Leave(CBotEngine::EXIT_ENGINE); });
    }

    // The engine started again after it failed: the next game can begin.
    void EngineRestarted(bool ok, const std::string& why) {
        if (!ok) {
            Print("engine gone " + why);
            m_chat.SendLine("电脑棋手的引擎无法重新启动（" + why + "），不能再下了。");
            QTimer::singleShot(2000, [this] { Leave(CBotEngine::EXIT_ENGINE); });
            return;
        }
        Print("engine ready again");
        m_bEngineGone = false;
        m_chat.SendLine("电脑棋手的引擎重新启动好了，可以开始下一局。");
        if (m_bStartOffered && !m_context.State().IsPlaying())
            PressStart();
    }

    void Finish(int code) {
        if (m_bFinished)
            return;
        // However the table ends, a bot whose engine failed says so by its status.
        if (m_bEngineGone && code == 0)
            code = CBotEngine::EXIT_ENGINE;
        m_bFinished = true;
        Print("exit " + std::to_string(code));
        QCoreApplication::exit(code);
    }

private:
    bool IsPlayer() { return m_context.Mode().Role() == TableRole::Player; }
    bool OwnSeat(uint16_t seat) { return seat == m_context.PlayerManager().GetOwnSeat(); }
    void AnswerCame() {
        if (m_nAwaitedAnswers > 0)
            --m_nAwaitedAnswers;
    }
    const CPlayerManager& people() const { return m_context.PlayerManager(); }

    // The next game of the desk: start may be pressed again and the moves begin anew.
    void NewGame() {
        ++m_nGame;
        m_said.assign(m_said.size(), false);
        m_nAwaitedAnswers = 0;
        m_requestsDone.assign(m_requestsDone.size(), false);
        m_nLastPly = 0;
        m_bStartPressed = false;
        m_bResult = false;
        m_bGivenUp = false;
        m_nSentPly = -1;
        m_nThinkingPly = -1;
        m_nThoughtPly = -1;
    }

    // The finished game saved as the table client saves it when its setting says so.
    void SaveRecord() {
        if (m_options.recordFolder.empty() || !IsPlayer())
            return;
        const std::string path =
            CResumeManager(m_context.Table(), m_board, m_context.Settings(), m_prompts)
                .SaveGame(CResumeManager::SAVE_GAME_END);
        Print("saved " + (path.empty() ? std::string("nothing") : path));
    }

    void RequestResume() {
        if (m_bResumeRequested)
            return;
        m_bResumeRequested = true;
        CResumeManager manager(m_context.Table(), m_board, m_context.Settings(), m_prompts);
        manager.LoadIndex();
        for (const ResumeEntry& entry : manager.Entries()) {
            if (entry.key == m_options.resumeName) {
                if (!Resume().RequestResume(entry))
                    Finish(1);
                return;
            }
        }
        Print("no stored game " + m_options.resumeName);
        Finish(1);
    }

    void PrintClock() {
        if (!m_options.clock)
            return;
        const uint16_t ownSeat = m_context.PlayerManager().GetOwnSeat();
        auto used = [&](uint16_t seat) {
            return std::to_string(seat == ownSeat ? Clock().m_nOwnUsedTime
                                                  : Clock().m_nOtherUsedTime);
        };
        auto moves = [&](uint16_t seat) {
            return std::to_string(Clock().MovesMade(seat == ownSeat));
        };
        Print("clock used0=" + used(0) + " used1=" + used(1) + " moves0=" + moves(0) + " moves1=" +
              moves(1) + " step=" + std::to_string(m_context.TimeControl().m_nStepCounter));
    }

    // The requests due at this ply, each once a game. An exchange at ply 0 is asked when the
    // start is offered, before pressing it; one at a later ply during the game.
    void MakeRequests(bool startOffered) {
        if (m_bFinished || !IsPlayer())
            return;
        const bool playing = m_context.State().IsPlaying();
        for (size_t i = 0; i < m_options.requests.size(); ++i) {
            const Options::Request& request = m_options.requests[i];
            const bool exchange = request.kind == "exchange";
            const bool beforeStart = exchange && request.ply == 0;
            if (m_requestsDone[i] || request.ply != m_board.PlyCount() ||
                (beforeStart ? !startOffered || playing || m_bStartPressed : !playing) ||
                m_board.Replaying())
                continue;
            m_requestsDone[i] = true;
            Print("request " + request.kind);
            m_prompts.m_bOwnRequest = true;
            m_nRequestButton = CNegotiationDialog::ID_AGREE;
            // As a user would, the bot makes no move while a request of its own waits for its
            // answer.
            if (request.kind == "takeback") {
                const int16_t before = m_context.State().TakeBackCount();
                Negotiation().RequestTakeBack();
                if (m_context.State().TakeBackCount() != before)
                    ++m_nAwaitedAnswers;
            } else if (request.kind == "draw") {
                Negotiation().OfferDraw();
                ++m_nAwaitedAnswers;
            } else if (exchange) {
                // Start waits for the answer; during a game the bot plays on, since the table
                // refuses the request (or the server does not pass it on at all).
                m_bExchangePending = beforeStart;
                Negotiation().RequestExchange();
            } else if (request.kind == "resign") {
                ResignGame();
            } else {
                m_nRequestButton = request.kind == "leave" ? CNegotiationDialog::ID_ASK_LEAVE
                                                           : CNegotiationDialog::ID_LEAVE_NOW;
                Negotiation().OpenExitDialog(true, m_context.PlayerManager().GetOwnSeat());
                if (request.kind == "leave")
                    ++m_nAwaitedAnswers;
            }
            m_nRequestButton = 0;
            m_prompts.m_bOwnRequest = false;
        }
    }

    // The chat lines due at this ply of the game under way, each once a game.
    void Say() {
        if (m_bFinished || !m_context.State().IsPlaying() || m_board.Replaying())
            return;
        for (size_t i = 0; i < m_options.says.size(); ++i) {
            if (m_said[i] || m_options.says[i].ply != m_board.PlyCount())
                continue;
            m_said[i] = true;
            if (!m_chat.SendLine(m_options.says[i].text))
                Print("not said " + m_options.says[i].text);
        }
    }

    void PressStart() {
        m_bStartOffered = true;
        // A bot whose engine is starting again presses start once it is back.
        if (m_bExchangePending || m_bStartPressed || !IsPlayer() || m_context.Mode().LocalMode() ||
            m_bEngineGone)
            return;
        m_bStartOffered = false;
        m_bStartPressed = true;
        const auto body = MSG_SEAT_FLAG_BODY{m_context.PlayerManager().GetOwnSeat(), 1}.ToWire();
        m_context.Sender().SendMessage(MSG_START_NOTICE, body.data(), body.size());
    }

    // Resigns the game, confirming the question as the user would.
    void ResignGame() {
        const bool own = m_prompts.m_bOwnRequest;
        m_prompts.m_bOwnRequest = true;
        Negotiation().Resign();
        m_prompts.m_bOwnRequest = own;
        m_bGivenUp = true;
    }

    void Leave(int code = 0) {
        // A table closed by leaving has already said so.
        if (m_bTableClosed)
            return;
        // As the client sends it: a watcher stops watching (3027, its id, seat and watch
        // number); a player leaves the table (3026) with the id field 0, since the server knows
        // the sender by its connection, its seat and leave reason 0.
        const CPlayerManager& people = m_context.PlayerManager();
        const CPlayerRecord* own = people.GetOwnRecord();
        if (m_context.Mode().IsWatcher() && own != nullptr) {
            MSG_LEAVE_WATCH_BODY leave;
            leave.id = own->person.id;
            leave.seatno = static_cast<uint16_t>(own->person.seatno);
            leave.watchno = static_cast<uint16_t>(own->person.watchno);
            const auto body = leave.ToWire();
            m_context.Sender().SendMessage(MSG_LEAVE_WATCH, body.data(), body.size());
        } else {
            MSG_LEAVE_TABLE_BODY leave;
            leave.seatno = people.GetOwnSeat();
            const auto body = leave.ToWire();
            m_context.Sender().SendMessage(MSG_LEAVE_TABLE, body.data(), body.size());
        }
        // Give the socket a moment to write the leave message.
        QTimer::singleShot(300, [this, code] { Finish(code); });
    }

    Colour ColourToMove() const {
        const CPlayerManager& people = m_context.PlayerManager();
        const CPlayerRecord* toMove =
            people.GetPersonBySeat(static_cast<int16_t>(people.GetCurrentTurnSeat()));
        return toMove != nullptr ? toMove->colour : Colour::None;
    }

    void PrintBoard() {
        std::string fen;
        for (int y = 0; y < 8; ++y) {
            int empty = 0;
            for (int x = 0; x < 8; ++x) {
                const CBasePiece* piece = m_board.PieceAt(CBasePoint(x, y));
                if (piece == nullptr) {
                    ++empty;
                    continue;
                }
                if (empty > 0)
                    fen += std::to_string(empty);
                empty = 0;
                const char letter = KindLetter(piece->m_kind);
                fen += piece->m_colour == Colour::White ? letter : static_cast<char>(letter + 32);
            }
            if (empty > 0)
                fen += std::to_string(empty);
            if (y < 7)
                fen += '/';
        }
        fen += ColourToMove() == Colour::Black ? " b" : " w";
        Print("board fen=" + fen + " ply=" + std::to_string(m_board.PlyCount()));
    }

    void TryMove() {
        if (m_bFinished || m_bResult || m_bGivenUp || m_nAwaitedAnswers > 0 || !IsPlayer() ||
            !m_context.State().IsPlaying() || Table().m_bAwaitingEcho || m_board.Replaying())
            return;
        if (!m_context.Mode().LocalMode() && m_context.State().IsLocked())
            return;
        const size_t ply = m_board.Position().MoveCount();
        // At the seal ply the game waits for the seal; the requester asks once.
        if (m_options.sealPly >= 0 && static_cast<int>(ply) >= m_options.sealPly &&
            !m_bSealRefused) {
            if (!m_bSealRequested && static_cast<int>(ply) == m_options.sealPly &&
                people().IsMyTurn()) {
                m_bSealRequested = true;
                Resume().SendSealRequest(true);
            }
            return;
        }
        if (m_pEngine == nullptr && ply >= m_options.moves.size())
            return;
        if (static_cast<int>(ply) == m_options.waitWatcherPly && !m_bWatcherSeen)
            return;
        // The unlock reaches the table twice (at its header and as a message); a move sent
        // after the first must not go again after the second.
        if (static_cast<int>(ply) == m_nSentPly)
            return;
        const Colour colour = ColourToMove();
        const CPlayerManager& people = m_context.PlayerManager();
        if (colour == Colour::None || (!m_context.Mode().LocalMode() &&
                                       (!people.IsMyTurn() || colour != people.GetOwnColour())))
            return;
        if (m_options.thinkSeconds > 0 && m_nThoughtPly != static_cast<int>(ply)) {
            if (m_nThinkingPly != static_cast<int>(ply)) {
                m_nThinkingPly = static_cast<int>(ply);
                const int game = m_nGame;
                QTimer::singleShot(m_options.thinkSeconds * 1000, Qt::PreciseTimer,
                                   [this, game, ply] {
                                       if (game != m_nGame)
                                           return;
                                       m_nThoughtPly = static_cast<int>(ply);
                                       TryMove();
                                   });
            }
            return;
        }
        std::string text;
        if (m_pEngine != nullptr) {
            const auto answer =
                m_pEngine->MoveFor(m_nGame, m_board, colour, Clock(), m_context.TimeControl());
            if (!answer)
                return;
            if (answer->resign) {
                Print("engine resigns");
                ResignGame();
                return;
            }
            text = answer->text;
        } else {
            text = m_options.moves[ply];
        }
        auto move = CCoordinateMove::Parse(text);
        if (move && m_pEngine != nullptr)
            move = CBotEngine::OnBoard(*move, m_board);
        CBaseRule* rule = move ? m_board.RuleAt(move->from) : nullptr;
        const PieceKind promotion =
            move && move->special != 0 ? PromotionKind(move->special) : PieceKind::Queen;
        MoveRecord record;
        if (rule == nullptr || !rule->CheckMoveWithPromotion(colour, move->from, move->to, m_board,
                                                             promotion, record)) {
            Print("refused move=" + text);
            Finish(1);
            return;
        }
        m_nSentPly = static_cast<int>(ply);
        Table().SendMove(record);
    }

    // The client's parts; the client is made right after the bot.
    CTableClient& Client() const { return *m_client; }
    CTableBoard& Table() const { return Client().Board(); }
    const CMainViewClock& Clock() const { return Client().Clock(); }
    CNegotiation& Negotiation() const { return Client().Negotiation(); }
    CResumeNegotiation& Resume() const { return Client().Resume(); }

public:
    BotPrompts m_prompts;

private:
    const Options& m_options;
    CGameContext& m_context;
    std::optional<CTableClient>& m_client;
    CChnChessBoard& m_board;
    std::vector<bool> m_requestsDone;
    // The button that confirms the bot's own request dialog, while it makes one.
    int32_t m_nRequestButton = 0;
    // Start waits for the answer to the bot's exchange request.
    bool m_bExchangePending = false;
    bool m_bTableClosed = false;
    // Requests of the bot's own still without their answer.
    int m_nAwaitedAnswers = 0;
    // The ply count last seen, to notice a take-back.
    int m_nLastPly = 0;
    bool m_bSealRequested = false;
    // The opponent refused the seal: the game is played on.
    bool m_bSealRefused = false;
    bool m_bResumeRequested = false;
    bool m_bStartPressed = false;
    bool m_bWatcherSeen = false;
    bool m_bResult = false;
    // The bot resigned or was let go from the game: it makes no more moves in it.
    bool m_bGivenUp = false;
    bool m_bFinished = false;
    int m_nSentPly = -1;
    // The games of the desk so far; a thought from an earlier game is dropped.
    int m_nGame = 0;
    // The ply whose move is being thought over, and the one thought over.
    int m_nThinkingPly = -1;
    int m_nThoughtPly = -1;
    // The ply count of the last clock line.
    int m_nClockPly = -1;
    CZynChatImp& m_chat;
    std::vector<bool> m_said;
    CBotEngine* m_pEngine;
    bool m_bGreeted = false;
    bool m_bEngineGone = false;
    // How often the engine failed at this table; the third time the bot leaves.
    static constexpr int MAX_ENGINE_FAILURES = 3;
    int m_nEngineFailures = 0;
    // Start was offered while it could not be pressed.
    bool m_bStartOffered = false;
    // Lines for the chat said before the table could take them.
    std::vector<std::string> m_unsaid;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    const int parsed = ParseOptions(argc, argv, options);
    if (parsed >= 0)
        return parsed;

    QCoreApplication app(argc, argv);
    CQtEventLoop loop;
    // The engine starts first: the bot enters the desk under its name, or not at all.
    std::unique_ptr<CBotEngine> engine;
    if (options.engine) {
        const auto own = std::find_if(options.people.begin(), options.people.end(),
                                      [&](const PERSON& p) { return options.me == p.username; });
        if (own == options.people.end() || RoleFromStatus(own->status) != TableRole::Player)
            return Fail("--engine needs --me to be one of the --player people");
        engine = std::make_unique<CBotEngine>(loop, Print);
        const int failed = engine->Start(options.engineCommand,
                                         options.level > 0 ? options.level : EngineLevel::DEFAULT);
        if (failed >= 0)
            return failed;
        CGbkConverter::ToField(own->nickname, engine->Nickname());
    }
    PrintingSender printingSender;
    CGameContext context(options.local ? &printingSender : nullptr);
    printingSender.inner = &context.CommunicationLayer();
    CPlayerManager& people = context.PlayerManager();
    people.SetSeatCount(2);
    const PERSON* own = nullptr;
    for (const PERSON& person : options.people) {
        people.AddPerson(person);
        if (options.me == person.username)
            own = &person;
    }
    if (own == nullptr) {
        std::fprintf(stderr, "kelo-bot: --me %s is none of the people given\n", options.me.c_str());
        return 2;
    }
    people.SetOwnId(own->id);
    context.Mode().SetLocalMode(options.local);
    context.Mode().SetRole(RoleFromStatus(own->status));

    CHallSettings& hall = context.Hall();
    hall.deskNo = options.desk;
    hall.serviceType = options.types[0];
    hall.gameType = options.types[1];
    hall.subType = options.types[2];
    hall.gameServerHost = options.host;
    hall.gameServerPort = static_cast<uint32_t>(options.port);
    context.Settings().m_strManualPath = options.recordFolder;
    context.Settings().m_nSaveType = 1;

    // Before the table client, which leaves the registry as it goes.
    SocketControl socket;
    PrintingSocket printingSocket(socket);
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<PrintingLinkObserver> linkPrinter;
    std::unique_ptr<CMessageSinkRegistry> localRegistry;
    CMessageSinkRegistry* registry = nullptr;
    PrintingSink printer;
    BotResumeDialogs resumeDialogs(loop, options.answer != 0);
    std::optional<CTableClient> client;
    CZynChatImp chat(people, context.Mode(), context.Sender(),
                     [&context] { return context.CommunicationLayer().IsConnected(); });
    // The table's notices, as the window's chat shows them; they keep the mark that the
    // opponent's connection is broken, by which the waiting player judges the absent one's clock.
    CBaseChatView notices(people, context.State(), chat);
    CBot bot(options, context, client, chat, engine.get());
    if (engine) {
        engine->onAnswer = [&bot] { bot.EngineAnswered(); };
        engine->onGone = [&bot](const std::string& why) { bot.EngineGone(why); };
        engine->onRestarted = [&bot](bool ok, const std::string& why) {
            bot.EngineRestarted(ok, why);
        };
        engine->say = [&bot](const std::string& text) { bot.SayForEngine(text); };
        if (options.controlStdin)
            engine->ReadControlInput();
    }
    // The bot answers the negotiations' dialogs. The button board tells what the window's
    // tells (a refused seal, a watcher's seal); the bot presses none of its buttons.
    client.emplace(context, loop, CTableClient::Ports{resumeDialogs, nullptr, nullptr, &bot});
    client->Negotiation().SetCountdownSeconds(options.countdownSeconds);
    resumeDialogs.onSealed = [&bot] { bot.OnSealed(); };
    context.SetPrompts(&bot.m_prompts);

    if (options.local) {
        localRegistry = std::make_unique<CMessageSinkRegistry>(loop);
        registry = localRegistry.get();
        context.CommunicationLayer().Attach(nullptr, registry, &loop, nullptr);
    } else {
        frame = std::make_unique<CMainFrame>(context, loop, printingSocket, bot, 0);
        linkPrinter = std::make_unique<PrintingLinkObserver>(*frame);
        registry = &frame->Link().Registry();
    }
    // The printer first, so that a message is shown before what it leads to; then the table
    // client in its own order; the bot last, so that it sees the board and the clocks after
    // they took the message.
    registry->RegisterSink(&printer);
    std::unique_ptr<PeoplePrinter> peoplePrinter;
    if (options.printPeople) {
        peoplePrinter = std::make_unique<PeoplePrinter>(
            people, context.State(), [](const std::string& line) { Print(line); });
        registry->RegisterSink(peoplePrinter.get());
    }
    client->Attach(*registry);
    registry->RegisterSink(&notices);
    registry->RegisterSink(&bot);

    if (options.timeoutSeconds > 0) {
        QTimer::singleShot(options.timeoutSeconds * 1000, [&bot] {
            Print("timeout");
            bot.Finish(1);
        });
    }
    if (options.local) {
        // The server's prepare message, which starts a local game at once.
        const std::vector<uint8_t> prepare(40, 0);
        loop.Post([registry, prepare] {
            Print("local table");
            registry->HandOn(MSG_GAME_PREPARE, prepare.data(), 40);
        });
    } else {
        frame->Connect();
    }
    const int code = app.exec();
    registry->UnregisterSink(&bot);
    client->Detach();
    registry->UnregisterSink(&printer);
    if (peoplePrinter)
        registry->UnregisterSink(peoplePrinter.get());
    context.CommunicationLayer().Detach();
    return code;
}
