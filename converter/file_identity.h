#pragma once

// Whether the two names lead to one and the same existing file, whatever the
// paths: another spelling, a symbolic link or a hard link all count. Files are
// told apart by identity, not by name: device and inode number on POSIX
// systems, volume serial number and file index on Windows. False when either
// name leads to no file that can be looked at.
bool IsSameFile(const char* first, const char* second);
