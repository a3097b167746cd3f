#pragma once

// vralctl's exit statuses, the same for every command.
enum ExitStatus {
    ExitOk = 0,
    ExitFileError = 1,  // a file that could not be read or written
    ExitUsage = 2,      // a usage error, or a check refused the command (nothing sent)
    ExitLinkFailed = 3, // the link failed
};
