// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ISocketControl.h"

namespace kelo {

// The kelo-link module holds the table's TCP connection (SocketControl) with Qt Network and the
// libraries under it (proxies, Kerberos), so that a table started without a server, the local
// one, never loads them. Its one entry point, found by this name, makes a new connection owned
// by the caller.
using CreateSocketControl = ISocketControl* (*)();
inline constexpr const char* CREATE_SOCKET_CONTROL = "kelo_create_socket_control";

} // namespace kelo
