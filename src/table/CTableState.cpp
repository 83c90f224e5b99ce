// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CTableState.h"

#include <algorithm>

namespace kelo {

void CTableState::NewGame() {
    const bool counted = m_nTakeBackCount != 0 || m_seatTakeBacks != std::array<int16_t, 2>{};
    m_nTakeBackCount = 0;
    m_seatTakeBacks = {0, 0};
    if (counted)
        Tell(TableStateChange::TakeBacks);
    ChangeGame(GameState::None);
}

void CTableState::MarkReady() {
    ChangeGame(GameState::Ready);
}

void CTableState::BeginPlaying() {
    ChangeGame(GameState::Playing);
}

void CTableState::JoinPlaying(int16_t maxTakeBacks) {
    ChangeLock(TableLock::Locked);
    if (m_nMaxTakeBacks != maxTakeBacks) {
        m_nMaxTakeBacks = maxTakeBacks;
        Tell(TableStateChange::TakeBacks);
    }
    ChangeGame(GameState::Playing);
}

void CTableState::ResumePlaying(int16_t ownTakeBacks, const std::array<int16_t, 2>& seatTakeBacks) {
    m_nTakeBackCount = ownTakeBacks;
    m_seatTakeBacks = seatTakeBacks;
    Tell(TableStateChange::TakeBacks);
    ChangeGame(GameState::Playing);
    ChangeLock(TableLock::Free);
}

void CTableState::End(GameEnd why) {
    m_lastEnd = why;
    ChangeGame(GameState::Ended);
}

void CTableState::Close() {
    ChangeGame(GameState::Closing);
}

void CTableState::ClearGame() {
    ChangeGame(GameState::None);
}

void CTableState::Lock() {
    ChangeLock(TableLock::Locked);
}

void CTableState::Unlock() {
    ChangeLock(TableLock::Free);
}

void CTableState::StartTakeBacks(int16_t used, int16_t allowed) {
    m_nTakeBackCount = used;
    m_nMaxTakeBacks = allowed;
    Tell(TableStateChange::TakeBacks);
}

void CTableState::CountOwnTakeBack() {
    ++m_nTakeBackCount;
    Tell(TableStateChange::TakeBacks);
}

void CTableState::NoteSeatTakeBacks(uint16_t seat, int16_t count) {
    if (seat >= m_seatTakeBacks.size())
        return;
    m_seatTakeBacks[seat] = count;
    Tell(TableStateChange::TakeBacks);
}

void CTableState::MarkOpponentBroken() {
    if (m_bOpponentBroken)
        return;
    m_bOpponentBroken = true;
    Tell(TableStateChange::Connection);
}

void CTableState::MarkOpponentBack() {
    if (!m_bOpponentBroken)
        return;
    m_bOpponentBroken = false;
    Tell(TableStateChange::Connection);
}

void CTableState::AddObserver(ITableStateObserver* observer) {
    if (observer != nullptr &&
        std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void CTableState::RemoveObserver(ITableStateObserver* observer) {
    std::erase(m_observers, observer);
}

void CTableState::ChangeGame(GameState state) {
    if (m_gameState == state)
        return;
    m_gameState = state;
    Tell(TableStateChange::Game);
}

void CTableState::ChangeLock(TableLock lock) {
    if (m_lock == lock)
        return;
    m_lock = lock;
    Tell(TableStateChange::Lock);
}

void CTableState::Tell(TableStateChange change) {
    // A copy: an observer may stop observing while it is told.
    const std::vector<ITableStateObserver*> observers = m_observers;
    for (ITableStateObserver* observer : observers)
        observer->OnTableStateChanged(change);
}

} // namespace kelo
