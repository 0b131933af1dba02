#!/usr/bin/python3
"""A file server for the tests that answers late or not at all.

Serves a folder through FUSE. Every operation first waits DELAY seconds; with --fail it then
fails with ETIME, which Wine turns into the code a Windows client gives after an SMB time-out.
Each operation that reached the server is counted in COUNT_FILE (rewritten after each one).

    fuse_share.py BACKING MOUNTPOINT --delay 0.4 [--fail] [--count FILE] [--log FILE]

With --log, each operation is written to FILE as it arrives: the time, the operation, its path
and the process that made it (Wine's server or a program).
"""

import argparse
import errno
import os
import threading
import time

from fusepy import FUSE, FuseOSError, Operations, fuse_get_context


class Share(Operations):
    def __init__(self, root, delay, fail, count_file, log_file=None):
        self.root = root
        self.log = open(log_file, "a", buffering=1) if log_file else None
        self.delay = delay
        self.fail = fail
        self.count_file = count_file
        self.count = 0
        self.lock = threading.Lock()

    def __call__(self, op, path, *args):
        # Every operation the kernel hands over costs the delay, including init and statfs.
        if op not in ("init", "destroy"):
            with self.lock:
                self.count += 1
                if self.count_file:
                    with open(self.count_file + ".new", "w") as out:
                        out.write(str(self.count))
                    os.replace(self.count_file + ".new", self.count_file)
                if self.log:
                    pid = fuse_get_context()[2]
                    try:
                        with open("/proc/%d/comm" % pid) as comm:
                            who = comm.read().strip()
                    except OSError:
                        who = "?"
                    self.log.write("%.3f %s %s %d %s\n" % (time.time(), op, path, pid, who))
            time.sleep(self.delay)
            if self.fail:
                raise FuseOSError(errno.ETIME)
        return super().__call__(op, path, *args)

    def _full(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def getattr(self, path, fh=None):
        st = os.lstat(self._full(path))
        keys = ("st_atime", "st_ctime", "st_gid", "st_mode", "st_mtime", "st_nlink", "st_size",
                "st_uid")
        return {key: getattr(st, key) for key in keys}

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._full(path))

    def access(self, path, mode):
        if not os.access(self._full(path), mode):
            raise FuseOSError(errno.EACCES)

    def statfs(self, path):
        st = os.statvfs(self._full(path))
        keys = ("f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files",
                "f_flag", "f_frsize", "f_namemax")
        return {key: getattr(st, key) for key in keys}

    def open(self, path, flags):
        return os.open(self._full(path), flags)

    def create(self, path, mode, fi=None):
        return os.open(self._full(path), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, mode)

    def read(self, path, size, offset, fh):
        os.lseek(fh, offset, os.SEEK_SET)
        return os.read(fh, size)

    def write(self, path, data, offset, fh):
        os.lseek(fh, offset, os.SEEK_SET)
        return os.write(fh, data)

    def truncate(self, path, length, fh=None):
        with open(self._full(path), "r+") as f:
            f.truncate(length)

    def flush(self, path, fh):
        return 0

    def release(self, path, fh):
        return os.close(fh)

    def fsync(self, path, datasync, fh):
        return 0

    def unlink(self, path):
        return os.unlink(self._full(path))

    def mkdir(self, path, mode):
        return os.mkdir(self._full(path), mode)

    def rmdir(self, path):
        return os.rmdir(self._full(path))

    def rename(self, old, new):
        return os.rename(self._full(old), self._full(new))

    def chmod(self, path, mode):
        return os.chmod(self._full(path), mode)

    def utimens(self, path, times=None):
        return os.utime(self._full(path), times)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("backing")
    parser.add_argument("mountpoint")
    parser.add_argument("--delay", type=float, default=0.4)
    parser.add_argument("--fail", action="store_true")
    parser.add_argument("--count")
    parser.add_argument("--log")
    args = parser.parse_args()
    FUSE(Share(os.path.abspath(args.backing), args.delay, args.fail, args.count, args.log),
         args.mountpoint, foreground=True, nothreads=False, allow_other=False)


if __name__ == "__main__":
    main()
