"""Reading the program's accessible tree the way a screen reader does, over the at-spi bus.

Only the standard client library (pyatspi) is used, so what passes here is what Orca and
other assistive tools are given.
"""

import os
import sys
import time

import pyatspi
from gi.repository import Atspi

# The roles an object a user can reach or act on may have. Anything else that takes focus or
# offers an action is a control a screen reader cannot describe.
INTERACTIVE_ROLES = {
    "push button", "toggle button", "radio button", "check box", "slider", "combo box",
    "list", "list item", "text", "menu item", "menu", "page tab", "spin button", "table cell",
    "link", "scroll bar", "entry",
}


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=30.0):
    """Polls probe() until it returns something true: the state we need, never a fixed time."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            found = probe()
            if found:
                return found
        except Exception as error:  # the tree changes under us while the program starts
            last_error = error
        time.sleep(0.1)
    raise Failure(f"timed out waiting for {what}" + (f" ({last_error})" if last_error else ""))


def application(pid):
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == pid:
                return app
        return None
    return wait_for(f"the program (pid {pid}) on the accessibility bus", probe)


def states(obj):
    return set(obj.getState().getStates())


def showing(obj):
    return pyatspi.STATE_SHOWING in states(obj)


def actions(obj):
    try:
        act = obj.queryAction()
    except NotImplementedError:
        return []
    return [act.getName(i) for i in range(act.nActions)]


def do_action(obj, name):
    act = obj.queryAction()
    for i in range(act.nActions):
        if act.getName(i) == name:
            if not act.doAction(i):
                raise Failure(f"{describe(obj)}: action {name!r} refused")
            return
    raise Failure(f"{describe(obj)} has no action {name!r} (has {actions(obj)})")


def children(obj):
    obj.clear_cache()
    return [c for c in obj if c is not None]


def walk(obj, only_showing=True):
    """Every object below obj, depth first; hidden subtrees are skipped when only_showing."""
    for child in children(obj):
        if only_showing and not showing(child):
            continue
        yield child
        yield from walk(child, only_showing)


def describe(obj):
    return f"[{obj.getRoleName()}] {obj.name!r}"


def find(root, role=None, name=None):
    for obj in walk(root):
        if (role is None or obj.getRoleName() == role) and (name is None or obj.name == name):
            return obj
    return None


def interactive(obj):
    return pyatspi.STATE_FOCUSABLE in states(obj) or bool(actions(obj))


def problems(root):
    """What a screen-reader user would trip over below root, as readable lines."""
    found = []
    for obj in walk(root):
        kids = [c for c in children(obj) if showing(c) and interactive(c)]
        seen = {}
        for kid in kids:
            role = kid.getRoleName()
            if not kid.name.strip():
                found.append(f"{describe(kid)} under {describe(obj)}: no name")
            elif (kid.name, role) in seen:
                found.append(f"{describe(kid)} under {describe(obj)}: name not unique")
            seen[(kid.name, role)] = kid
            named_actions = actions(kid)
            if len(set(named_actions)) != len(named_actions):
                found.append(f"{describe(kid)}: actions listed twice {named_actions}")
            if role not in INTERACTIVE_ROLES:
                found.append(f"{describe(kid)}: role does not say what it is")
            if role == "slider":
                value = kid.queryValue()
                if value.maximumValue <= value.minimumValue:
                    found.append(f"{describe(kid)}: range {value.minimumValue}..{value.maximumValue}")
    return found


def main_pid():
    pid = os.environ.get("Q7_A11Y_PID")
    if not pid:
        print("Q7_A11Y_PID is not set: run under with-atspi.sh", file=sys.stderr)
        sys.exit(2)
    return int(pid)
