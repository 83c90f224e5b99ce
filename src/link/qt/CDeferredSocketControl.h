// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/qt/CProgramModule.h"
#include "ports/ISocketControl.h"

#include <QObject>

#include <memory>

namespace kelo {

// The table's connection, made from the kelo-link module when it is first asked to reach a
// server (a proxy, a connection, a send or a block to receive), so that the network stack is not
// loaded with a window that never connects. Until then there is nothing to close and nothing to
// send. Without the module every attempt fails as an unreachable server would.
class CDeferredSocketControl : public ISocketControl {
public:
    explicit CDeferredSocketControl(QStringList modulePaths = DefaultModulePaths());
    ~CDeferredSocketControl() override;

    // Beside the program in a build tree, in lib/games/kelo-chess/ beside its games/ when installed.
    static QStringList DefaultModulePaths();
    // Whether the connection has been made from the module.
    bool Loaded() const { return m_pSocket != nullptr; }

    void SetEvents(ISocketEvents* events) override;
    void CloseSocket() override;
    bool Connect(const std::string& host, int32_t port) override;
    bool SendData(const uint8_t* data, size_t count) override;
    void UseProxy(int16_t kind, const std::string& host, int32_t port) override;
    void UseProxyAuth(int16_t kind, const std::string& host, int32_t port, const std::string& user,
                      const std::string& password) override;
    bool RecvData(size_t count) override;

private:
    ISocketControl* Socket();

    // Before the connection, so that the connection goes first: its code is in the module.
    CProgramModule m_module;
    std::unique_ptr<ISocketControl> m_pSocket;
    ISocketEvents* m_pEvents = nullptr;
    // The failed attempts told without the module are queued on it, and go with it.
    QObject m_failures;
};

} // namespace kelo
