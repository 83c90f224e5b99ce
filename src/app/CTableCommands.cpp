// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CTableCommands.h"

#include "app/CGameContext.h"
#include "base/CGbkConverter.h"
#include "base/SettingsFolders.h"
#include "chess/CChnChessBoard.h"
#include "ports/IBrowser.h"
#include "ports/IPrompts.h"
#include "table/CResumeManager.h"
#include "table/CResumeNegotiation.h"
#include "table/CTableBoard.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kelo {

namespace {
bool IsWebAddress(const std::string& text) {
    auto startsWith = [&](const char* prefix) {
        const std::string head = text.substr(0, std::char_traits<char>::length(prefix));
        std::string lower = head;
        for (char& c : lower)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        return lower == prefix && text.size() > head.size();
    };
    return startsWith("http://") || startsWith("https://");
}

// A path as the path of a file address: every byte but the unreserved ones and "/" escaped, so
// that a folder named with "#", "?", blanks or Chinese reads back as itself.
std::string EncodedPath(const std::string& path) {
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || std::strchr("-._~/", c) != nullptr) {
            out += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            out += escaped;
        }
    }
    return out;
}
} // namespace

void CTableCommands::SaveGame() {
    CResumeManager(m_context.Table(), m_context.Board(), m_context.Settings(), m_context.Prompts())
        .SaveGame(CResumeManager::SAVE_ASKED, m_board.FinishedGameOnView());
}

void CTableCommands::LoadRecord() {
    m_resume.ResumeFromFile();
}

void CTableCommands::SetHelp(IBrowser* browser, const std::string& dataFolder) {
    m_pBrowser = browser;
    m_strDataFolder = WithTrailingSlash(dataFolder);
}

std::string CTableCommands::HelpPageAddress() const {
    return "file://" + EncodedPath(m_strDataFolder + HELP_PAGE);
}

bool CTableCommands::OpenHelp() {
    if (m_pBrowser == nullptr)
        return false;
    const auto& field = m_context.Hall().helpUrl;
    const std::string hall =
        CGbkConverter::ToUtf8(CGbkConverter::FromField(field.data(), field.size()));
    std::string address = hall;
    if (!IsWebAddress(hall)) {
        const std::string page = m_strDataFolder + HELP_PAGE;
        std::error_code error;
        if (!std::filesystem::is_regular_file(page, error)) {
            m_context.Prompts().ShowNotice("找不到帮助页 " + page + "，请重新安装本程序。");
            return false;
        }
        address = HelpPageAddress();
    }
    if (m_pBrowser->Open(address))
        return true;
    m_context.Prompts().ShowNotice("无法打开帮助页 " + address + "：没有找到能打开它的浏览器。");
    return false;
}

} // namespace kelo
