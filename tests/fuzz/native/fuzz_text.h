// Wide text for the fuzzers from their input bytes, so seeds can be plain UTF-8 files while
// every 16-bit character the Windows build sees stays reachable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// UTF-8 sequences of one to three bytes become the UTF-16 unit they encode (lone surrogates
// included); four-byte sequences become a surrogate pair, as Windows holds them; any other byte
// becomes the character of the same value. Every character stays within 16 bits, as a Windows
// wchar_t does.
inline std::wstring WideFromBytes(const uint8_t* data, size_t size) {
    std::wstring out;
    size_t i = 0;
    const auto continuation = [&](size_t at) { return at < size && (data[at] & 0xC0) == 0x80; };
    while (i < size) {
        const uint8_t b = data[i];
        if (b >= 0xC2 && b <= 0xDF && continuation(i + 1)) {
            out += static_cast<wchar_t>((b & 0x1F) << 6 | (data[i + 1] & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
            out += static_cast<wchar_t>((b & 0x0F) << 12 | (data[i + 1] & 0x3F) << 6 |
                                        (data[i + 2] & 0x3F));
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4 && continuation(i + 1) && continuation(i + 2) &&
                   continuation(i + 3)) {
            const uint32_t c = static_cast<uint32_t>(b & 0x07) << 18 |
                               static_cast<uint32_t>(data[i + 1] & 0x3F) << 12 |
                               static_cast<uint32_t>(data[i + 2] & 0x3F) << 6 |
                               (data[i + 3] & 0x3F);
            if (c >= 0x10000 && c <= 0x10FFFF) {
                out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
                out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                out += static_cast<wchar_t>(c & 0xFFFF);
            }
            i += 4;
        } else {
            out += static_cast<wchar_t>(b);
            ++i;
        }
    }
    return out;
}
