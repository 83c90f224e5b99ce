// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CServerRegistration.h"

#include "base/CIniFile.h"
#include "base/SettingsFolders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kelo {

namespace {

const char* const INSTALL_RECORD = "KeloChessGame.StartGame";

// Writes the whole text or nothing: a half-written entry would be worse than none.
bool WriteWhole(const std::string& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out || !(out << text) || !out.flush()) {
            std::filesystem::remove(temp, error);
            return false;
        }
    }
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::filesystem::remove(temp, error);
        return false;
    }
    return true;
}

bool RemoveIfThere(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    return !error;
}

} // namespace

CServerRegistration::Paths
CServerRegistration::DefaultPaths(const std::string& programPath,
                                  const std::function<const char*(const char*)>& getEnv) {
    auto lookup = [&](const char* name) -> std::string {
        const char* value = getEnv ? getEnv(name) : std::getenv(name);
        return value != nullptr ? value : "";
    };
    std::string home = lookup("HOME");
    home = !home.empty() && home[0] == '/' ? WithTrailingSlash(home) : "./";
    std::string data = lookup("XDG_DATA_HOME");
    data = !data.empty() && data[0] == '/' ? WithTrailingSlash(data) : home + ".local/share/";

    Paths paths;
    paths.m_strDataHome = data;
    paths.m_strConfigFolder = SettingsFolders::DefaultFolders("", getEnv).m_strConfigFolder;
    paths.m_strProgram = programPath;
    return paths;
}

std::string CServerRegistration::ServiceFile() const {
    return m_paths.m_strDataHome + "dbus-1/services/" + SERVICE + ".service";
}

std::string CServerRegistration::DesktopFile() const {
    return m_paths.m_strDataHome + "applications/kelo-chess.desktop";
}

std::string CServerRegistration::MimeFile() const {
    return m_paths.m_strDataHome + "mime/packages/kelo-chess.xml";
}

std::string CServerRegistration::InstallRecordFile() const {
    return m_paths.m_strConfigFolder + INSTALL_RECORD + ".ini";
}

std::string CServerRegistration::QuotedArgument(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool CServerRegistration::Register() {
    const std::string& program = m_paths.m_strProgram;
    // A line break in the path would end the Exec line early and start a line of its own.
    if (program.find_first_of("\r\n") != std::string::npos)
        return false;
    const std::string argument = QuotedArgument(program);

    bool ok = WriteWhole(ServiceFile(), std::string("[D-BUS Service]\n") + "Name=" + SERVICE +
                                            "\nExec=" + argument + " -Embedding\n");

    // In a desktop entry the value is unescaped once more before the quoting is read, and a
    // "%" is a field code.
    std::string entryArgument;
    for (char c : argument) {
        if (c == '\\')
            entryArgument += "\\\\";
        else if (c == '%')
            entryArgument += "%%";
        else
            entryArgument += c;
    }
    // The icon's path goes in as it is: a line break would start a line of its own.
    std::string icon = m_paths.m_strIcon;
    if (icon.find_first_of("\r\n") != std::string::npos)
        icon = ICON;
    ok = WriteWhole(DesktopFile(),
                    std::string("[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Kelo Chess\n"
                                "Name[zh_CN]=国际象棋\n"
                                "Comment=Chess table of the game hall, a game against the "
                                "computer, or a local board\n"
                                "Comment[zh_CN]=游戏大厅的国际象棋棋桌，也可与电脑对弈或本机摆棋\n"
                                "Icon=") +
                        icon + "\nExec=" + entryArgument + " %f\nMimeType=" + MIME_TYPE +
                        ";\nTerminal=false\n"
                        "Categories=Game;BoardGame;\n"
                        // As the package's entry: a game against the computer and the local
                        // table for two, beside opening a record.
                        "Actions=practice;local;\n"
                        "\n[Desktop Action practice]\n"
                        "Name=Play against the computer\n"
                        "Name[zh_CN]=与电脑对弈\n"
                        "Exec=" +
                        entryArgument +
                        " --practice\n"
                        "\n[Desktop Action local]\n"
                        "Name=Two players at one computer\n"
                        "Name[zh_CN]=双人对弈（本机）\n"
                        "Exec=" +
                        entryArgument + " --local\n") &&
         ok;

    ok = WriteWhole(MimeFile(),
                    std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<mime-info "
                                "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                "  <mime-type type=\"") +
                        MIME_TYPE +
                        "\">\n"
                        "    <comment>Kelo chess game record</comment>\n"
                        "    <comment xml:lang=\"zh_CN\">国际象棋棋谱</comment>\n"
                        "    <icon name=\"" +
                        MIME_ICON +
                        "\"/>\n"
                        "    <glob pattern=\"*.che\"/>\n"
                        "  </mime-type>\n"
                        "</mime-info>\n") &&
         ok;
    return ok;
}

bool CServerRegistration::Unregister() {
    bool ok = RemoveIfThere(ServiceFile());
    ok = RemoveIfThere(DesktopFile()) && ok;
    ok = RemoveIfThere(MimeFile()) && ok;
    return ok;
}

bool CServerRegistration::WriteInstallRecord() {
    std::error_code error;
    std::filesystem::create_directories(m_paths.m_strConfigFolder, error);
    CIniFile ini;
    ini.SetPath(m_paths.m_strConfigFolder);
    ini.SetFileName(INSTALL_RECORD);
    if (!ini.OpenForWrite())
        return false;
    const bool written = ini.WriteSection(INSTALL_RECORD) && ini.WriteInt("MajorVersion", 1) &&
                         ini.WriteInt("MinorVersion", 0) &&
                         ini.WriteString("GamePath", m_paths.m_strProgram);
    if (!written)
        ini.Abandon();
    return ini.Close() && written;
}

} // namespace kelo
