// SPDX-License-Identifier: GPL-3.0-or-later
#include "social/CZynPersonListImp.h"

#include "base/CGbkConverter.h"
#include "base/CSkinManager.h"
#include "base/TableTypes.h"

#include <algorithm>
#include <cstring>

namespace kelo {

namespace {

const std::array<const char*, CZynPersonListImp::COLUMN_COUNT> COLUMN_TITLES = {
    "用户名", "昵称", "性别", "会员", "积分", "胜局数", "负局数", "平局数"};

bool IsWatcher(const PERSON& person) {
    return RoleFromStatus(person.status) == TableRole::Watcher;
}

// Players by seat, then watchers by watcher number.
bool ListedBefore(const PERSON& a, const PERSON& b) {
    if (IsWatcher(a) != IsWatcher(b))
        return !IsWatcher(a);
    if (IsWatcher(a))
        return static_cast<uint16_t>(a.watchno) < static_cast<uint16_t>(b.watchno);
    return a.seatno < b.seatno;
}

} // namespace

CZynPersonListImp::CZynPersonListImp() {
    for (int i = 0; i < COLUMN_COUNT; ++i)
        m_titles[static_cast<size_t>(i)] = COLUMN_TITLES[static_cast<size_t>(i)];
}

void CZynPersonListImp::SetColours(const CSkinManager& skin) {
    m_colours = Colours();
    // A skin without a list look (text and background alike) keeps the fixed set.
    if (skin.m_clrListBack == skin.m_clrListText)
        return;
    m_colours.back = skin.m_clrListBack;
    m_colours.selfBack = skin.m_clrListSelfBack;
    m_colours.selectBack = skin.m_clrListSelectBk;
    m_colours.text = skin.m_clrListText;
    m_colours.selectText = skin.m_clrListSelect;
}

void CZynPersonListImp::SetListHead(const char* area, size_t length) {
    for (size_t column = 0; column < COLUMN_COUNT; ++column) {
        const size_t at = column * LIST_HEAD_SLOT;
        if (area == nullptr || at >= length)
            break;
        const std::string slot =
            CGbkConverter::FromField(area + at, std::min(LIST_HEAD_SLOT, length - at));
        if (!slot.empty())
            m_titles[column] = CGbkConverter::ToUtf8(slot);
    }
    Changed();
}

void CZynPersonListImp::AddPerson(const PERSON& person) {
    auto same = [&](const PERSON& row) { return row.id == person.id; };
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(), same), m_rows.end());
    m_rows.insert(std::upper_bound(m_rows.begin(), m_rows.end(), person, ListedBefore), person);
    Changed();
}

void CZynPersonListImp::RemovePerson(const PERSON& person) {
    auto same = [&](const PERSON& row) { return row.id == person.id; };
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(), same), m_rows.end());
    m_extra.erase(person.id);
    Changed();
}

void CZynPersonListImp::UpdatePerson(const PERSON& person) {
    auto same = [&](const PERSON& row) { return row.id == person.id; };
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(), same), m_rows.end());
    AddPerson(person);
}

void CZynPersonListImp::SetSelf(const PERSON& person) {
    m_nSelfId = person.id;
    m_bHasSelf = true;
    Changed();
}

void CZynPersonListImp::Reset() {
    m_rows.clear();
    m_extra.clear();
    Changed();
}

bool CZynPersonListImp::SetExtraData(const uint8_t* record, size_t size) {
    if (record == nullptr || size != EXTRA_SIZE)
        return false;
    uint32_t id = 0;
    std::memcpy(&id, record, sizeof id);
    m_extra[id].assign(record, record + size);
    Changed();
    return true;
}

const std::vector<uint8_t>& CZynPersonListImp::ExtraData(uint32_t id) const {
    static const std::vector<uint8_t> none;
    const auto it = m_extra.find(id);
    return it != m_extra.end() ? it->second : none;
}

std::string CZynPersonListImp::CellText(const PERSON& person, int column) {
    switch (column) {
    case 0:
        return CGbkConverter::ToUtf8(CGbkConverter::FromField(person.username));
    case 1:
        return CGbkConverter::ToUtf8(CGbkConverter::FromField(person.nickname));
    case 2:
        return person.sex == 1 ? "男" : person.sex == 0 ? "女" : "";
    case 3:
        return person.ismember != 0 ? "是" : "否";
    case 4:
        return std::to_string(person.gamescore);
    case 5:
        return std::to_string(person.winnum);
    case 6:
        return std::to_string(person.losenum);
    case 7:
        return std::to_string(person.equalnum);
    default:
        return {};
    }
}

void CZynPersonListImp::RaisePersonEvent(size_t row) {
    if (row < m_rows.size() && onPersonEvent)
        onPersonEvent(m_rows[row]);
}

void CZynPersonListImp::Changed() {
    if (onChanged)
        onChanged();
}

} // namespace kelo
