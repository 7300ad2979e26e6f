// Fonts by family, pixel size and style, each made once per process. Making a GDI+ font
// looks its family up among the installed fonts, which costs more than drawing a line of
// text with it, and every control draws and measures its text in every frame.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

// The font, or null when the family or the font cannot be made. An empty family names the
// generic sans-serif family. The font lives until ReleaseCachedFonts.
Gdiplus::Font* CachedFont(const std::wstring& family, int size, int style);

// Deletes every cached font; called before GDI+ shuts down.
void ReleaseCachedFonts();
