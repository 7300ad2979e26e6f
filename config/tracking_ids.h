// The tracking ids every report and the user-data file carry.
#pragma once

// 0 until the command line, the file name or the configuration sets them.
extern int Tid1;
extern int Tid2;

// Both non-zero and neither above 500000 (negative values pass).
bool IsValidTrackingPair(int tid1, int tid2);
