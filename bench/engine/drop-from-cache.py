#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drops a file's pages from the page cache, so that the next read of it comes from the disk.

Usage: drop-from-cache.py FILE

Needs no privileges: the kernel drops the clean pages of a file on request (dirty ones stay).
"""
import os
import sys

fd = os.open(sys.argv[1], os.O_RDONLY)
os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
os.close(fd)
