"""Each page of the program as a screen reader meets it: opened through the function menu's own
accessible action, then every control of the page that shows is checked for what the reader
needs to say and do with it. Prints the problems found and exits non-zero when there are any.

Run under with-atspi.sh, with Debian's /usr/bin/python3 (pyatspi).
"""

import os
import sys

import pyatspi

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi_tree as tree  # noqa: E402

# Each page by its function-menu button, and a control that shows once the page is in.
PAGES = [
    ("KEY", "combo box", "Button"),
    ("MACRO", "push button", "Delete macro"),
    ("COLOR", "slider", "Rainbow"),
    ("SENSOR", "slider", "CURSOR SPEED"),
]
# With no macro current (as the page opens) these take no input, and must say so.
DIMMED = {
    "MACRO": ["Delete macro", "DELETE", "CUT", "PASTE", "COPY", "STOP (PAUSE/BREAK)"],
}


def toolkit_at_least(app, major, minor):
    try:
        parts = [int(p) for p in app.get_toolkit_version().split(".")[:2]]
    except (ValueError, AttributeError):
        return True
    return parts >= [major, minor]


def page_control(app, role, name):
    return tree.wait_for(f"[{role}] {name!r}", lambda: tree.find(app, role, name))


def open_page(app, button, role, name):
    """The page's own panel (named by its title, here as its button), once its control shows."""
    fn = tree.wait_for(f"the function menu's {button}", lambda: tree.find(app, "page tab", button))
    tree.do_action(fn, "Press")
    page_control(app, role, name)
    return tree.wait_for(f"the {button} page", lambda: tree.find(app, "panel", button))


def close_page(app, button):
    tree.do_action(tree.find(app, "page tab", button), "Press")


def check_combo(app, combo):
    """A combo box's list, opened by Press, shows its value (if it has one) as the one selected
    entry, and nothing selected while it has none."""
    found = []
    value = combo.description.strip()
    expected = [value] if value else []
    tree.do_action(combo, "Press")
    try:
        lst = tree.wait_for(f"the open list of {tree.describe(combo)}",
                            lambda: tree.find(app, "list", combo.name))

        def chosen():
            # A scrolling list holds its rows a level or two further down.
            return [i.name.strip() for i in tree.walk(lst) if i.getRoleName() == "list item"
                    and pyatspi.STATE_SELECTED in tree.states(i)]
        # The rows come into the tree as the list opens.
        try:
            tree.wait_for(f"the choice in {tree.describe(combo)}", lambda: chosen() == expected, timeout=10)
        except tree.Failure:
            found.append(f"{tree.describe(combo)} of value {value!r}: its list shows {chosen()} selected")
    except tree.Failure as error:
        found.append(f"{tree.describe(combo)}: {error}")
    finally:
        tree.do_action(combo, "Press")
    return found


def check_controls(app, panel, counts):
    found = list(tree.problems(panel))
    for obj in list(tree.walk(panel)):
        role = obj.getRoleName()
        st = tree.states(obj)
        if tree.interactive(obj):
            counts["controls"] += 1
        if role == "combo box" and pyatspi.STATE_ENABLED in st:
            counts["drop-downs"] += 1
            found += check_combo(app, obj)
        elif role == "text" and (pyatspi.STATE_EDITABLE not in st or pyatspi.STATE_READ_ONLY in st):
            found.append(f"{tree.describe(obj)}: not editable")
    return found


def choose(app, combo, index):
    """Chooses an entry of a drop-down by the accessible actions alone."""
    tree.do_action(combo, "Press")
    lst = tree.wait_for(f"the open list of {tree.describe(combo)}", lambda: tree.find(app, "list", combo.name))
    items = [c for c in tree.walk(lst) if c.getRoleName() == "list item"]
    tree.do_action(items[index], "Press")
    return items[index].name


def check_page(app, panel, page, qt_reports_disabled):
    counts = {"controls": 0, "drop-downs": 0}
    found = check_controls(app, panel, counts)
    notes = []
    if page == "KEY":
        # Each function shows controls of its own: every one of them is checked too.
        menu = tree.find(panel, "combo box", "Function")
        if menu is None:
            found.append("[combo box] 'Function': not shown")
        for i in range(8 if menu else 0):
            chosen = choose(app, menu, i)
            tree.wait_for(f"the function {chosen!r}", lambda: tree.find(panel, "combo box", "Function")
                          .description == chosen)
            found += [f"(with {chosen}) {line}" for line in check_controls(app, panel, counts)]
    if page == "MACRO":
        # With a macro of its own the page's editing controls come alive: checked as well.
        tree.do_action(tree.find(panel, "push button", "Add macro"), "Press")
        tree.wait_for("a new macro", lambda: any(pyatspi.STATE_SELECTED in tree.states(r)
                                                 for r in tree.walk(tree.find(panel, "list", "MACRO"))))
        found += [f"(with a macro) {line}" for line in check_controls(app, panel, counts)]
        tree.do_action(tree.find(panel, "push button", "Delete macro"), "Press")
    for name in DIMMED.get(page, []):
        obj = tree.find(panel, "push button", name)
        if obj is None:
            found.append(f"[push button] {name!r}: not shown")
        elif pyatspi.STATE_ENABLED in tree.states(obj):
            (found if qt_reports_disabled else notes).append(f"{tree.describe(obj)}: dimmed but reported enabled")
    print(f"{page}: {counts['controls']} controls, {counts['drop-downs']} drop-downs opened")
    return found, notes


def main():
    app = tree.application(tree.main_pid())
    # Qt Quick reports an item's enabled state from Qt 6.5 on; before, every item reads enabled.
    qt_reports_disabled = toolkit_at_least(app, 6, 5)
    failures = 0
    for button, role, name in PAGES:
        try:
            panel = open_page(app, button, role, name)
            found, notes = check_page(app, panel, button, qt_reports_disabled)
            close_page(app, button)
            tree.wait_for(f"the {button} page to close", lambda: tree.find(app, role, name) is None)
        except tree.Failure as error:
            found, notes = [str(error)], []
        print(f"{button}: {'ok' if not found else f'{len(found)} problem(s)'}")
        for line in found:
            print(f"  {line}")
        for line in notes:
            print(f"  (Qt {app.get_toolkit_version()} cannot report it) {line}")
        failures += len(found)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
