#!/usr/bin/python3
"""Reads one window of a running program through the accessibility bus, as a screen reader does.

Usage: atspi_read.py PID TITLE

Waits until process PID shows a window named TITLE with controls that take the focus, then
prints JSON: every such control (role, name, the name of the caption it is labelled by, place,
actions), the order Tab visits them in (indexes, one full round from the focused control), and
the first action of every link, done through the bus (the caller checks what it opened).
"""

import json
import subprocess
import sys
import time

import pyatspi

TIMEOUT_S = 60


def fail(message):
    sys.exit("atspi_read: " + message)


def waited(condition, what):
    """Polls `condition` until it gives something other than None, or fails after TIMEOUT_S."""
    deadline = time.monotonic() + TIMEOUT_S
    while time.monotonic() < deadline:
        result = condition()
        if result is not None:
            return result
        time.sleep(0.02)
    fail("gave up waiting for " + what)


def descendants(node):
    """Every object below `node`, except the parts of a list (its edit field and popup items)."""
    for child in node:
        if child is None:
            continue
        yield child
        if child.getRole() != pyatspi.ROLE_COMBO_BOX:
            yield from descendants(child)


def has(node, state):
    return node.getState().contains(state)


def controls_of(window):
    return [n for n in descendants(window)
            if has(n, pyatspi.STATE_FOCUSABLE) and has(n, pyatspi.STATE_SHOWING)]


def find_window(pid, title):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is None or app.get_process_id() != pid:
                continue
            for window in app:
                if (window is not None and window.name == title
                        and has(window, pyatspi.STATE_ACTIVE) and controls_of(window)):
                    return window
        except Exception:  # an application leaving the bus meanwhile
            continue
    return None


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return [box.x, box.y, box.width, box.height]


def describe(node):
    labelled_by = ""
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            labelled_by = relation.getTarget(0).name
    try:
        action = node.queryAction()
        actions = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        actions = []
    return {"role": node.getRoleName(), "name": node.name, "labelledBy": labelled_by,
            "box": extents(node), "actions": actions}


def focused_index(window, controls):
    """The index of the control that has the focus, itself or through a part of it."""
    for node in [window] + list(descendants(window)):
        if has(node, pyatspi.STATE_FOCUSED):
            while node is not None:
                for i, control in enumerate(controls):
                    if node == control:
                        return i
                node = node.parent
    return None


def tab_round(window, controls):
    start = waited(lambda: focused_index(window, controls), "the focus")
    order = [start]
    for _ in range(len(controls)):
        previous = order[-1]
        subprocess.run(["xdotool", "key", "Tab"], check=True)
        def moved_on():
            now = focused_index(window, controls)
            return None if now == previous else now
        now = waited(moved_on, "the focus to move on from control %d" % previous)
        if now == start:
            return order
        order.append(now)
    return order


def main():
    pid, title = int(sys.argv[1]), sys.argv[2]
    window = waited(lambda: find_window(pid, title), "the window %r" % title)
    controls = controls_of(window)
    report = {"controls": [describe(c) for c in controls], "tab": tab_round(window, controls)}
    for control in controls:
        if control.getRole() == pyatspi.ROLE_LINK:
            control.queryAction().doAction(0)
    print(json.dumps(report))


if __name__ == "__main__":
    main()
