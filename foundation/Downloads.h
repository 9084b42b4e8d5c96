#pragma once

#include <QString>

class Reporter;

// Downloads over http and https (no other scheme is accepted), following
// redirects. An HTTP status of 400 or above is a failure. The data is written
// to a temporary file beside the target and renamed into place only when the
// whole transfer succeeded, so a failed download leaves no file behind and an
// older file of the same name untouched. Failures raise the download error
// "Unable to download file <URL> (code = <hex>)", whose code is the transfer
// library's result code in hexadecimal.

// Limits of one transfer, in milliseconds.
struct DownloadTimeouts {
    long connectMs = 15000;
    long totalMs = 120000;
};

// The limits used by every later download (tests shorten them).
void setDownloadTimeouts(const DownloadTimeouts& timeouts);
DownloadTimeouts downloadTimeouts();

// Downloads sURL to the local file sFile. Errors carry the source "DownloadFile".
void DownloadFile(const QString& sURL, const QString& sFile);

// Downloads sURL (always afresh) into the program's download cache, a folder
// under the user's cache folder, and returns the local file's full path. On
// success it first logs "Downloading <URL> to file cache for local access"
// through the reporter when one is given. Errors carry the source
// "DownloadFileCache".
QString DownloadFileCache(const QString& sURL, Reporter* reporter = nullptr);

// The folder of the download cache.
QString downloadCacheFolder();
