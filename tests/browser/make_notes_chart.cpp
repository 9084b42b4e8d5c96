// Writes an HTML chart whose persons hold the given notes, each kept to the
// mark-up a note may hold as a GEDCOM file's notes are: the note is made safe,
// its line breaks become "<br/>" tags and it is written as the lines of a tree
// file's notes (a carriage return, which no line may hold, dropped); the tree
// is saved and loaded again, and the chart run writes the page with the
// shipped templates and support scripts, each note in its hidden holder.
//
// Usage: make_notes_chart <program data folder> <notes.json> <output folder>
// notes.json holds an array of strings; note i (from 1) belongs to person
// "n" + i. Prints the chart's path. Ends with status 1 (and the reason on
// stderr) when a step fails or warns.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

#include "AppError.h"
#include "ChartRun.h"
#include "GEDNoteMarkup.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGBox.h"
#include "SVGDisplay.h"
#include "SVGTree.h"
#include "WriteTextFile.h"

namespace {

int fail(const QString& why) {
    std::fprintf(stderr, "make_notes_chart: %s\n", qPrintable(why));
    return 1;
}

// A tree of one person per note, in rows of 20, for an HTML chart with its
// notes and information panels.
void writeTree(const QString& file, qsizetype persons) {
    WriteTextFile out;
    out.OpenFile(file, false);
    out.WriteLine(QStringLiteral("H Title=Notes,Inst=N,SVGFile=False,PanZoom=False,NotesData=True,InfoPanels=True"));
    out.WriteLine(QStringLiteral("H DesCols=20,DesRows=") + QString::number((persons + 19) / 20));
    for (qsizetype i = 0; i < persons; ++i)
        out.WriteLine(QStringLiteral("P n%1=u(%2,%3):Note %1").arg(i + 1).arg(i % 20 + 1).arg(i / 20 + 1));
    out.CloseFile();
}

std::shared_ptr<SVGTree> loadTree(const QString& file, SVGApplications& apps, RecordingReporter& reporter) {
    auto tree = std::make_shared<SVGTree>();
    tree->setReporter(&reporter);
    tree->setApplications(&apps);
    tree->LoadFile(std::make_shared<SVGDisplay>(), file, false);
    return tree;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: make_notes_chart <program data folder> <notes.json> <output folder>\n");
        return 2;
    }
    const QString dataFolder = QFileInfo(args[1]).absoluteFilePath();
    QFile json(args[2]);
    if (!json.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot read ") + args[2]);
    const QJsonArray notes = QJsonDocument::fromJson(json.readAll()).array();
    const QString folder = QFileInfo(args[3]).absoluteFilePath();
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString treeFile = folder + QStringLiteral("/TreeNotes.txt");

    RecordingReporter reporter;
    SVGApplications apps;
    QStringList files;
    try {
        apps.Initialise(dataFolder, reporter);
        writeTree(treeFile, notes.size());
        std::shared_ptr<SVGTree> tree = loadTree(treeFile, apps, reporter);
        for (qsizetype i = 0; i < notes.size(); ++i) {
            bool unsafe = false;
            const QString kept = safeNoteMarkup(notes[i].toString(), unsafe);
            const SVGBoxPtr person = tree->GetPersons().value(QStringLiteral("n") + QString::number(i + 1));
            for (const QString& line : QString(kept).replace(u'\n', QStringLiteral("<br/>\n")).split(u'\n'))
                person->AddNotes(QString(line).remove(u'\r'));
        }
        tree->SaveToFile();
        tree = loadTree(treeFile, apps, reporter);
        ChartRun run(*tree, apps, reporter, dataFolder);
        files = run.ProcessTree(tree->GetTreeFile());
    } catch (const AppError& e) {
        return fail(QStringLiteral("error %1 in %2: %3").arg(e.number).arg(e.source, e.description));
    }
    const QList<QString> warnings = reporter.texts(RecordingReporter::Entry::Warn);
    if (!warnings.isEmpty()) return fail(warnings.join(u'\n'));
    if (files.size() != 1) return fail(QStringLiteral("the chart run wrote %1 files").arg(files.size()));
    std::printf("%s\n", qPrintable(files.first()));
    return 0;
}
