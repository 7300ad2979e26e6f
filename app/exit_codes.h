// The process exit codes: the values deployment tools understand for installers (they map
// them by default), for silent and interactive runs alike.
#pragma once

enum ExitCode : int {
    kExitOk = 0,                 // installed; also help and packer
    kExitCancelled = 1602,       // the user declined (running application kept)
    kExitFailed = 1603,          // fatal: package, extraction, directory, system too old
    kExitNotInstalled = 1605,    // an uninstaller outside any installation: nothing removed
    kExitAlreadyRunning = 1618,  // another installer is running
    kExitRestartNeeded = 3010,   // done; files are removed at the next restart
};
