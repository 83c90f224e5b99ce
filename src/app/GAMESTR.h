// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelo {

// Text arguments of the hall interface: fixed areas of GBK text ended by a zero byte.
struct GAMESTR {
    char str[100];
};

struct BIG_GAMESTR {
    char str[500];
};

} // namespace kelo
