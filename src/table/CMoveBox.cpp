// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CMoveBox.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "chess/CCoordinateMove.h"
#include "chess/CSanMove.h"
#include "chess/ChessTypes.h"
#include "link/CTableMode.h"
#include "table/CBoardWindowModel.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerPanelModel.h"
#include "table/CTableBoard.h"
#include "table/CTableState.h"

#include <cctype>
#include <cstring>

namespace kelo {

const char* const CMoveBox::HELP =
    "输入着法后按回车：Nf3、exd5、O-O、e8=Q 或 g1f3、e7e8q\n"
    "查询：c 双方时间，l 上一步，p N 白马在哪（小写为黑方），s a / s 4 某列或某行的棋子，"
    "m e2 e2 上棋子的走法";

namespace {
const char* const START_FIRST = "提示：请双方都按“开始”按钮后方可进行游戏！";
const char* const KIND_ORDER = "KQRBNP";
const PieceKind KINDS[] = {PieceKind::King,   PieceKind::Queen,  PieceKind::Rook,
                           PieceKind::Bishop, PieceKind::Knight, PieceKind::Pawn};

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Typed text may hold any bytes (a Chinese character): only ASCII is lowered.
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Quoted(const std::string& text) {
    return "“" + text + "”";
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& part : parts)
        out += (out.empty() ? "" : separator) + part;
    return out;
}

std::string PieceName(const CBasePiece& piece) {
    return std::string(ColourName(piece.m_colour)) + CMoveBox::KindName(piece.m_kind);
}

// Coordinates as players write them: e2e4, e2-e4, e2xe4, e7e8q, E2E4.
std::optional<CCoordinateMove> ReadCoordinates(std::string text) {
    for (char& c : text)
        c = Lower(c);
    if (text.size() >= 5 && (text[2] == '-' || text[2] == 'x'))
        text.erase(2, 1);
    if (text.size() == 6 && text[4] == '=')
        text.erase(4, 1);
    return CCoordinateMove::Parse(text);
}
} // namespace

const char* CMoveBox::KindName(PieceKind kind) {
    switch (kind) {
    case PieceKind::King:
        return "王";
    case PieceKind::Queen:
        return "后";
    case PieceKind::Rook:
        return "车";
    case PieceKind::Bishop:
        return "象";
    case PieceKind::Knight:
        return "马";
    case PieceKind::Pawn:
        return "兵";
    default:
        return "子";
    }
}

CMoveBox::MoveReading CMoveBox::ReadMove(CBaseBoard& board, Colour colour,
                                         const std::string& typed) {
    MoveReading result;
    const std::string text = Trimmed(typed);
    if (text.empty())
        return result;
    if (const auto coordinate = ReadCoordinates(text)) {
        for (const MoveRecord& move : CSanMove::LegalMoves(board, colour)) {
            if (!(move.from == coordinate->from) || !(move.to == coordinate->to))
                continue;
            // Without a letter a promotion fits all four pieces: the player must name one.
            if (coordinate->special == 0 || move.special == coordinate->special)
                result.candidates.push_back(move);
        }
    } else {
        auto matches = CSanMove::Matches(board, colour, text);
        // A piece letter typed in lower case still names the piece, except b, which is the
        // b-file's pawn.
        if ((!matches || matches->empty()) &&
            std::string("kqrn").find(text[0]) != std::string::npos) {
            std::string upper = text;
            upper[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(upper[0])));
            if (auto retry = CSanMove::Matches(board, colour, upper); retry && !retry->empty())
                matches = retry;
        }
        if (!matches)
            return result;
        // A pawn move to the last row without a piece named fits the four promotions.
        if (matches->empty())
            for (const char* piece : {"=Q", "=R", "=B", "=N"})
                if (auto promoted = CSanMove::Matches(board, colour, text + piece))
                    matches->insert(matches->end(), promoted->begin(), promoted->end());
        result.candidates = std::move(*matches);
    }
    if (result.candidates.empty()) {
        result.reading = Reading::Illegal;
    } else if (result.candidates.size() > 1) {
        result.reading = Reading::Ambiguous;
    } else {
        result.reading = Reading::Move;
        result.move = result.candidates.front();
        result.candidates.clear();
    }
    return result;
}

std::string CMoveBox::Explain(CBaseBoard& board, Colour colour, const std::string& typed,
                              const MoveReading& reading) {
    const std::string text = Quoted(Trimmed(typed));
    switch (reading.reading) {
    case Reading::NotUnderstood:
        return "看不懂" + text + "：请输入着法（如 Nf3、e2e4）或查询（c、l、p N、s a、m e2）";
    case Reading::Illegal:
        return text + "不是" + ColourName(colour) + "现在能走的棋";
    case Reading::Ambiguous: {
        std::vector<std::string> names;
        for (const MoveRecord& move : reading.candidates)
            names.push_back(CSanMove::Format(board, colour, move));
        return text + "可以是 " + Joined(names, "、") + "，请写清楚";
    }
    case Reading::Move:
        break;
    }
    return {};
}

std::string CMoveBox::SquareText(CBaseBoard& board, CBasePoint square) {
    const std::string name = CSanMove::SquareName(square);
    const CBasePiece* piece = board.PieceAt(square);
    return name + " " + (piece != nullptr ? PieceName(*piece) : std::string("空"));
}

std::string CMoveBox::LastMove(CBaseBoard& board) {
    MoveRecord last;
    if (!board.Position().LastMove(last))
        return "还没有走棋";
    return "上一步 " + CBaseDiagram::MoveText(last);
}

