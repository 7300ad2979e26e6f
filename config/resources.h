// The uidata document and the package embedded in a module.
#pragma once

#include <windows.h>

#include <string>

constexpr int kUiDataResourceId = 141;

// The uidata document's bytes ("XML" 141). False when `buffer` is null, the resource is
// missing, or it is empty.
bool LoadXmlResource(HINSTANCE instance, std::string* buffer);

// The package an offline installer carries ("BTE" 143), read in place: it stays valid for the
// life of the process. False when the resource is missing or empty.
bool FindPayload(HINSTANCE instance, const void** data, UINT32* size);
