// Paths of archive items on disk.
#pragma once

#include <string>

// dir + "\" + name with every "/" turned into "\" and runs of backslashes collapsed to one;
// an empty dir gives a path that starts with "\".
std::wstring MakeItemPath(const std::wstring& dir, const std::wstring& name);

// True when name, joined below an output directory, stays inside it: no leading "\" or "/"
// (a root or a server share), no ":" (a drive letter or an alternate data stream) and no
// component of dots and spaces with two dots or more, which Windows treats as a step up
// ("..", "...", ".. "), and no component naming a device ("NUL", "com1.txt"), whose data
// would go to the device instead of a file.
bool IsSafeItemPath(const std::wstring& name);
