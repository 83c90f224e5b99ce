// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePiece.h"
#include "chess/CBasePoint.h"
#include "chess/ChessTypes.h"

#include <array>
#include <bit>
#include <cstdint>

namespace kelo {

// The pieces standing on the board, keyed by square code. A fixed table of 8x8 slots indexed
// x*8 + y, so walking the slots in index order visits the squares in increasing code order
// (column by column from a8 downwards). Codes of other squares are never stored.
class CBoardMap {
public:
    static constexpr int SIZE = 8;
    static constexpr int SLOTS = SIZE * SIZE;

    static constexpr bool IsValidCode(int32_t code) {
        return code >= 0 && code < SIZE * 100 && code % 100 < SIZE;
    }
    static constexpr int SlotOf(int32_t code) { return code / 100 * SIZE + code % 100; }
    static constexpr int32_t CodeOfSlot(int slot) { return slot / SIZE * 100 + slot % SIZE; }
    // The point of each slot, made once: the hot loops of the rules would otherwise decode a
    // code for every square they look at.
    static const CBasePoint& PointOfSlot(int slot) { return POINTS[slot]; }

    CBasePiece* Get(int32_t code) const {
        return IsValidCode(code) ? m_slots[SlotOf(code)] : nullptr;
    }
    CBasePiece* Get(CBasePoint p) const {
        if (p.z != 0 || p.x < 0 || p.x >= SIZE || p.y < 0 || p.y >= SIZE)
            return nullptr;
        return m_slots[p.x * SIZE + p.y];
    }
    // Puts the piece on the square, replacing whatever stood there; false for a code off the
    // board.
    bool Put(int32_t code, CBasePiece* piece) {
        if (!IsValidCode(code))
            return false;
        CBasePiece*& slot = m_slots[SlotOf(code)];
        m_nCount += (slot == nullptr) - (piece == nullptr);
        const int index = SlotOf(code);
        if (slot != nullptr && IsTracked(slot)) {
            m_colourMask[SideIndex(slot->m_colour)] &= ~(uint64_t{1} << index);
            if (slot->m_kind == PieceKind::King)
                --m_kings[SideIndex(slot->m_colour)].count;
        }
        if (piece != nullptr && IsTracked(piece))
            m_colourMask[SideIndex(piece->m_colour)] |= uint64_t{1} << index;
        if (piece != nullptr && IsTracked(piece) && piece->m_kind == PieceKind::King) {
            King& king = m_kings[SideIndex(piece->m_colour)];
            king.square = ++king.count == 1 ? code : NO_SQUARE;
        }
        slot = piece;
        return true;
    }
    CBasePiece* Take(int32_t code) {
        CBasePiece* piece = Get(code);
        if (piece != nullptr)
            Put(code, nullptr);
        return piece;
    }
    void Clear() {
        m_slots.fill(nullptr);
        m_nCount = 0;
        m_kings[0] = m_kings[1] = King{};
        m_colourMask[0] = m_colourMask[1] = 0;
    }
    // The square of the only king of the colour, or NO_SQUARE when there is none or more than
    // one (the caller then walks the board). Kings are looked up after every trial move.
    int32_t SoleKingSquare(Colour colour) const {
        if (colour != Colour::White && colour != Colour::Black)
            return NO_SQUARE;
        const King& king = m_kings[SideIndex(colour)];
        return king.count == 1 ? king.square : NO_SQUARE;
    }
    int Count() const { return m_nCount; }
    CBasePiece* Slot(int slot) const { return m_slots[slot]; }

    // Calls f(code, piece) for every piece in increasing square code; f returns true to stop.
    template <typename F> bool ForEach(F&& f) const {
        for (int slot = 0; slot < SLOTS; ++slot) {
            if (m_slots[slot] != nullptr && f(CodeOfSlot(slot), m_slots[slot]))
                return true;
        }
        return false;
    }

    // Calls f(code, piece) for every piece of one colour in increasing square code; f returns
    // true to stop. Most walks look for one side's pieces only.
    // Only the slots of the given mask (bit x*8 + y) are visited.
    template <typename F>
    bool ForEachOfColour(Colour colour, F&& f, uint64_t slotMask = ~uint64_t{0}) const {
        if (colour != Colour::White && colour != Colour::Black) {
            return ForEach([&](int32_t code, CBasePiece* piece) {
                return ((slotMask >> SlotOf(code)) & 1) && piece->m_colour == colour &&
                       f(code, piece);
            });
        }
        for (uint64_t mask = m_colourMask[SideIndex(colour)] & slotMask; mask != 0;
             mask &= mask - 1) {
            const int slot = std::countr_zero(mask);
            if (f(CodeOfSlot(slot), m_slots[slot]))
                return true;
        }
        return false;
    }

private:
    static constexpr std::array<CBasePoint, SLOTS> POINTS = [] {
        std::array<CBasePoint, SLOTS> points{};
        for (int slot = 0; slot < SLOTS; ++slot)
            points[slot] = CBasePoint(slot / SIZE, slot % SIZE);
        return points;
    }();

    struct King {
        int count = 0;
        // Valid while count is 1 and the king was the first placed; otherwise NO_SQUARE.
        int32_t square = NO_SQUARE;
    };
    static bool IsTracked(const CBasePiece* piece) {
        return piece->m_colour == Colour::White || piece->m_colour == Colour::Black;
    }

    std::array<CBasePiece*, SLOTS> m_slots{};
    King m_kings[2];
    uint64_t m_colourMask[2] = {0, 0};
    int m_nCount = 0;
};

} // namespace kelo
