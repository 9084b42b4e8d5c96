#include "Downloads.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>

#include <curl/curl.h>

#include "AppError.h"
#include "Reporter.h"
#include "SafeFileWriter.h"

namespace {

constexpr int kDownloadErrorOffset = 517;

DownloadTimeouts currentTimeouts;

struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

size_t writeToFile(char* data, size_t size, size_t count, void* userData) {
    auto* file = static_cast<SafeFileWriter*>(userData);
    // A short write makes the transfer library stop with a write error.
    return file->write(data, static_cast<qsizetype>(size * count)) ? size * count : 0;
}

[[noreturn]] void raiseDownloadError(const QString& source, const QString& url, unsigned code) {
    raiseError(kDownloadErrorOffset, source,
               QStringLiteral("Unable to download file ") + url + QStringLiteral(" (code = ") +
                   QString::number(code, 16).toUpper() + QStringLiteral(")"));
}

// Transfers url into file (already open); returns the transfer result.
unsigned transfer(const QString& url, SafeFileWriter& file) {
    static CurlGlobal global;
    CURL* curl = curl_easy_init();
    if (!curl) return CURLE_FAILED_INIT;
    const QByteArray encodedUrl = url.toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, encodedUrl.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, currentTimeouts.connectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, currentTimeouts.totalMs);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Kvora");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &writeToFile);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &file);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return static_cast<unsigned>(result);
}

// Downloads url to path through a temporary file; raises on failure.
void downloadTo(const QString& url, const QString& path, const QString& source) {
    const QUrl parsed(url);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        raiseDownloadError(source, url, CURLE_UNSUPPORTED_PROTOCOL);
    }
    // A failure must leave no partial file and any older file as it was.
    SafeFileWriter file(path);
    if (!file.open()) raiseDownloadError(source, url, CURLE_WRITE_ERROR);
    const unsigned result = transfer(url, file);
    if (result != CURLE_OK) raiseDownloadError(source, url, result);
    if (!file.commit()) raiseDownloadError(source, url, CURLE_WRITE_ERROR);
}

// The cache file of a URL: a hash of the whole URL keeps different URLs apart,
// the URL's own file name keeps the file recognisable.
QString cacheFileName(const QString& url) {
    const QByteArray hash = QCryptographicHash::hash(url.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString name = QUrl(url).fileName();
    name.remove(QLatin1Char('/'));
    name.remove(QLatin1Char('\\'));
    if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) name.prepend(QStringLiteral("download"));
    return QString::fromLatin1(hash) + QLatin1Char('-') + name.left(120);
}

}  // namespace

void setDownloadTimeouts(const DownloadTimeouts& timeouts) { currentTimeouts = timeouts; }

DownloadTimeouts downloadTimeouts() { return currentTimeouts; }

void DownloadFile(const QString& sURL, const QString& sFile) {
    downloadTo(sURL, sFile, QStringLiteral("DownloadFile"));
}

QString downloadCacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/downloads");
}

QString DownloadFileCache(const QString& sURL, Reporter* reporter) {
    const QString source = QStringLiteral("DownloadFileCache");
    const QString folder = downloadCacheFolder();
    if (!QDir().mkpath(folder)) raiseDownloadError(source, sURL, CURLE_WRITE_ERROR);
    const QString path = folder + QLatin1Char('/') + cacheFileName(sURL);
    downloadTo(sURL, path, source);
    if (reporter) {
        reporter->logLine(QStringLiteral("Downloading ") + sURL + QStringLiteral(" to file cache for local access"));
    }
    return path;
}
