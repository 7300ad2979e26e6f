// Tracking ids from the command line or the executable's name, the silent install
// directory, and the scrambled lw_user_data.ini values.
#pragma once

#include <string>

// The tracking ids; 0 until the command line, the file name or the configuration sets them.
extern int Tid1;
extern int Tid2;

// Both non-zero and neither above 500000 (negative values pass).
bool IsValidTrackingPair(int tid1, int tid2);

// Sets Tid1/Tid2 from the "/tid1:" and "/tid2:" words, else from the last two "_"-parts of
// the executable's file name; leaves both 0 when neither gives a valid pair.
bool ParseCommandLine(const std::wstring& commandLine);
// The same with the executable's file name given, so the rule can be checked for any name.
bool ParseTrackingIds(const std::wstring& commandLine, const std::wstring& fileName);

// The installation directory named by "d=", with the install folder name appended; or empty.
std::wstring GetSilentInstallDir(const std::wstring& commandLine);

// Writes Tid1, Tid2 (unless both are already there) and TryNo into lw_user_data.ini.
void WriteUserDataIni(const std::wstring& installDir);

// UTF-8, each byte XORed with 0x3A, as lower-case hex, then "EDSTRING".
std::wstring EncodeIniValue(const std::wstring& text);
// The inverse; a text without the marker is returned as it is.
std::wstring DecodeIniValue(const std::wstring& text);
