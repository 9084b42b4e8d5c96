// Writing the tree to its tree definition file (SVGTree::SaveToFile, SaveAs).
#include "SVGTree.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <vector>

#include <QFileInfo>

#include "SVGBox.h"
#include "SVGFamily.h"
#include "TreeText.h"
#include "foundation/ReadTextFile.h"
#include "applications/SVGApplications.h"
#include "foundation/AppError.h"
#include "foundation/TextHelpers.h"
#include "foundation/WriteTextFile.h"

const char* const SVGTree::kSaveAsFilter =
    "Tree Files (Tree*.txt)|tree*.txt|All Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
const char* const SVGTree::kSaveAsDefaultExt = ".txt";
const char* const SVGTree::kSaveAsTitle = "Select New Tree Definition File";

namespace {
const QString kSource = QStringLiteral("SVGTree");
constexpr int kHeaderLineLength = 120;

// True when the two paths name one file (the second need not exist yet).
bool sameFile(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists()) return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

[[noreturn]] void refuse(const QString& what, const QString& problem) {
    raiseError(ErrorOffset::InvalidKey, kSource,
               QStringLiteral("The tree cannot be saved: ") + what + u' ' + problem +
                   QStringLiteral(", which a tree definition file cannot hold there"));
}

void checkLines(const QStringList& lines, const QString& what) {
    for (const QString& line : lines) {
        if (hasLineBreak(line)) refuse(what, QStringLiteral("holds a line break"));
        // Written after a two-character mark.
        if (!ReadTextFile::FitsInRecord(QString(QStringLiteral("= ") + line)))
            refuse(what, QStringLiteral("is longer than the ") + QString::number(ReadTextFile::kMaxRecordBytes) +
                             QStringLiteral(" bytes of a line"));
    }
}

// Each local setting must read back as it stands: no comma or line break,
// and a name and value its owner's settings parser accepts.
template <typename Owner>
void checkLocalSettings(const StringDict& settings, const QString& owner) {
    for (const auto& kv : settings) {
        const QString what = QStringLiteral("the local setting ") + kv.first + QStringLiteral(" of ") + owner;
        if (hasLineBreak(kv.first) || hasLineBreak(kv.second)) refuse(what, QStringLiteral("holds a line break"));
        if (kv.first.contains(u',') || kv.second.contains(u',')) refuse(what, QStringLiteral("holds a comma"));
        if (kv.first.contains(u'=')) refuse(what, QStringLiteral("has an equals sign in its name"));
        Owner scratch;
        try {
            scratch.InitSettings(kv.first + u'=' + kv.second);
        } catch (const AppError& e) {
            raiseError(ErrorOffset::InvalidKey, kSource,
                       QStringLiteral("The tree cannot be saved: ") + what + QStringLiteral(" would not load again (") +
                           e.description + u')');
        }
    }
}

// The positions of `keys` in the order an exchanging selection sort leaves
// them (for each place in turn, every later key smaller than the one held
// there is exchanged into it), found without the sort's quadratic scans.
//
// The sort leaves the keys ascending; what needs working out is the order of
// equal keys. Among the keys up to some value v, each pass of the sort removes
// the first smaller key still there, and when keys v stand before it, the
// first of those takes its place, behind the other ones. So the keys v end up
// in a queue that takes each of them at its back in turn and moves its front
// to its back once for every smaller key that follows.
std::vector<size_t> exchangeSortOrder(const std::vector<qint32>& keys) {
    const size_t n = keys.size();
    std::vector<size_t> byKey(n);
    std::iota(byKey.begin(), byKey.end(), size_t{0});
    std::stable_sort(byKey.begin(), byKey.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    // Counts, by position, the keys of the groups already placed: all smaller.
    std::vector<size_t> counts(n + 1, 0);
    auto smallerBefore = [&](size_t pos) {
        size_t sum = 0;
        for (size_t i = pos; i > 0; i -= i & (~i + 1)) sum += counts[i];
        return sum;
    };
    auto count = [&](size_t pos) {
        for (size_t i = pos + 1; i <= n; i += i & (~i + 1)) ++counts[i];
    };
    std::vector<size_t> order;
    order.reserve(n);
    std::vector<size_t> queue;  // read from `head` round to the place before it
    for (size_t first = 0; first < n;) {
        size_t end = first;
        while (end < n && keys[byKey[end]] == keys[byKey[first]]) ++end;
        queue.clear();
        size_t head = 0;
        for (size_t k = first; k < end; ++k) {
            const size_t pos = byKey[k];
            if (k > first) head = (head + smallerBefore(pos) - smallerBefore(byKey[k - 1])) % queue.size();
            if (head == 0) queue.push_back(pos);
            else queue.insert(queue.begin() + static_cast<std::ptrdiff_t>(head++), pos);
        }
        head = (head + first - smallerBefore(byKey[end - 1])) % queue.size();
        order.insert(order.end(), queue.begin() + static_cast<std::ptrdiff_t>(head), queue.end());
        order.insert(order.end(), queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(head));
        for (size_t k = first; k < end; ++k) count(byKey[k]);
        first = end;
    }
    return order;
}
}  // namespace

void SVGTree::checkSavable() const {
    for (const auto& kv : settings_) {
        const QString what = QStringLiteral("the header setting ") + kv.first;
        if (hasLineBreak(kv.first) || hasLineBreak(kv.second)) refuse(what, QStringLiteral("holds a line break"));
        if (kv.first.contains(u',') || kv.second.contains(u',')) refuse(what, QStringLiteral("holds a comma"));
        if (kv.first.contains(u'=')) refuse(what, QStringLiteral("has an equals sign in its name"));
    }
    // The reader re-derives the display settings from the header and builds
    // the enabled set from it; a value either refuses would end that load.
    try {
        SVGDisplay probe;
        probe.Init(settings_);
        if (applications_) applications_->Load(settings_);
    } catch (const AppError& e) {
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("The tree cannot be saved: the header settings would not load again (") +
                       e.description + u')');
    }
    for (const auto& kv : placeKeys_.GetDict()) {
        if (!bValidName(kv.first))
            refuse(QStringLiteral("the place key ") + kv.first, QStringLiteral("is no valid key name"));
        if (hasLineBreak(kv.second))
            refuse(QStringLiteral("the place key ") + kv.first, QStringLiteral("holds a line break"));
    }
    for (const auto& kv : persons_) {
        const SVGBox& p = *kv.second;
        const QString who = QStringLiteral("person ") + kv.first;
        static const QStringList sexes = {QStringLiteral("f"), QStringLiteral("m"), QStringLiteral("u"),
                                          QStringLiteral("x")};
        if (!sexes.contains(p.GetSex().toLower()))
            refuse(QStringLiteral("the sex of ") + who, QStringLiteral("is \"") + p.GetSex() + u'"');
        if (!fitsBetweenBars(p.GetText()))
            refuse(QStringLiteral("the caption of ") + who, QStringLiteral("holds a line break or \"|\""));
        if (!fitsBetweenBars(p.GetShortText()))
            refuse(QStringLiteral("the short caption of ") + who, QStringLiteral("holds a line break or \"|\""));
        if (hasLineBreak(p.GetPersonalNames()))
            refuse(QStringLiteral("the personal names of ") + who, QStringLiteral("hold a line break"));
        if (hasLineBreak(p.GetImage()))
            refuse(QStringLiteral("the image of ") + who, QStringLiteral("holds a line break"));
        checkLines(p.GetNotes(), QStringLiteral("a notes line of ") + who);
        checkLines(p.GetTooltips(), QStringLiteral("a tooltip line of ") + who);
        checkLines(p.GetProgData(), QStringLiteral("a program-data row of ") + who);
        checkLocalSettings<SVGBox>(p.GetLocSettings(), who);
    }
    for (const auto& kv : families_) {
        const SVGFamily& f = *kv.second;
        const QString which = QStringLiteral("family ") + kv.first;
        checkLines(f.GetNotes(), QStringLiteral("a notes line of ") + which);
        checkLines(f.GetTooltips(), QStringLiteral("a tooltip line of ") + which);
        checkLines(f.GetProgData(), QStringLiteral("a program-data row of ") + which);
        checkLocalSettings<SVGFamily>(f.GetLocSettings(), which);
    }
    for (const auto& kv : viewpoints_) {
        const QString name = kv.second->GetName();
        if (!bValidName(kv.first))
            refuse(QStringLiteral("the viewpoint key ") + kv.first, QStringLiteral("is no valid key name"));
        const QString what = QStringLiteral("the name of viewpoint ") + kv.first;
        if (!fitsBetweenBars(name)) refuse(what, QStringLiteral("holds a line break or \"|\""));
        if (trimBlanks(name).isEmpty()) refuse(what, QStringLiteral("is empty"));
        // The reader adds a family to a viewpoint only after both its parents.
        const KeySet& shown = kv.second->GetFamKeys();
        for (int i = 0; i < shown.count(); ++i) {
            const SVGFamilyPtr* family = families_.find(shown.at(i));
            if (!family || !*family || !kv.second->PersonExists((*family)->GetFirstPar()->GetKey()) ||
                !kv.second->PersonExists((*family)->GetSecPar()->GetKey()))
                refuse(QStringLiteral("the family ") + shown.at(i) + QStringLiteral(" of viewpoint ") + kv.first,
                       QStringLiteral("is shown without both its parents"));
        }
    }
}

