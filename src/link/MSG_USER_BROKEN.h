// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/MSG_USER_STATUS.h"

namespace kelo {

// A user's connection broke (3016): the same id and two 16-bit fields as a status change; only
// the id is read.
using MSG_USER_BROKEN_BODY = MSG_USER_STATUS_BODY;

} // namespace kelo
