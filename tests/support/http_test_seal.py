"""Folders that refuse writes even to root, for the Windows tests of a launcher folder that a
standard user cannot write (as Program Files is for him): the test server runs as the same
user as the tests, so plain permissions would not do. Tried in turn: `chattr +i` on the folder
and its files (creating, renaming, deleting and changing them then fails with EPERM, which
Wine reports as access denied), then a read-only bind mount (EROFS: a write-protected
medium). Every seal is listed in a file beside the server's root, so that wine_run.sh can undo
what a server killed on the spot left behind; the server itself undoes all at its end.
"""

import os
import subprocess
import threading

_lock = threading.Lock()
_sealed = {}  # path -> "chattr" or "bind"
_list_file = None


def _run(arguments):
    result = subprocess.run(arguments, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return result.returncode == 0, result.stdout.decode(errors="replace").strip()


def _files_in(folder):
    return [os.path.join(folder, name) for name in sorted(os.listdir(folder))
            if os.path.isfile(os.path.join(folder, name))]


def _write_list():
    if _list_file:
        temporary = _list_file + ".part"
        with open(temporary, "w") as file:
            for path, how in _sealed.items():
                file.write("%s %s\n" % (how, path))
        os.replace(temporary, _list_file)


def set_list_file(path):
    global _list_file
    _list_file = path


def seal(folder):
    """Seals `folder` (an absolute Unix path); returns (True, how) or (False, reason)."""
    folder = os.path.realpath(folder)
    if not os.path.isdir(folder):
        return False, "no such folder: %s" % folder
    with _lock:
        if folder in _sealed:
            return True, _sealed[folder]
        # Listed before it takes effect: a kill in between still gets it undone.
        _sealed[folder] = "chattr"
        _write_list()
        targets = _files_in(folder) + [folder]
        ok, chattr_output = _run(["chattr", "+i"] + targets)
        if ok:
            return True, "chattr"
        _run(["chattr", "-i"] + targets)
        _sealed[folder] = "bind"
        _write_list()
        ok, mount_output = _run(["mount", "--bind", folder, folder])
        if ok:
            ok, remount_output = _run(["mount", "-o", "remount,ro,bind", folder])
            if ok:
                return True, "bind"
            _run(["umount", folder])
            mount_output = remount_output
        del _sealed[folder]
        _write_list()
        return False, "neither chattr +i (%s) nor a read-only bind mount (%s) works here" % (
            chattr_output or "failed", mount_output or "failed")


def unseal(folder):
    folder = os.path.realpath(folder)
    with _lock:
        how = _sealed.pop(folder, None)
        if how == "chattr":
            _run(["chattr", "-i", folder] + _files_in(folder))
        elif how == "bind":
            _run(["umount", folder])
        _write_list()
    return how is not None


def unseal_all():
    for folder in list(_sealed):
        unseal(folder)