void SVGTree::SaveToFile() {
    if (incomplete_) refuseIncompleteSave();
    logLine(QStringLiteral("Saving changes to tree definition file: ") + treeFile_);
    checkSavable();
    setSetting(QStringLiteral("Version"), sGetVersion());

    WriteTextFile out;
    out.OpenFile(treeFile_, false);

    // Header records: settings packed into lines of about 120 characters.
    QString header;
    for (const auto& kv : settings_) {
        const QString item = kv.first + u'=' + kv.second;
        if (header.isEmpty()) {
            header = item;
        } else if (header.size() + kv.first.size() + kv.second.size() > kHeaderLineLength) {
            out.WriteLine(QStringLiteral("H ") + header);
            header = item;
        } else {
            header += u',' + item;
        }
    }
    if (!header.isEmpty()) {
        out.WriteLine(QStringLiteral("H ") + header);
        out.WriteLine(QString());
    }

    if (!placeKeys_.GetDict().isEmpty()) {
        for (const auto& kv : placeKeys_.GetDict()) out.WriteLine(QStringLiteral("U ") + kv.first + u'=' + kv.second);
        out.WriteLine(QString());
    }

    auto writeAttached = [&](const QStringList& notes, const QStringList& tips, const QStringList& data,
                             const StringDict& locals) {
        for (const QString& l : notes) out.WriteLine(QStringLiteral("= ") + l);
        for (const QString& l : tips) out.WriteLine(QStringLiteral("- ") + l);
        for (const QString& l : data) out.WriteLine(QStringLiteral("# ") + l);
        for (const auto& kv : locals) out.WriteLine(QStringLiteral("/ ") + kv.first + u'=' + kv.second);
    };

    for (const auto& kv : persons_) {
        const SVGBox& p = *kv.second;
        QString line = QStringLiteral("P ") + kv.first;
        if (!p.GetImage().isEmpty()) line += u'(' + p.GetImage() + u')';
        line += p.GetTentative() ? u'~' : u'=';
        line += p.GetSex() + u'(' + QString::number(p.GetTreeCol()) + u',' + QString::number(p.GetTreeRow()) +
                QStringLiteral("):") + p.GetText() + u'|' + p.GetShortText() + u'|' + p.GetPersonalNames();
        out.WriteLine(line);
        writeAttached(p.GetNotes(), p.GetTooltips(), p.GetProgData(), p.GetLocSettings());
    }
    out.WriteLine(QString());

    if (!families_.isEmpty()) {
        // Earlier rows first, then couples standing closer together; equal keys
        // end up exactly where an exchanging selection sort puts them.
        std::vector<const SVGFamily*> held;
        std::vector<qint32> keys;
        held.reserve(families_.count());
        keys.reserve(families_.count());
        for (const auto& kv : families_) {
            const SVGFamily& f = *kv.second;
            held.push_back(&f);
            keys.push_back(f.GetFirstPar()->GetTreeRow() * 1000 +
                           std::abs(f.GetFirstPar()->GetTreeCol() - f.GetSecPar()->GetTreeCol()));
        }
        for (const size_t index : exchangeSortOrder(keys)) {
            const SVGFamily* f = held[index];
            QString line = QStringLiteral("F ") + f->GetKey() + (f->GetLiaison() ? u'~' : u'=') +
                           f->GetFirstPar()->GetKey() + u'+' + f->GetSecPar()->GetKey() + u':';
            QStringList children;
            for (const SVGBoxPtr& c : f->GetChildren()) children << c->GetKey();
            line += children.join(u',');
            if (f->GetMoreChildren()) line += children.isEmpty() ? QStringLiteral("...") : QStringLiteral(",...");
            out.WriteLine(line);
            writeAttached(f->GetNotes(), f->GetTooltips(), f->GetProgData(), f->GetLocSettings());
        }
        out.WriteLine(QString());
    }

    // Viewpoints are written whether or not the Viewpoints setting uses them,
    // so that a save never drops what the file held.
    for (const auto& kv : viewpoints_) {
        const SVGViewpointClass& v = *kv.second;
        out.WriteLine(QStringLiteral("V ") + kv.first + u'=' + v.GetName() + u'|' + QString::number(v.GetCols()) +
                      u',' + QString::number(v.GetRows()));
        if (!v.GetPerDict().isEmpty()) {
            out.WriteLine(QString());
            for (const auto& pv : v.GetPerDict()) {
                int a = 0, b = 0;
                v.GetPerColRow(pv.first, a, b, false);
                out.WriteLine(QStringLiteral("p ") + pv.first + u'(' + QString::number(a) + u',' + QString::number(b) + u')');
            }
        }
        if (!v.GetFamKeys().isEmpty()) {
            out.WriteLine(QString());
            for (const QString& key : v.GetFamKeys().keys()) out.WriteLine(QStringLiteral("f ") + key);
        }
        out.WriteLine(QString());
    }

    out.CloseFile();
    SetUnsaved(false);
    ClearPendingEvents();
}

bool SVGTree::SaveAs(const std::function<QString()>& chooseFile) {
    QString file;
    try {
        file = chooseFile();
    } catch (const AppError& e) {
        if (e.number == kCancelErrorNumber) return false;
        throw;
    }
    if (incomplete_ && sameFile(file, treeFile_)) refuseIncompleteSave();
    // Saved in full to another file, the tree is that file's whole content.
    const QString oldFile = treeFile_;
    const bool wasIncomplete = incomplete_;
    treeFile_ = file;
    incomplete_ = false;
    try {
        SaveToFile();
    } catch (...) {
        treeFile_ = oldFile;
        incomplete_ = wasIncomplete;
        throw;
    }
    return true;
}

void SVGTree::refuseIncompleteSave() const {
    raiseError(ErrorOffset::TextFileIO, kSource,
               QStringLiteral("The tree definition file ") + treeFile_ +
                   QStringLiteral(" was not loaded in full, so the tree is not saved over it: saving would lose what "
                                  "was not loaded. Use Save As to save the tree to another file"));
}
