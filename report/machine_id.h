// The machine id: 32 lower-case hex digits, kept in the 32-bit registry view so every run
// and every installation on this computer reports the same one.
#pragma once

#include <string>

// HKEY_CLASSES_ROOT key and value that hold the id.
extern const wchar_t kIdexKey[];
extern const wchar_t kIdexValue[];

// The stored id, or a new one (stored when possible); false when it came out empty.
bool GetMachineId(std::wstring* id);

// The stored id: a REG_SZ or REG_EXPAND_SZ value of even size that ends in a NUL.
bool ReadIdex(std::wstring* id);
// Stores `id` (not when empty).
bool WriteIdex(const std::wstring& id);

// An id made from random, time and hardware values; the same one for the rest of the process.
std::wstring GenerateMachineId();
