// The pixel size of one line of text.
#pragma once

#include <string>

struct TextSize {
    int width;
    int height;
};

// Measured with the generic typographic format and rounded up. A family that does not
// exist measures with the generic sans-serif family, so sizes stay sensible.
TextSize MeasureTextSize(const std::wstring& text, const std::wstring& family, int size,
                         bool bold, bool italic, bool underline);
