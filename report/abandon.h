// Giving up the reports that are still to be sent, for the whole process.
#pragma once

// Makes every transfer of this process stop at its next progress call, and every later one
// stop before it starts. Not undone.
void AbandonReports();
bool ReportsAbandoned();
