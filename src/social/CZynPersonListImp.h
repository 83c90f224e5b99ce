// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/PERSON.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kelo {

class CSkinManager;

// The list of the people at the table: one row per person with eight columns, the own row
// marked, the colours of the skin, a head picture per row, the extra data the server sends per
// person, and the context menu's items. The list window draws it and passes clicks on.
class CZynPersonListImp {
public:
    // The child window identifier of the list in the table window.
    static constexpr uint16_t CHILD_ID = 32777;
    static constexpr int COLUMN_COUNT = 8;
    // The size of one record of extra data (3110).
    static constexpr size_t EXTRA_SIZE = 176;
    // The context menu's items and the size of each.
    static constexpr std::array<const char*, 3> MENU_ITEMS = {"朋友", "MENUID_2", "MENUID_3"};
    static constexpr int MENU_ITEM_WIDTH = 60;
    static constexpr int MENU_ITEM_HEIGHT = 20;

    // Colours are 0x00BBGGRR values.
    struct Colours {
        uint32_t back = Rgb(70, 71, 50);
        // The seated players' text and the table's highlight.
        uint32_t player = Rgb(255, 100, 0);
        uint32_t playerInfo = Rgb(255, 100, 0);
        uint32_t link = Rgb(0, 100, 255);
        // The rows of the user's friends.
        uint32_t friendText = Rgb(68, 192, 238);
        uint32_t selfBack = Rgb(110, 96, 52);
        uint32_t selectBack = Rgb(49, 106, 197);
        uint32_t text = Rgb(255, 255, 255);
        uint32_t selectText = Rgb(255, 255, 255);
    };
    static constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
        return r | g << 8 | b << 16;
    }

    CZynPersonListImp();

    // The fixed set, then the skin's list colours.
    void SetColours(const CSkinManager& skin);
    const Colours& GetColours() const { return m_colours; }

    // The hall's column titles: 15-byte GBK slots, one per column from the first; an empty
    // slot or one past the area keeps the column's own title.
    void SetListHead(const char* area, size_t length);
    static constexpr size_t LIST_HEAD_SLOT = 15;
    const std::string& Title(int column) const { return m_titles[static_cast<size_t>(column)]; }

    // A person joins the list, or replaces the row with the same id.
    void AddPerson(const PERSON& person);
    void RemovePerson(const PERSON& person);
    // Remove, then add again (the scores changed).
    void UpdatePerson(const PERSON& person);
    // Marks the user's own row.
    void SetSelf(const PERSON& person);
    // The user has left the table: the list is emptied.
    void Reset();
    // One record of extra data (host order) for the person whose id it starts with; a record of
    // another size is refused.
    bool SetExtraData(const uint8_t* record, size_t size);

    // Players by seat first, then the watchers by watcher number.
    const std::vector<PERSON>& Rows() const { return m_rows; }
    uint32_t SelfId() const { return m_nSelfId; }
    bool HasSelf() const { return m_bHasSelf; }
    bool IsSelf(const PERSON& person) const { return m_bHasSelf && person.id == m_nSelfId; }
    // The text of a cell, UTF-8.
    static std::string CellText(const PERSON& person, int column);
    // The extra data of a person, empty when none came.
    const std::vector<uint8_t>& ExtraData(uint32_t id) const;

    // The person event (a row activated): the person of that row is handed to onPersonEvent.
    void RaisePersonEvent(size_t row);
    std::function<void(const PERSON&)> onPersonEvent;
    // Told after every change of the rows or the own mark.
    std::function<void()> onChanged;

private:
    void Changed();

    Colours m_colours;
    std::array<std::string, COLUMN_COUNT> m_titles;
    std::vector<PERSON> m_rows;
    uint32_t m_nSelfId = 0;
    bool m_bHasSelf = false;
    std::map<uint32_t, std::vector<uint8_t>> m_extra;
};

} // namespace kelo
