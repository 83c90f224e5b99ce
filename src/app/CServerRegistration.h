// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace kelo {

// How the desktop finds the table client: the bus activation file that lets the hall start it
// ("com.zandor.KeloChessGame", started with -Embedding), a desktop entry that opens ".che"
// records with it, the MIME type of those records, and the install record that tells the
// hall where the program lies. A file that cannot be written is skipped and the others are
// still written.
class CServerRegistration {
public:
    static constexpr const char* SERVICE = "com.zandor.KeloChessGame";
    static constexpr const char* MIME_TYPE = "application/x-kelo-chess-record";
    // The names of the program's and the record type's icons in the icon theme.
    static constexpr const char* ICON = "kelo-chess";
    static constexpr const char* MIME_ICON = "application-x-kelo-chess-record";
    // Where a build tree's data folder holds the program's icon.
    static constexpr const char* BUILD_TREE_ICON = "icons/hicolor/scalable/apps/kelo-chess.svg";

    struct Paths {
        // The user's data folder ($XDG_DATA_HOME or ~/.local/share), ending in "/".
        std::string m_strDataHome;
        // The program's settings folder ($XDG_CONFIG_HOME or ~/.config, then "kelo-chess/").
        std::string m_strConfigFolder;
        // The full path of the running program.
        std::string m_strProgram;
        // The desktop entry's icon: a name in the icon theme, or the full path of a picture
        // for a program that is not installed.
        std::string m_strIcon = ICON;
    };

    explicit CServerRegistration(Paths paths) : m_paths(std::move(paths)) {}

    // The usual places for the program at programPath; getEnv returns null for an unset
    // variable and defaults to std::getenv.
    static Paths DefaultPaths(const std::string& programPath,
                              const std::function<const char*(const char*)>& getEnv = nullptr);

    // Writes the activation file, the desktop entry and the MIME type; false when any of them
    // could not be written.
    bool Register();
    // Removes the three; false when one that exists could not be removed.
    bool Unregister();
    // MajorVersion 1, MinorVersion 0 and GamePath, the program's path.
    bool WriteInstallRecord();

    std::string ServiceFile() const;
    std::string DesktopFile() const;
    std::string MimeFile() const;
    std::string InstallRecordFile() const;

    // The program's path as one argument of an Exec line, in double quotes.
    static std::string QuotedArgument(const std::string& path);

private:
    Paths m_paths;
};

} // namespace kelo
