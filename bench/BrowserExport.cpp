#include "BrowserExport.h"

#include <map>

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

QString generatedTreeFile(int persons) {
    static QTemporaryDir dir(benchFolder() + QStringLiteral("/kvora_exported_XXXXXX"));
    static std::map<int, QString> made;
    auto it = made.find(persons);
    if (it != made.end()) return it->second;
    const QString folder = dir.filePath(QString::number(persons));
    QDir().mkpath(folder);
    const QString gedcom = QDir(folder).filePath(QStringLiteral("generated.ged"));
    writeGeneratedGedcom(gedcom.toStdString(), persons);
    BrowserExport browser;
    browser.load(gedcom);
    return made[persons] = browser.exportTo(folder);
}
