#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// "upload setup|timing|shift|all FILE" and "download setup|timing|shift|all
// FILE": the File menu's data transfers, run by the same transfer engine
// (the same exchanges in the same order, the same progress maxima).
//
// An upload reads the board into the set-up file FILE: the file is opened
// when it exists (a new default document otherwise), the values are read
// into it and it is saved, all at once, only when the whole transfer
// succeeded; a transfer that fails leaves FILE as it was. A download writes
// the document in FILE to the board; FILE must exist.
//
// Ctrl+C or SIGTERM cancels the transfer as the progress window's Cancel
// does: before the next value, before the timing channels or between two
// channels; what was transferred stays (on the board; an upload's file is
// not written).
//
// A file that cannot be read or written gives ExitFileError, a transfer
// that did not complete (the link failed, the PLS refused its configuration
// or a channel, or it was cancelled) ExitLinkFailed, after the transfer's
// box ("VRAL: Error Processing Request Process Not Complete ..." or "Data
// Download: Process Cancelled ...") naming the last thing it did. A download in which the link
// refused a value for its location (an entry alert) gives ExitUsage: that value was not written,
// the others were. A progress line shows on standard error when it is a terminal.
int runUpload(CliSession& session, const QStringList& args, QTextStream& out);
int runDownload(CliSession& session, const QStringList& args, QTextStream& out);
