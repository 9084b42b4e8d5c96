#include "BrowserExport.h"

#include <map>
#include <utility>

#include <QDir>
#include <QTemporaryDir>

#include "GEDBrowserSession.h"
#include "GedcomGenerator.h"
#include "LoadedGEDCOMClass.h"

BrowserExport::BrowserExport()
    : holder_(std::make_unique<LoadedGEDCOMClass>()), session_(std::make_unique<GEDBrowserSession>(host_)) {
    session_->open(*holder_);
}

BrowserExport::~BrowserExport() {
    session_->close();
    session_.reset();
    holder_.reset();
}

void BrowserExport::load(const QString& gedcomFile) {
    session_->loadFile(gedcomFile);
}

QString BrowserExport::exportTo(const QString& folder) {
    const QString treeFile = QDir(folder).filePath(session_->proposedExportName());
    session_->ExportTreeFile(treeFile);
    return treeFile;
}

QString benchFolder() {
    const QByteArray dir = qgetenv("KV_BENCH_DIR");
    return dir.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(dir);
}

QString generatedTreeFile(int persons, std::uint32_t seed) {
    static QTemporaryDir dir(benchFolder() + QStringLiteral("/kvora_exported_XXXXXX"));
    static std::map<std::pair<int, std::uint32_t>, QString> made;
    auto it = made.find({persons, seed});
    if (it != made.end()) return it->second;
    const QString folder = dir.filePath(QString::number(persons) + u'_' + QString::number(seed));
    QDir().mkpath(folder);
    const QString gedcom = QDir(folder).filePath(QStringLiteral("generated.ged"));
    writeGeneratedGedcom(gedcom.toStdString(), persons, seed);
    BrowserExport browser;
    browser.load(gedcom);
    return made[{persons, seed}] = browser.exportTo(folder);
}
