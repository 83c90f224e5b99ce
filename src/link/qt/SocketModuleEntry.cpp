// SPDX-License-Identifier: GPL-3.0-or-later
// The kelo-link module's entry point.
#include "link/qt/SocketControl.h"
#include "link/qt/SocketModule.h"

extern "C" Q_DECL_EXPORT kelo::ISocketControl* kelo_create_socket_control() {
    return new kelo::SocketControl();
}
