// The arithmetic behind the installing page's progress bar and percentage label.
#pragma once

#include <string>

// The download percentage for `received` of `total` bytes: received * 100 / (total + 1) in
// single precision, truncated, so a finished download shows 99 until extraction takes
// over. -1 when the total is not known (0 or less), since a percentage of an unknown size
// would be meaningless; the result never exceeds 100.
int DownloadPercent(int received, int total);

// Whether the bar takes a percentage: values above 100 change the label only.
bool BarTakesPercent(unsigned percent);

// The label for a percentage: the number followed by a percent sign.
std::wstring PercentLabel(unsigned percent);
