"""The shell around the pages as a screen reader meets it: the window, the function menu, the
profile column, the top and bottom bars and the settings drawer are in the tree, named and with
roles that say what they are, and the profile column and the drawer work through the accessible
actions alone. Prints the problems found and exits non-zero when there are any.

Run under with-atspi.sh, with Debian's /usr/bin/python3 (pyatspi).
"""

import os
import sys

import pyatspi

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi_tree as tree  # noqa: E402

PAGES = ["KEY", "MACRO", "COLOR", "SENSOR"]
PROFILES = [f"Profile {i}" for i in range(1, 6)]
# The bars' controls, each by role and English name.
BARS = [("push button", "Settings"), ("push button", "Close"), ("push button", "ALL RESET"),
        ("push button", "ALL SAVE"), ("link", "Web site")]


def checked(obj):
    return pyatspi.STATE_CHECKED in tree.states(obj)


def the_view(app):
    """The window's frame and the view that holds the interface (the toolkit's own offscreen
    frame of the view shows nothing and is not it)."""
    frames = [c for c in tree.children(app) if c.getRoleName() == "frame" and tree.showing(c)]
    views = [c for f in frames for c in tree.children(f) if tree.showing(c)]
    if len(frames) != 1 or len(views) != 1:
        raise tree.Failure(f"not one window with one view: {[tree.describe(c) for c in tree.children(app)]}")
    return frames[0], views[0]


def check_window(frame, view):
    print(f"window: {tree.describe(frame)} holding {tree.describe(view)}")
    return [] if frame.name.strip() and view.name == frame.name else \
        [f"{tree.describe(frame)} and {tree.describe(view)}: not named by the program's name"]


def check_function_menu(app):
    tabs = tree.wait_for("the function menu", lambda: tree.find(app, "page tab list"))
    names = [c.name for c in tree.children(tabs) if c.getRoleName() == "page tab"]
    return [] if names == PAGES else [f"{tree.describe(tabs)} holds the pages {names}, not {PAGES}"]


def check_profiles(app):
    found = []
    entries = [tree.find(app, "radio button", name) for name in PROFILES]
    if None in entries:
        return [f"the profile column lacks {[n for n, e in zip(PROFILES, entries) if e is None]}"]
    current = [e.name for e in entries if checked(e)]
    if current != ["Profile 1"]:
        found.append(f"the factory mouse's profile 1 is current, the column reports {current}")
    # Choosing by the screen reader's press moves the check, as the mouse's profile moves.
    tree.do_action(entries[2], "Press")
    try:
        tree.wait_for("Profile 3 to be current", lambda: checked(entries[2]) and not checked(entries[0]))
    except tree.Failure as error:
        found.append(str(error))
    return found


def check_drawer(app):
    found = []
    gear = tree.find(app, "push button", "Settings")
    tree.do_action(gear, "Press")
    drawer = tree.wait_for("the settings drawer", lambda: next(
        (o for o in tree.walk(app) if o.name == "Settings" and o.getRoleName() != "push button"), None))
    found += [f"(drawer) {line}" for line in tree.problems(drawer)]
    lists = [o for o in tree.walk(drawer) if o.getRoleName() == "list"]
    if not lists:
        found.append("the drawer shows no language list")

    def selections():
        return {tree.describe(lst): [i.name for i in tree.walk(lst) if i.getRoleName() == "list item"
                                     and pyatspi.STATE_SELECTED in tree.states(i)] for lst in lists}
    # The lists' rows come into the tree as the drawer slides in.
    try:
        tree.wait_for("one choice in each of the drawer's lists",
                      lambda: all(len(chosen) == 1 for chosen in selections().values()))
    except tree.Failure:
        found += [f"(drawer) {name}: selection {chosen}" for name, chosen in selections().items()
                  if len(chosen) != 1]
    print(f"drawer: {tree.describe(drawer)}, {sum(tree.interactive(o) for o in tree.walk(drawer))} controls")
    tree.do_action(gear, "Press")
    try:
        tree.wait_for("the drawer to close", lambda: not tree.showing(drawer))
    except tree.Failure as error:
        found.append(str(error))
    return found


def main():
    app = tree.application(tree.main_pid())
    tree.wait_for("the shell", lambda: tree.find(app, "push button", "ALL SAVE"))
    frame, view = the_view(app)
    found = check_window(frame, view) + check_function_menu(app)
    # The bars slide in from both edges: the top one is in view a little after the bottom one.
    try:
        tree.wait_for("the bars", lambda: all(tree.find(app, role, name) for role, name in BARS))
    except tree.Failure:
        found += [f"{role} {name!r}: not in the tree" for role, name in BARS
                  if tree.find(app, role, name) is None]
    found += tree.problems(view)
    found += check_profiles(app)
    found += check_drawer(app)
    print(f"shell: {'ok' if not found else f'{len(found)} problem(s)'}")
    for line in found:
        print(f"  {line}")
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