std::string CMoveBox::PiecesOf(CBaseBoard& board, char letter) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    const char* found = upper != 0 ? std::strchr(KIND_ORDER, upper) : nullptr;
    if (found == nullptr)
        return "p 后面写棋子的字母 K Q R B N P，大写为白方，小写为黑方";
    const PieceKind kind = KINDS[found - KIND_ORDER];
    const Colour colour = upper == letter ? Colour::White : Colour::Black;
    std::vector<std::string> squares;
    for (int x = 0; x < 8; ++x)
        for (int rank = 1; rank <= 8; ++rank) {
            const CBasePoint square(x, 8 - rank);
            const CBasePiece* piece = board.PieceAt(square);
            if (piece != nullptr && piece->m_kind == kind && piece->m_colour == colour)
                squares.push_back(CSanMove::SquareName(square));
        }
    const std::string name = std::string(ColourName(colour)) + KindName(kind);
    return name + "：" + (squares.empty() ? std::string("没有") : Joined(squares, "、"));
}

std::string CMoveBox::PiecesOn(CBaseBoard& board, char line) {
    std::vector<CBasePoint> squares;
    std::string title;
    if (line >= 'a' && line <= 'h') {
        title = std::string(1, line) + " 列";
        for (int rank = 1; rank <= 8; ++rank)
            squares.push_back(CBasePoint(line - 'a', 8 - rank));
    } else if (line >= '1' && line <= '8') {
        title = std::string("第 ") + line + " 行";
        for (int x = 0; x < 8; ++x)
            squares.push_back(CBasePoint(x, '8' - line));
    } else {
        return "s 后面写一列（a 到 h）或一行（1 到 8）";
    }
    std::vector<std::string> pieces;
    for (CBasePoint square : squares)
        if (board.PieceAt(square) != nullptr)
            pieces.push_back(SquareText(board, square));
    return title + "：" + (pieces.empty() ? std::string("没有棋子") : Joined(pieces, "，"));
}

std::string CMoveBox::MovesOf(CBaseBoard& board, CBasePoint square) {
    const CBasePiece* piece = board.PieceAt(square);
    if (piece == nullptr)
        return SquareText(board, square) + "，没有棋子";
    const Colour colour = piece->m_colour;
    std::vector<std::string> moves;
    for (const MoveRecord& move : CSanMove::LegalMoves(board, colour))
        if (move.from == square)
            moves.push_back(CSanMove::Format(board, colour, move));
    const std::string head = SquareText(board, square);
    if (moves.empty())
        return head + "没有能走的棋";
    return head + "可走 " + Joined(moves, "、");
}

std::string CMoveBox::PanelText(const CPlayerPanelModel::Slot& slot) {
    std::string text = IsSide(slot.colour) ? ColourName(slot.colour) : "";
    // A local table's players are named after their sides.
    if (slot.nickname != text)
        text += " " + slot.nickname;
    if (slot.toMove)
        text += " 走棋中";
    return text + "，局时 " + slot.totalLeft + "，步时 " + slot.moveLeft + "，已走 " + slot.moves;
}

std::string CMoveBox::Clocks() const {
    if (!m_panels.Visible())
        return "还没有对手，没有计时";
    // The player at the bottom first: for a player, the own clock.
    return PanelText(m_panels.SlotAt(1)) + "；" + PanelText(m_panels.SlotAt(0));
}

CMoveBox::Answer CMoveBox::Enter(const std::string& typed) {
    const std::string text = Trimmed(typed);
    CBaseBoard& board = m_boardWindow.TableBoard().Board();
    if (text.empty())
        return {"请输入着法或查询", false};
    if (text == "c")
        return {Clocks(), false};
    if (text == "l")
        return {LastMove(board), false};
    // A letter, a space and what is asked about: nothing else reads so, so no move is lost.
    if (text.size() >= 2 && text[1] == ' ' && std::strchr("psm", text[0]) != nullptr) {
        const std::string about = Trimmed(text.substr(2));
        const char first = about.size() == 1 ? about[0] : '?';
        if (text[0] == 'p')
            return {PiecesOf(board, first), false};
        if (text[0] == 's')
            return {PiecesOn(board, Lower(first)), false};
        const char file = about.size() == 2 ? Lower(about[0]) : '?';
        const char rank = about.size() == 2 ? about[1] : '?';
        if (file >= 'a' && file <= 'h' && rank >= '1' && rank <= '8')
            return {MovesOf(board, CBasePoint(file - 'a', '8' - rank)), false};
        return {"m 后面写一个格子，如 m e2", false};
    }
    return PlayTyped(text);
}

CMoveBox::Answer CMoveBox::PlayTyped(const std::string& text) {
    const GameState state = m_table.state.State();
    if (state == GameState::None || state == GameState::Ready)
        return {START_FIRST, false};
    if (!m_boardWindow.CanAct()) {
        if (m_table.mode.IsWatcher())
            return {"旁观时不能走棋", false};
        if (m_boardWindow.TableBoard().m_bAwaitingEcho)
            return {"上一步棋还没有回应，请稍等", false};
        if (m_table.state.IsPlaying() && !m_table.state.IsLocked() && !m_table.mode.LocalMode() &&
            !m_table.people.IsMyTurn())
            return {"现在轮到对方走棋", false};
        return {"现在不能走棋", false};
    }
    CBaseBoard& board = m_boardWindow.TableBoard().Board();
    const Colour colour = m_boardWindow.MoverColour();
    const MoveReading reading = ReadMove(board, colour, text);
    if (reading.reading != Reading::Move)
        return {Explain(board, colour, text, reading), false};
    // A piece picked up with the mouse or the keys goes back first, as after a click's move.
    m_boardWindow.PutBack();
    m_boardWindow.TableBoard().SendMove(reading.move);
    return {"", true};
}

} // namespace kelo
