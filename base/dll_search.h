// Where the process looks for DLLs.
#pragma once

// Loads GDI+ from the system directory, then limits every later DLL search of the process to
// the system directory: the folder setup.exe runs from (a download folder the user can
// write) and the current directory are never searched. Called first thing in the entry
// point, before any delay-loaded DLL is used.
void LimitDllSearchToSystem();
