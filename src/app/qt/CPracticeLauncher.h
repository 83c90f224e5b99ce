// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PracticeChoice.h"
#include "app/qt/CChildProgram.h"
#include "link/IMessageSink.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

namespace kelo {

class CGameContext;
class CPracticeTable;
class CTableHost;

// A game against the computer, started from the command line: the engine is looked for first
// (none: the user is told how to get one and may take the local table instead), the dialog asks
// what the command line left out, then a reference server of its own is started on a free
// loopback port, the person is seated at its table through the hall's calls and the window
// opens, and kelo-bot comes to the table with the engine. The table is then the product's own,
// with everything it offers; the window's menu ("对弈设置") changes the level, the colour and the
// clocks between games. The server and the bot end with the window, and are killed with this
// process however it ends.
//
// On standard output: "practice server 127.0.0.1:P" once the server listens, "practice bot
// ready NAME" once the bot sits at the table. KELO_PRACTICE_LOG=DIR keeps the server's and the
// bot's output in DIR/server.log and DIR/bot.log.
class CPracticeLauncher : public QObject, public IMessageSink {
public:
    CPracticeLauncher(CGameContext& context, CTableHost& host, PracticeRequest request);
    ~CPracticeLauncher() override;

    // False when nothing was opened (the dialog cancelled, no engine and no local table, a
    // program missing): the program ends.
    bool Start();
    // Ends the bot and the server; the table has closed.
    void Stop();

    // IMessageSink: the table's messages tell when the bot has sat down.
    void OnMessageRev(const CMessageRev& message) override;

private:
    void OnServerLine(const std::string& line);
    void OnBotLine(const std::string& line);
    void OpenTable(uint16_t port);
    // Once the bot is at the table and its engine ready: the table and the output say so.
    void AnnounceBot();
    // The dialog again, between games; its choice goes to the bot, the server and the table.
    void ChangeSettings();
    // A line in the table's chat (and its spoken line); an alert is red.
    void Tell(const std::string& text, bool alert);
    // Told before the window is there: a box of its own, or the answers given in advance.
    bool Ask(const std::string& question, const std::string& yes, const std::string& no);
    void Notice(const std::string& text);
    // The program beside this one: installed, in the same folder; in a build tree, in its
    // folder under tools/.
    static QString ToolPath(const QString& name, const QString& buildFolder);

    CGameContext& m_context;
    CTableHost& m_host;
    PracticeRequest m_request;
    // What the bot gets after --engine: the configured command, else the engine found.
    std::string m_strEngine;
    std::unique_ptr<CPracticeTable> m_pTable;
    CChildProgram m_server;
    CChildProgram m_bot;
    QString m_strLogFolder;
    bool m_bTableOpen = false;
    bool m_bBotSeated = false;
    bool m_bEngineReady = false;
    bool m_bAnnounced = false;
    bool m_bStopped = false;
};

} // namespace kelo
