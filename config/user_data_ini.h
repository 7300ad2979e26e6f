// lw_user_data.ini in the installation directory: the tracking ids and try number the
// installer leaves for the application, and the user values the application leaves there.
// Values are stored scrambled.
#pragma once

#include <string>

// Writes Tid1, Tid2 (unless both are already there) and TryNo into lw_user_data.ini.
void WriteUserDataIni(const std::wstring& installDir);

// UTF-8, each byte XORed with 0x3A, as lower-case hex, then "EDSTRING".
std::wstring EncodeIniValue(const std::wstring& text);
// The inverse; a text without the marker is returned as it is.
std::wstring DecodeIniValue(const std::wstring& text);
