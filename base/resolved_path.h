// Where the system resolves a path, and opening or deleting only what resolves where it
// should. A directory the user can write may hold a link (a junction, a symbolic link) put
// there to send an elevated write or delete somewhere else: each open is checked against the
// path it must resolve to, so a link on the way is noticed instead of followed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/handles.h"

// The error of a path that resolves elsewhere: the system's ERROR_REPARSE_POINT_ENCOUNTERED,
// which the MinGW headers do not name.
constexpr DWORD kResolvedElsewhere = 4395;

// The path the system resolved for an open handle ("\\?\C:\dir\name"); empty on failure.
std::wstring FinalPathOf(HANDLE handle);

// Where an existing file or directory resolves, links followed; empty when it cannot be
// opened.
std::wstring ResolvedPath(const std::wstring& path);

// Where `full` must resolve: its ancestor `anchor` where the system resolves it (links
// above the anchor are where the user chose to put things), and the rest of the path as
// named; empty when the anchor cannot be opened.
std::wstring ResolvedBelow(const std::wstring& anchor, const std::wstring& full);

// The existing directory `path`, opened for listing with `extraAccess` besides and shared
// for reading and writing only, so that nobody can rename or remove it while the handle is
// held. Empty when it is missing, not a directory, or resolves anywhere but `resolved`
// (letter case aside): a link on the way or in its place. A non-zero `fileId` must also be
// the file id of what was opened (see DirectoryEntry).
UniqueFileHandle OpenDirectoryInPlace(const std::wstring& path, const std::wstring& resolved,
                                      DWORD extraAccess = 0, ULONGLONG fileId = 0);

// A name in a listed directory and the file id (the file system's number of the file) it had
// there. Under Wine a name is turned into a file in two steps, and a directory swapped for a
// link between them is not seen in the resolved path; the file id shows it.
struct DirectoryEntry {
    std::wstring name;
    DWORD attributes;
    ULONGLONG fileId;
};

// The names in the directory open as `dir` (from OpenDirectoryInPlace), "." and ".." left
// out: the listing of the directory that was checked, whatever its name points to by now.
std::vector<DirectoryEntry> ListDirectory(HANDLE dir);

// Deletes the file, the empty directory or the link at `path` itself, opened without
// following a link in its place, and only when it resolves to `resolved`. With
// `clearReadOnly` a read-only file loses that attribute first; otherwise it stays, as
// DeleteFileW leaves it. A link the system follows even so (Wine's view of a host's symbolic
// links) resolves elsewhere and stays. False with the system's error, kResolvedElsewhere
// for a path that resolves elsewhere or, with a non-zero `fileId`, opens another file than the
// one listed.
bool DeleteInPlace(const std::wstring& path, const std::wstring& resolved,
                   bool clearReadOnly = false, ULONGLONG fileId = 0);
