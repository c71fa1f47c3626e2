#!/usr/bin/python3
"""A read-only view of a folder through FUSE that waits in every directory listing and before the first read
of every opened file, as a share across a network waits for its round trips, or stops answering.

Usage: slow_share.py [--never NAME]... [--markers DIR] SOURCE MOUNT LIST_MS [READ_MS [ATTR_CACHE_S]]
LIST_MS: the wait in each listing. READ_MS (default 0): the wait before the first read of each opened file.
ATTR_CACHE_S (default 1): how long the kernel may keep names and attributes, as a network client keeps them.
--never NAME: reads of the file NAME (a path below SOURCE, with slashes) never return, while every other
file answers; repeatable. Such a read also keeps the daemon from ending on SIGTERM: stop it with SIGKILL.
--markers DIR: when a wait begins, an empty file is made in DIR, so a test knows that the share really is
waiting before it acts: "listing" for a listing's wait, "read-NAME" (slashes as underscores) for a read's.
Runs in the foreground until unmounted with `fusermount3 -u MOUNT`.

Opens never wait: under Wine the wineserver opens files itself, so a slow open would freeze every Wine
process of that server. A listing or a read waits only in the thread that asked.
"""
import errno
import os
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

STAT_FIELDS = ('st_mode', 'st_nlink', 'st_size', 'st_uid', 'st_gid', 'st_atime', 'st_mtime', 'st_ctime', 'st_ino')


class SlowShare(Operations):
    # Left to the FUSE library, or remembered by the kernel as unsupported: no trip into Python for each
    # entry's extended attributes, each access check or each folder opened.
    getxattr = listxattr = access = opendir = releasedir = statfs = None

    def __init__(self, source, list_s, read_s, never=(), markers=None):
        self.source = source
        self.list_s = list_s
        self.read_s = read_s
        self.never = {'/' + name.strip('/') for name in never}
        self.markers = markers
        self.unread = set()  # open files whose first read has not come yet
        self.guard = threading.Lock()
        self.forever = threading.Event()  # never set: what a read that never answers waits for

    def _real(self, path):
        return self.source + path

    def _mark(self, name):
        if self.markers:
            with open(os.path.join(self.markers, name), 'w'):
                pass

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self._real(path))
        except OSError as e:
            raise FuseOSError(e.errno)
        return {key: getattr(st, key) for key in STAT_FIELDS}

    def readdir(self, path, fh):
        if self.list_s > 0:
            self._mark('listing')
            time.sleep(self.list_s)
        return ['.', '..'] + os.listdir(self._real(path))

    def readlink(self, path):
        return os.readlink(self._real(path))

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        fh = os.open(self._real(path), os.O_RDONLY)
        with self.guard:
            self.unread.add(fh)
        return fh

    def read(self, path, size, offset, fh):
        if path in self.never:
            self._mark('read-' + path.strip('/').replace('/', '_'))
            self.forever.wait()
        with self.guard:
            first = fh in self.unread
            self.unread.discard(fh)
        if first and self.read_s > 0:
            self._mark('read-' + path.strip('/').replace('/', '_'))
            time.sleep(self.read_s)
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        with self.guard:
            self.unread.discard(fh)
        os.close(fh)
        return 0


if __name__ == '__main__':
    args, never, markers = sys.argv[1:], [], None
    while args and args[0].startswith('--'):
        if len(args) < 2 or args[0] not in ('--never', '--markers'):
            sys.exit(__doc__)
        if args[0] == '--never':
            never.append(args[1])
        else:
            markers = args[1]
        args = args[2:]
    if len(args) not in (3, 4, 5):
        sys.exit(__doc__)
    source, mount = os.path.realpath(args[0]), args[1]
    list_ms = float(args[2])
    read_ms = float(args[3]) if len(args) >= 4 else 0.0
    cache_s = float(args[4]) if len(args) == 5 else 1.0
    # direct_io: every read reaches read() above, none is served from the kernel's page cache.
    FUSE(SlowShare(source, list_ms / 1000.0, read_ms / 1000.0, never, markers), mount, foreground=True, ro=True,
         nothreads=False, attr_timeout=cache_s, entry_timeout=cache_s, direct_io=True)
