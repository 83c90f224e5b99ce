// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelo {

class CSkinManager;

// A skin whose description could not be read has no layout at all. The table then opens with
// a plain layout of its own (about the small skin's size) so that it can still be played; the
// images stay missing and each window draws its plain stand-in. A read skin is left as it is.
// True when the fallback was used.
bool UseFallbackLayout(CSkinManager& skin);

} // namespace kelo
