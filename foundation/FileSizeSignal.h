#pragma once

// A write that would take a file past the file-size limit (ulimit -f) fails
// with the system's "File too large" (EFBIG), and the system also sends the
// writing process SIGXFSZ, whose default action ends the process at once.
// The program has unsaved work to keep and a writer that reports the failed
// write like a full disk, so it catches the signal and lets the write fail.
//
// The signal is caught by a handler that does nothing, not ignored: a started
// program (an editor, the browser) gets the default action back when it is
// started, whereas an ignored signal would stay ignored in it.
void catchFileSizeSignal();
