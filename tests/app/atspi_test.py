# SPDX-License-Identifier: GPL-3.0-or-later
"""The table window through AT-SPI: start a local game by the button's action, read a cell,
play one move with the keys and one through the move box, hear both in the spoken line, and
read the own panel's clock. Argument: the window's process id."""
import subprocess
import sys
import time

import pyatspi

PID = int(sys.argv[1])
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def application():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == PID:
                    return app
            except Exception:
                pass
        time.sleep(0.1)
    return None


def find(node, test, depth=0):
    if node is None or depth > 12:
        return None
    try:
        if test(node):
            return node
        for i in range(node.childCount):
            found = find(node.getChildAtIndex(i), test, depth + 1)
            if found is not None:
                return found
    except Exception:
        pass
    return None


def named(name, role=None):
    return lambda n: n.name == name and (role is None or n.getRole() == role)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press"):
            action.doAction(i)
            return True
    return False


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=False)


def wait_for(get, want, seconds=5.0):
    value = None
    end = time.time() + seconds
    while time.time() < end:
        value = get()
        if want(value):
            break
        time.sleep(0.1)
    return value


app = application()
check(app is not None, "the window's application is on the accessibility bus")
if app is None:
    sys.exit(1)

start = find(app, named("开始", pyatspi.ROLE_PUSH_BUTTON))
check(start is not None and press(start), "the button 开始 is found and pressed by its action")

board = find(app, named("棋盘", pyatspi.ROLE_TABLE))
check(board is not None and board.childCount == 64, "the board is a table of 64 cells")
cell = find(board, lambda n: n.getRole() == pyatspi.ROLE_TABLE_CELL and n.name.startswith("e2 "))
check(cell is not None and cell.name == "e2 白方兵", "the cell e2 holds a white pawn")

spoken = find(app, lambda n: n.description == "播报")
check(spoken is not None, "the spoken line is found")

# The keys: a cell's focus moves the cursor there (first g1, then e2); Space picks up, Up Up,
# Space drops.
def cell_at(name):
    return find(board, lambda n: n.getRole() == pyatspi.ROLE_TABLE_CELL and n.name.startswith(name + " "))


def focused(node):
    return wait_for(lambda: node.getState().contains(pyatspi.STATE_FOCUSED), lambda on: on, 3.0)


g1 = cell_at("g1")
g1.queryComponent().grabFocus()
check(focused(g1) and not cell.getState().contains(pyatspi.STATE_FOCUSED),
      "the focus action puts the cursor on g1")
cell.queryComponent().grabFocus()
check(focused(cell), "and then on e2")
keys("space", "Up", "Up", "space")
said = wait_for(lambda: spoken.name, lambda name: name == "白方 : Pe2--e4")
check(said == "白方 : Pe2--e4", "the keyboard move is announced (%s)" % said)
e4 = cell_at("e4")
check(e4 is not None and e4.name == "e4 白方兵", "the pawn stands on e4")

box = find(app, named("输入着法"))
check(box is not None, "the move box is found by its name")
box.queryComponent().grabFocus()
time.sleep(0.3)
box.queryEditableText().setTextContents("e7e5")
keys("Return")
said = wait_for(lambda: spoken.name, lambda name: name == "黑方 : Pe7--e5")
check(said == "黑方 : Pe7--e5", "the typed move is announced (%s)" % said)

panel = find(app, lambda n: n.description == "下方玩家")
text = panel.name if panel is not None else ""
check("局时" in text and "步时" in text and "白方" in text,
      "the bottom panel reads its clock (%s)" % text)

sys.exit(1 if failures else 0)
