#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program is free software under GPL-3.0-or-later: the licence text is in the repository and
# every source, script and CMake file says so in its first lines.
#   licence_test.sh SOURCE_FOLDER
set -u
cd "$1" || exit 1
failures=0
grep -q 'GNU GENERAL PUBLIC LICENSE' LICENSE 2>/dev/null && grep -q 'Version 3' LICENSE ||
    { echo "FAIL: no GPL-3.0 text in LICENSE"; failures=1; }
# The files of the source tree (git's list when there is one, so build folders are left out).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files --cached --others --exclude-standard)
else
    files=$(find . -path './build*' -prune -o -type f -print | sed 's|^\./||')
fi
missing=$(grep -E '\.(cpp|h|c|sh|py|cmake)$|(^|/)CMakeLists\.txt$' <<<"$files" | while read -r f; do
    [ -f "$f" ] && ! head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' && echo "$f"
done)
if [ -n "$missing" ]; then
    echo "FAIL: without the SPDX line at the top:"
    echo "$missing"
    failures=1
fi
[ "$failures" -eq 0 ] && echo "PASS: the licence and every source's SPDX line"
exit "$failures"
