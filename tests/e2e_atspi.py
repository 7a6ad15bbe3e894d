# SPDX-License-Identifier: MIT
"""What the end-to-end tests' screen reader clients share: the editor as AT-SPI shows it,
its controls, and polling with a time limit."""
import sys
import time

import pyatspi


def editor():
    return next(app for app in pyatspi.Registry.getDesktop(0)
                if app and app.name == 'org.example.GlimraEditor')


def walk(node):
    """The node and every control under it; a list's rows are no controls."""
    yield node
    if node.getRole() != pyatspi.ROLE_LIST:
        for child in node:
            if child:
                yield from walk(child)


def find(node, role, name):
    return next((n for n in walk(node) if n.getRole() == role and n.name == name), None)


def wait(what, done, seconds=10):
    """Polls `done` until it holds, or fails the test with `what`."""
    end = time.time() + seconds
    while not done():
        if time.time() > end:
            sys.exit('FAIL: ' + what)
        time.sleep(0.1)
