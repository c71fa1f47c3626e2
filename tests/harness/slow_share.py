#!/usr/bin/python3
"""A read-only view of a folder through FUSE that waits in every directory listing and every file open,
as a share across a network waits for its round trips.

Usage: slow_share.py SOURCE MOUNT DELAY_MS [ATTR_CACHE_S]
Runs in the foreground until unmounted with `fusermount3 -u MOUNT`. ATTR_CACHE_S (default 1) is how long
the kernel may keep names and attributes, as a network client keeps them for a while.
"""
import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations

STAT_FIELDS = ('st_mode', 'st_nlink', 'st_size', 'st_uid', 'st_gid', 'st_atime', 'st_mtime', 'st_ctime', 'st_ino')


class SlowShare(Operations):
    # Left to the FUSE library, or remembered by the kernel as unsupported: no trip into Python for each
    # entry's extended attributes, each access check or each folder opened. A share's listing brings its
    # entries' attributes along; what waits is the listing itself and the opening of a file.
    getxattr = listxattr = access = opendir = releasedir = statfs = None

    def __init__(self, source, delay_s):
        self.source = source
        self.delay_s = delay_s

    def _real(self, path):
        return self.source + path

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self._real(path))
        except OSError as e:
            raise FuseOSError(e.errno)
        return {key: getattr(st, key) for key in STAT_FIELDS}

    def readdir(self, path, fh):
        time.sleep(self.delay_s)
        return ['.', '..'] + os.listdir(self._real(path))

    def readlink(self, path):
        return os.readlink(self._real(path))

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        time.sleep(self.delay_s)
        return os.open(self._real(path), os.O_RDONLY)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)
        return 0


if __name__ == '__main__':
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    source, mount, delay_ms = os.path.realpath(sys.argv[1]), sys.argv[2], float(sys.argv[3])
    cache_s = float(sys.argv[4]) if len(sys.argv) == 5 else 1.0
    FUSE(SlowShare(source, delay_ms / 1000.0), mount, foreground=True, ro=True, nothreads=False,
         attr_timeout=cache_s, entry_timeout=cache_s)
