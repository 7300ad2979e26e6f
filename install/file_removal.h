// Deleting files and directory trees of an installation.
#pragma once

#include <string>

// Deletes the file at `path`. When it is in use, renames it to path + "_" + a unique stem +
// ".tmp" and has the system delete that name at the next restart; a file that cannot even
// be renamed is registered under its own name. Directories and missing paths are left alone.
// True when the file was left for the next restart: deleting it now failed and the system
// took the registration; `scheduledAs` (may be null) then receives the name it has now.
bool DeleteOrSchedule(const std::wstring& path, std::wstring* scheduledAs = nullptr);

// Deletes `dir` and everything below it, where `dir` resolves to `resolved` (see
// base/resolved_path.h). Each directory is held open while it is emptied, and each name is
// deleted only where it resolves below `resolved`: links (junctions, symbolic links, a
// directory swapped for one in the middle) are removed as links or left, never followed, so
// nothing outside `dir` is touched. Failures are ignored: whatever cannot be deleted (a
// read-only file, too) keeps its directory.
void DeleteTree(const std::wstring& dir, const std::wstring& resolved);
