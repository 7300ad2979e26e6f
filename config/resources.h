// The uidata document embedded in a module.
#pragma once

#include <windows.h>

#include <string>

constexpr int kUiDataResourceId = 141;

// The uidata document's bytes ("XML" 141). False when `buffer` is null, the resource is
// missing, or it is empty.
bool LoadXmlResource(HINSTANCE instance, std::string* buffer);
