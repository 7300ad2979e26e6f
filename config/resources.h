// Loaders that turn embedded resources and files into images, text buffers and wide strings.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/image_ops.h"

constexpr int kUiDataResourceId = 141;
// Files of 100 MiB and more are refused.
constexpr DWORD kMaxWholeFileSize = 104857599;

// The PNG resource `id` decoded into an image that owns its pixels; null when the resource
// is missing. A picture that cannot be decoded gives an image whose status is not Ok.
ImagePtr LoadPngResource(HINSTANCE instance, int id);

// The uidata document's bytes ("XML" 141). False when `buffer` is null, the resource is
// missing, or it is empty.
bool LoadXmlResource(HINSTANCE instance, std::string* buffer);

// The whole file, followed by two zero bytes; null for a file that cannot be opened without
// sharing, is empty, is larger than kMaxWholeFileSize, or reads short.
std::unique_ptr<char[]> ReadWholeFile(const std::wstring& path, DWORD* size);

// Empty for null and for text that is not valid UTF-8.
std::wstring Utf8ToWide(const char* text);
std::string WideToUtf8(const std::wstring& text);
