// SPDX-License-Identifier: GPL-3.0-or-later
// A client that enters a game under way: the game state (663) and its 300 moves (10001) go
// through the board's replay, which re-posts every move to all of the table's windows, and the
// position and the clocks end where the game stands. It has to be done within one 60 Hz frame
// (16 ms).
#include "app/CGameContext.h"
#include "app/CTableClient.h"
#include "chess/CBaseRule.h"
#include "chess/CChessDiagram.h"
#include "chess/CChessSet.h"
#include "chess/CChnChessBoard.h"
#include "chess/ChessTypes.h"
#include "link/CMessageSinkRegistry.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_MOVE.h"
#include "link/MessageTypes.h"
#include "link/PERSON.h"
#include "ports/IEventLoop.h"
#include "table/CPlayerManager.h"
#include "table/CTableBoard.h"

#include <benchmark/benchmark.h>

#include <deque>
#include <random>
#include <vector>

namespace {

using namespace kelo;

constexpr int PLIES = 300;

// The GUI thread's queue without a GUI: posted tasks run when the bench drains it.
class QueueLoop : public IEventLoop {
public:
    void Post(Task task) override { m_tasks.push_back(std::move(task)); }
    void SetTimer(ITimerSink*, uint32_t, uint32_t) override {}
    void KillTimer(ITimerSink*, uint32_t) override {}
    void KillTimers(ITimerSink*) override {}
    void Drain() {
        while (!m_tasks.empty()) {
            Task task = std::move(m_tasks.front());
            m_tasks.pop_front();
            task();
        }
    }

private:
    std::deque<Task> m_tasks;
};

// A game of random legal moves, the same every run, as the server keeps its steps.
std::vector<uint8_t> RandomGame() {
    for (unsigned seed = 1;; ++seed) {
        CChessSet game;
        CChnChessBoard& board = game.Board();
        CChessDiagram& position = game.Position();
        board.NewPosition();
        std::mt19937 random(seed);
        std::vector<uint8_t> steps;
        Colour colour = Colour::White;
        for (int ply = 0; ply < PLIES; ++ply, colour = OppositeColour(colour)) {
            std::vector<MoveRecord> legal;
            for (int from = 0; from < 64; ++from) {
                const CBasePoint f(from / 8, from % 8);
                const CBasePiece* piece = position.PieceAt(f);
                CBaseRule* rule =
                    piece != nullptr && piece->m_colour == colour ? board.RuleAt(f) : nullptr;
                for (int to = 0; rule != nullptr && to < 64; ++to) {
                    MoveRecord record;
                    if (rule->CheckMove(colour, f, CBasePoint(to / 8, to % 8), board, &record))
                        legal.push_back(record);
                }
            }
            if (legal.empty())
                break;
            const MoveRecord move = legal[random() % legal.size()];
            position.Apply(move);
            const auto wire = MSG_MOVE_BODY::FromRecord(move).ToWire();
            steps.insert(steps.end(), wire.begin(), wire.end());
        }
        if (steps.size() == PLIES * MSG_MOVE_BODY::SIZE)
            return steps;
    }
}

PERSON Person(uint32_t id, int16_t seat) {
    PERSON person{};
    person.id = id;
    person.seatno = seat;
    person.status = WireValue(TableRole::Player);
    return person;
}

// Nobody is asked to seal or resume during a join.
struct NoResumeDialogs : IResumeDialogs {
    void OpenSealRequest(const std::string&, const std::string&, Answer) override {}
    void OpenSealAnswer(const std::string&, Answer) override {}
    void OpenResumeAnswer(const std::string&, Answer) override {}
    void ShowInformation(const std::string&) override {}
};

void BM_JoinGameOf300Plies(benchmark::State& state) {
    const std::vector<uint8_t> steps = RandomGame();
    MSG_GAME_STATE_BODY head;
    head.fields[3] = 1800;
    head.fields[4] = 60;
    head.fields[5] = 10;
    head.fields[13] = PLIES;
    const auto headWire = head.ToWire();
    for (auto _ : state) {
        state.PauseTiming();
        {
            // A fresh table client (context, board, clocks, negotiations, resume) on a registry.
            QueueLoop loop;
            CGameContext context;
            CPlayerManager& people = context.PlayerManager();
            people.SetSeatCount(2);
            people.AddPerson(Person(1, 0));
            people.AddPerson(Person(2, 1));
            people.SetOwnId(2);
            CMessageSinkRegistry registry(loop);
            NoResumeDialogs dialogs;
            CTableClient client(context, loop, {dialogs});
            client.Attach(registry);
            CChnChessBoard& board = context.Board();
            state.ResumeTiming();

            registry.HandOn(MSG_GAME_STATE, headWire.data(), headWire.size());
            registry.HandOn(MSG_GAME_STATE_MOVES, steps.data(),
                            static_cast<uint32_t>(steps.size()));
            loop.Drain();
            benchmark::DoNotOptimize(board.PlyCount());

            state.PauseTiming();
            if (board.PlyCount() != PLIES)
                state.SkipWithError("the replay did not reach the end of the game");
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_JoinGameOf300Plies)->Unit(benchmark::kMillisecond);

} // namespace
