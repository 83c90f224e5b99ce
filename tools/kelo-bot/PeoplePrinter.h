// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSink.h"
#include "social/CBaseGameinfoView.h"
#include "social/CZynPersonListImp.h"

#include <functional>
#include <string>

namespace kelo {

class CPlayerManager;
class CTableState;

// The table window's people list without the window: the list model follows the messages as it
// does in the window, and after each message that changed it the ids of its rows are printed,
// in increasing order, as "people ID,ID,...".
class PeoplePrinter : public IMessageSink {
public:
    PeoplePrinter(CPlayerManager& people, CTableState& state,
                  std::function<void(const std::string&)> print);
    void OnMessageRev(const CMessageRev& message) override;
    // The line for the list as it is now.
    std::string Line() const;

private:
    CZynPersonListImp m_list;
    CBaseGameinfoView m_view;
    std::function<void(const std::string&)> m_print;
    std::string m_last;
};

} // namespace kelo
