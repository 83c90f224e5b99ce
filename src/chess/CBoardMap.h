#pragma once

#include "chess/CBasePiece.h"
#include "chess/CBasePoint.h"

#include <array>
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

private:
    std::array<CBasePiece*, SLOTS> m_slots{};
    int m_nCount = 0;
};

} // namespace kelo
