#include "UserRoad.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSize>

#include "ChartRun.h"
#include "FormGrid.h"
#include "GEDBrowserSession.h"
#include "LoadedGEDCOMClass.h"
#include "MainWindowLink.h"
#include "PictureEntry.h"
#include "SVGLayout.h"

namespace {

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& f : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + f.fileName();
        if (f.isDir())
            copyFolder(f.absoluteFilePath(), target);
        else
            QFile::copy(f.absoluteFilePath(), target);
    }
}

// Makes the tree's folder current while a step works on it, as the program
// does: pictures are named relative to it.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder) : previous_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~CurrentFolder() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

}  // namespace

TreeShape TreeShape::of(const SVGTree& tree) {
    TreeShape shape;
    const PersonDict& persons = tree.GetPersons();
    for (int i = 0; i < persons.count(); ++i) {
        const SVGBoxPtr& box = persons.valueAt(i);
        shape.persons.insert(box->GetKey(), QStringLiteral("%1,%2").arg(box->GetTreeCol()).arg(box->GetTreeRow()));
    }
    const FamilyDict& families = tree.GetFamilies();
    for (int i = 0; i < families.count(); ++i) {
        const SVGFamilyPtr& fam = families.valueAt(i);
        QStringList children;
        for (const SVGBoxPtr& child : fam->GetChildren()) children << child->GetKey();
        const auto key = [](const SVGBoxPtr& p) { return p ? p->GetKey() : QStringLiteral("-"); };
        shape.families.insert(fam->GetKey(),
                              key(fam->GetFirstPar()) + u' ' + key(fam->GetSecPar()) + u':' + children.join(u' '));
    }
    return shape;
}

int TreeShape::occupiedCells() const {
    const QList<QString> cells = persons.values();
    return int(QSet<QString>(cells.cbegin(), cells.cend()).size());
}

QString TreeShape::differenceFrom(const TreeShape& other) const {
    const auto compare = [](const QString& what, const QMap<QString, QString>& a,
                            const QMap<QString, QString>& b) -> QString {
        if (a.size() != b.size()) return QStringLiteral("%1: %2 against %3").arg(what).arg(a.size()).arg(b.size());
        for (auto it = a.cbegin(); it != a.cend(); ++it)
            if (b.value(it.key()) != it.value())
                return QStringLiteral("%1 %2: %3 against %4").arg(what, it.key(), it.value(), b.value(it.key()));
        return {};
    };
    const QString persons = compare(QStringLiteral("person"), this->persons, other.persons);
    return persons.isEmpty() ? compare(QStringLiteral("family"), families, other.families) : persons;
}

UserRoad::UserRoad(const QString& dataFolder, const QString& workFolder)
    : data_(QFileInfo(dataFolder).absoluteFilePath()), work_(QFileInfo(workFolder).absoluteFilePath()) {
    QDir(work_).removeRecursively();
    QDir().mkpath(work_);
    apps_.Initialise(data_, reporter_);
    MainWindowLink::attach(nullptr, &designerReporter_);
}

UserRoad::~UserRoad() { MainWindowLink::attach(nullptr, nullptr); }

QString UserRoad::importGedcom(const QString& gedFile, bool pictures) {
    const QFileInfo source(gedFile);
    const QString copy = QDir(work_).filePath(source.fileName());
    QFile::copy(source.absoluteFilePath(), copy);
    const QString pictureFolder = source.absoluteDir().filePath(QStringLiteral("pictures"));
    if (QFileInfo(pictureFolder).isDir()) copyFolder(pictureFolder, QDir(work_).filePath(QStringLiteral("pictures")));

    RoadBrowserHost host;
    LoadedGEDCOMClass holder;
    GEDBrowserSession session(host);
    session.open(holder);
    session.setLoadImages(pictures);
    session.loadFile(copy);
    QString treeFile;
    if (session.document()) {
        gedcomPersons_ = int(session.persons().size());
        gedcomFamilies_ = session.document()->GetCountFamilies();
        treeFile = QDir(work_).filePath(session.proposedExportName());
        session.ExportTreeFile(treeFile);
    }
    session.close();
    browserWarnings_ = host.warnings;
    return treeFile;
}

std::shared_ptr<SVGTree> UserRoad::loadTree(const QString& treeFile) {
    auto tree = std::make_shared<SVGTree>();
    tree->setReporter(&reporter_);
    tree->setApplications(&apps_);
    tree->LoadFile(std::make_shared<SVGDisplay>(), treeFile, false);
    tree->SetAppDict(apps_.Load(tree->GetSettings()));
    return tree;
}

int UserRoad::designAndLayout(const std::shared_ptr<SVGTree>& tree) {
    const CurrentFolder current(QFileInfo(tree->GetTreeFile()).absolutePath());
    FormGrid form;
    // The user enters a large tree's grid, however large.
    form.model().askVeryLargeGrid = [this](const QString& question) {
        gridQuestions_ << question;
        return true;
    };
    form.LoadDetails(tree, QString());
    SVGLayout layout(&designerReporter_);
    layout.Organise(*tree);
    form.LoadDetails(tree, QString());
    const int boxes = form.boxCount();
    form.close();
    return boxes;
}

QStringList UserRoad::writeCharts(SVGTree& tree, bool svg) {
    tree.GetSettings().set(QStringLiteral("SVGFile"), svg ? QStringLiteral("True") : QStringLiteral("False"));
    tree.GetDisplay()->Init(tree.GetSettings());
    tree.SetAppDict(apps_.Load(tree.GetSettings()));
    const CurrentFolder current(QFileInfo(tree.GetTreeFile()).absolutePath());
    ChartRun run(tree, apps_, reporter_, data_);
    run.setPictureSize([](const QString& file) {
        const PicturePtr picture = LoadPictureEx(file);
        return picture ? QSize(picture->width(), picture->height()) : QSize();
    });
    return run.ProcessTree(tree.GetTreeFile());
}

QStringList UserRoad::problems() const {
    QStringList out;
    for (const QString& w : reporter_.warnings()) out << QStringLiteral("warning: ") + w;
    for (const QString& b : boxes_.texts())
        if (!b.startsWith(QLatin1String(kPassLimitNotice))) out << QStringLiteral("box: ") + b;
    return out;
}
