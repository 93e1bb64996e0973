#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: atspi_labels.py PID
# Prints, as one JSON object, what a screen reader reads as the name of each
# label of process PID's windows that has a description, keyed by that
# description: AT-SPI's answer, not what the widgets hold.
import json
import sys
import time

import pyatspi

pid = int(sys.argv[1])


def children(node):
    return [c for c in (node.getChildAtIndex(i) for i in range(node.childCount)) if c is not None]


def walk(node, found):
    if node.getRoleName() == "label" and node.description:
        found[node.description] = node.name
    if node.getRoleName() in ("table", "tree table", "tree", "list"):
        return  # rows and items hold no labels, and are many
    for child in children(node):
        walk(child, found)


# The application registers with the bus a moment after its window shows.
for attempt in range(100):
    apps = [a for a in children(pyatspi.Registry.getDesktop(0)) if a.get_process_id() == pid]
    if apps:
        break
    time.sleep(0.1)
else:
    sys.exit("no accessible application with pid %d" % pid)
found = {}
for app in apps:
    walk(app, found)
print(json.dumps(found))
