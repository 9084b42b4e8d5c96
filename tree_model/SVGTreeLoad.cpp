// Reading a tree definition file into the tree (SVGTree::LoadFile).
#include "SVGTree.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include <QRegularExpression>
#include <QSet>

#include "TreeText.h"
#include "applications/SVGApplications.h"
#include "foundation/AppError.h"
#include "foundation/PathHelpers.h"
#include "foundation/ReadTextFile.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"

namespace {
const QString kSource = QStringLiteral("SVGTree");
constexpr int kPlacementOffset = 524;

[[noreturn]] void syntaxError(const QString& text) { raiseError(ErrorOffset::RecordSyntax, kSource, text); }
[[noreturn]] void invalidError(const QString& text) { raiseError(ErrorOffset::InvalidKey, kSource, text); }
[[noreturn]] void placementError(const QString& text) { raiseError(kPlacementOffset, kSource, text); }

const QString kKeyRuleMessage = QStringLiteral(
    "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic): ");

// Every header setting name the system knows.
const QSet<QString>& knownSettings() {
    static const QSet<QString> names = {
        "W", "H", "MW", "MH", "Small", "Horiz", "Stepped", "Title", "Tooltips", "Blog", "Inst", "DesCols",
        "DesRows", "SVGFile", "ImagePart", "PanZoom", "RootKey", "Fanned", "ProgData", "ButtonTR", "ButtonTL",
        "ButtonBR", "ButtonBL", "BW", "BH", "Rounded", "IconTR", "IconTL", "IconBR", "IconBL", "TooltipTR",
        "TooltipTL", "TooltipBR", "TooltipBL", "NavData", "NotesData", "Opaque", "Scaled", "Viewpoints",
        "StockImageF", "StockImageM", "StockImageU", "StockImageX", "BGImage", "BGImageWidth", "BGImageHeight",
        "BGImageOpacity", "Header", "Version", "Timeline", "InfoPanels", "ClassPerson", "ClassPersonLines",
        "ClassPersonNotes", "ClassFamily", "ClassFamilyLines", "ClassFamilyNotes"};
    return names;
}

// A number written in a record, converted to a whole number (halves to even);
// `message` is raised when the text is no number.
int recordNumber(const QString& text, const QString& message) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) syntaxError(message);
    return toInteger16(text, kSource);
}

// The text from `from` up to (not including) `to`; empty when `to` comes
// first, so that a field whose delimiters stand in the wrong order is read
// as missing rather than as the rest of the record.
QString span(const QString& text, int from, int to) { return to < from ? QString() : text.mid(from, to - from); }

bool isKeyChar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           c == u'-';
}

// The separator of a person definition: the "=" or "~" that follows the key
// and its optional parenthesised image. A record the writer made is read that
// way whatever its image and texts hold; any other record falls back to the
// plain rule: the "=" of the first ")=", else the first "=", else the first "~".
int personSeparator(const QString& payload) {
    int i = 0;
    while (i < payload.size() && payload[i] == u' ') ++i;
    const int keyStart = i;
    while (i < payload.size() && isKeyChar(payload[i])) ++i;
    if (i > keyStart && bValidName(payload.mid(keyStart, i - keyStart))) {
        int j = i;
        while (j < payload.size() && payload[j] == u' ') ++j;
        if (j < payload.size() && (payload[j] == u'=' || payload[j] == u'~')) return j;
        if (j < payload.size() && payload[j] == u'(') {
            static const QRegularExpression written(
                QStringLiteral("\\) *([=~])[fmuxFMUX]\\( *-?[0-9]+ *, *-?[0-9]+ *\\):"));
            const QRegularExpressionMatch m = written.match(payload, j + 1);
            if (m.hasMatch()) return m.capturedStart(1);
        }
    }
    const int closeEq = payload.indexOf(QStringLiteral(")="));
    if (closeEq >= 0) return closeEq + 1;
    const int eq = payload.indexOf(u'=');
    if (eq >= 0) return eq;
    return payload.indexOf(u'~');
}

}  // namespace

void SVGTree::logLine(const QString& text) const {
    if (reporter_) reporter_->logLine(text);
}

void SVGTree::warn(const QString& text) const {
    if (reporter_) reporter_->warn(text);
}

void SVGTree::LoadFile(std::shared_ptr<SVGDisplay> oDispl, const QString& sFile, bool bVerify) {
    incomplete_ = true;
    SetDisplay(std::move(oDispl));
    treeFile_ = sFile;
    QString baseName, extension;
    sGetFullPath(sFile, baseName, extension);
    settings_.set(QStringLiteral("Title"), baseName);
    settings_.set(QStringLiteral("InfoPanels"), QStringLiteral("True"));

    ReadTextFile in;
    in.OpenFile(sFile);
    logLine(QStringLiteral("File character set: ") + in.GetCharset() + QStringLiteral(" (terminators ") +
            in.GetTerminators() + u')');
    current_.reset();

    SVGBoxPtr openPerson;
    SVGFamilyPtr openFamily;
    bool underscoreWarned = false;
    bool invalidBytesWarned = false;
    bool stoppedEarly = false;

    // A setting's value that is no Boolean or number may only fail on a
    // later record that reads it: the error names the line the load ended on.
    int lineNumber = 0;
    QString lineText;
    try {
        while (!in.EOD()) {
            QString line;
            try {
                line = in.ReadLine();
            } catch (AppError& e) {
                // A record the reader refuses (too large, unreadable) is named by its place.
                e.description += QStringLiteral(" (") + in.LineOfFile(lineNumber + 1) + u')';
                throw;
            }
            ++lineNumber;
            // Bytes that are not UTF-8 in a file marked as UTF-8 are read as
            // U+FFFD; the first line holding them is named, once.
            if (!invalidBytesWarned && in.LastRecordInvalidAt() >= 0) {
                invalidBytesWarned = true;
                warn(in.InvalidUtf8Warning(lineNumber));
            }
            lineText = line;
            if (bVerify && reporter_) reporter_->logLine(line, LogColour::Blue);
            const QString type = line.left(2);
            const bool spaced = line.size() >= 2 && line[1] == u' ';
            auto recordIs = [&](char16_t kind) { return spaced && line[0] == kind; };
            const QString trimmed = trimBlanks(line);
            if (trimmed.isEmpty()) continue;
            const QString payload = trimmed.mid(2);

            if (recordIs(u'H')) {
                if (!payload.isEmpty()) {
                    for (const QString& part : payload.split(u',')) {
                        const int eq = part.indexOf(u'=');
                        if (eq < 0) syntaxError(QStringLiteral("Syntax error: missing equals sign in setting: ") + part);
                        const QString name = trimBlanks(part.left(eq));
                        const QString value = trimBlanks(part.mid(eq + 1));
                        if (!bValidName(name)) warn(QStringLiteral("Header setting ") + name + QStringLiteral(" uses invalid characters"));
                        if (!knownSettings().contains(name) && !(applications_ && !applications_->GetAppName(name).isEmpty()))
                            warn(QStringLiteral("Unknown setting in header record: ") + name);
                        settings_.set(name, value);
                    }
                }
                display_->Init(settings_);
            } else if (recordIs(u'U')) {
                const int eq = payload.indexOf(u'=');
                if (eq < 0) syntaxError(QStringLiteral("Missing punctuation character on record: ") + payload);
                const QString key = trimBlanks(payload.left(eq));
                if (!bValidName(key)) invalidError(kKeyRuleMessage + key);
                if (placeKeys_.Exists(key)) invalidError(QStringLiteral("The specified place key name is already defined: ") + key);
                const QString rest = trimBlanks(payload.mid(eq + 1));
                const int bar = rest.indexOf(u'|');
                if (bar < 0) placeKeys_.Define(key, rest, QString());
                else placeKeys_.Define(key, trimBlanks(rest.left(bar)), trimBlanks(rest.mid(bar + 1)));
            } else if (recordIs(u'P')) {
                if (!viewpoints_.isEmpty())
                    placementError(QStringLiteral("Person definitions (rather than references) not allowed within viewpoints"));
                const int sep = personSeparator(payload);
                if (sep < 0) syntaxError(QStringLiteral("Missing '=' or '~' punctuation character on record: ") + payload);
                const bool tentative = payload[sep] == u'~';
                const int colon = payload.indexOf(u':', sep);
                const int comma = payload.indexOf(u',', sep);
                if (colon < 0 || comma < 0)
                    syntaxError(QStringLiteral("Missing ':' or comma punctuation character on record: ") + payload);
                QString key = trimBlanks(payload.left(sep));
                QString image;
                if (key.contains(u'(') && key.endsWith(u')')) {
                    const int open = key.indexOf(u'(');
                    image = trimBlanks(key.mid(open + 1, key.size() - open - 2));
                    key = trimBlanks(key.left(open));
                }
                const QString texts = trimBlanks(payload.mid(colon + 1));
                QString caption = texts, shortCaption, names;
                const int bar1 = texts.indexOf(u'|');
                if (bar1 >= 0) {
                    caption = trimBlanks(texts.left(bar1));
                    const QString rest = trimBlanks(texts.mid(bar1 + 1));
                    const int bar2 = rest.indexOf(u'|');
                    shortCaption = bar2 < 0 ? rest : trimBlanks(rest.left(bar2));
                    names = bar2 < 0 ? QString() : trimBlanks(rest.mid(bar2 + 1));
                }
                const QString sex = payload.mid(sep + 1, 1).toLower();
                if (sex != u"f" && sex != u"m" && sex != u"u" && sex != u"x")
                    syntaxError(QStringLiteral("Invalid sex value: ") + sex + QStringLiteral(". Must be f/m/u/x"));
                const int column = recordNumber(span(payload, sep + 3, comma), QStringLiteral("Invalid column number"));
                const int row = recordNumber(span(payload, comma + 1, colon - 1), QStringLiteral("Invalid row number"));
                openPerson = NewPerson(key, caption, shortCaption, column, row, sex, tentative, image, true);
                openPerson->SetPersonalNames(names);
                openFamily.reset();
            } else if (recordIs(u'F')) {
                if (!viewpoints_.isEmpty())
                    placementError(QStringLiteral("Family definitions (rather than references) not allowed within viewpoints"));
                openPerson.reset();
                openFamily.reset();
                int sep = payload.indexOf(u'=');
                const bool liaison = sep < 0;
                if (sep < 0) sep = payload.indexOf(u'~');
                const int colon = payload.indexOf(u':');
                const int plus = payload.indexOf(u'+');
                if (sep < 0 || colon < 0 || plus < 0) {
                    warn(QStringLiteral("Missing punctuation character on record: ") + payload);
                    continue;
                }
                const QString key = trimBlanks(payload.left(sep));
                const QString parent2 = trimBlanks(payload.mid(plus + 1, colon - plus - 1));
                const QString parent1 = trimBlanks(payload.mid(sep + 1, plus - sep - 1));
                if (!persons_.contains(parent2)) {
                    warn(QStringLiteral("Person ") + parent2 + QStringLiteral(" doesn't exist"));
                    continue;
                }
                if (parent1.startsWith(u'[') && parent1.endsWith(u']')) {
                    warn(QStringLiteral("Old syntax used for defining family ") + key);
                    continue;
                }
                if (!persons_.contains(parent1)) {
                    warn(QStringLiteral("Person ") + parent1 + QStringLiteral(" doesn't exist"));
                    continue;
                }
                if (parent1 == parent2) {
                    warn(QStringLiteral("Must have two distinct persons in order to define a family"));
                    continue;
                }
                const SVGFamilyPtr family = NewFamily(key, parent1, parent2);
                family->SetLiaison(liaison);
                const QString children = payload.mid(colon + 1);
                if (!trimBlanks(children).isEmpty()) {
                    for (const QString& item : children.split(u',')) {
                        const QString child = trimBlanks(item);
                        if (child == u"...") {
                            family->SetMoreChildren(true);
                        } else if (!persons_.contains(child)) {
                            warn(QStringLiteral("Person ") + child + QStringLiteral(" doesn't exist"));
                        } else if (const QString other = ChildFamily(child); !other.isEmpty()) {
                            // A person is the child of one family only.
                            warn(QStringLiteral("Child ") + child + QStringLiteral(" is already associated with family ") + other);
                        } else {
                            family->AddChild(persons_.value(child));
                        }
                    }
                }
                openFamily = family;
            } else if (recordIs(u'V')) {
                const int eq = payload.indexOf(u'=');
                if (eq < 0) syntaxError(QStringLiteral("Missing punctuation character on record: ") + payload);
                const QString key = trimBlanks(payload.left(eq));
                if (!bValidName(key)) invalidError(kKeyRuleMessage + key);
                if (viewpoints_.contains(key)) invalidError(QStringLiteral("The specified viewpoint key name is already defined: ") + key);
                QString name;
                int cols = 0, rows = 0;
                const int bar = payload.indexOf(u'|', eq);
                if (bar >= 0) {
                    const int comma = payload.indexOf(u',', bar);
                    if (comma < 0) syntaxError(QStringLiteral("Missing punctuation character on record: ") + payload);
                    name = trimBlanks(payload.mid(eq + 1, bar - eq - 1));
                    cols = recordNumber(payload.mid(bar + 1, comma - bar - 1), QStringLiteral("Invalid column count"));
                    rows = recordNumber(payload.mid(comma + 1), QStringLiteral("Invalid row count"));
                } else {
                    name = trimBlanks(payload.mid(eq + 1));
                    GetFullGridColRow(cols, rows, true);
                }
                if (name.isEmpty()) syntaxError(QStringLiteral("Missing viewpoint name on record: ") + payload);
                current_ = AddViewpoint(key, name, cols, rows);
            } else if (recordIs(u'p')) {
                if (viewpoints_.isEmpty() || !current_)
                    placementError(QStringLiteral("Person references (rather than definitions) not allowed outside of viewpoints"));
                openPerson.reset();
                openFamily.reset();
                QString key;
                int at = -1;  // the person's place among the tree's persons
                int first = 0, second = 0;
                const int open = payload.indexOf(u'(');
                if (open >= 0) {
                    const int comma = payload.indexOf(u',', open);
                    if (!payload.endsWith(u')') || comma < 0)
                        syntaxError(QStringLiteral("Missing parenthesis or comma punctuation character on record: ") + payload);
                    key = trimBlanks(payload.left(open));
                    if (key.isEmpty()) invalidError(QStringLiteral("Key name cannot be blank when referencing a person"));
                    if (!bValidName(key)) invalidError(kKeyRuleMessage + key);
                    at = persons_.indexOf(key);
                    if (at < 0) invalidError(QStringLiteral("The specified key name is not defined for any person: ") + key);
                    first = recordNumber(payload.mid(open + 1, comma - open - 1), QStringLiteral("Invalid column number"));
                    second = recordNumber(payload.mid(comma + 1, payload.size() - 1 - comma - 1), QStringLiteral("Invalid row number"));
                } else {
                    // Without a position the person stands where it stands in the full tree.
                    key = trimBlanks(payload);
                    at = persons_.indexOf(key);
                    const SVGBox* person = at < 0 ? nullptr : persons_.valueAt(at).get();
                    if (!person) invalidError(QStringLiteral("The specified key name is not defined for any person: ") + key);
                    first = person->GetTreeRow();
                    second = person->GetTreeCol();
                }
                if (current_->PersonExists(key))
                    invalidError(QStringLiteral("The specified person key name has already been declared in this viewpoint: ") + key);
                // Under the person's own key string: later lookups of the person
                // in the viewpoint then match without reading the key's text.
                current_->AddPerRefFromFile(persons_.keyAt(at), first, second);
            } else if (recordIs(u'f')) {
                if (viewpoints_.isEmpty() || !current_)
                    placementError(QStringLiteral("Family references (rather than definitions) not allowed outside of viewpoints"));
                openPerson.reset();
                openFamily.reset();
                const QString& key = payload;
                if (key.isEmpty()) invalidError(QStringLiteral("Key name cannot be blank when referencing a family"));
                if (!bValidName(key)) invalidError(kKeyRuleMessage + key);
                const SVGFamilyPtr family = families_.value(key);
                if (!family) invalidError(QStringLiteral("The specified key name is not defined for any family: ") + key);
                if (current_->FamilyExists(key))
                    invalidError(QStringLiteral("The specified family key name has already been declared in this viewpoint: ") + key);
                current_->AddFamRef(*family);
            } else if (recordIs(u'=') || recordIs(u'_') || recordIs(u'-') || recordIs(u'#') || recordIs(u'/')) {
                if (recordIs(u'_') && !underscoreWarned) {
                    underscoreWarned = true;
                    warn(QStringLiteral("The underscore record type (_) is deprecated. Using equals (=) instead"));
                }
                if (!openFamily && !openPerson) {
                    const char* what = recordIs(u'-') ? "tooltip" : recordIs(u'#') ? "program-data" : recordIs(u'/') ? "local settings" : "notes";
                    warn(QStringLiteral("Dangling ") + QLatin1String(what) + QStringLiteral(" record: ") + trimmed);
                    continue;
                }
                if (recordIs(u'=') || recordIs(u'_')) {
                    if (openFamily) openFamily->AddNotes(payload);
                    else openPerson->AddNotes(payload);
                } else if (recordIs(u'-')) {
                    if (openFamily) openFamily->AddTooltips(payload);
                    else openPerson->AddTooltips(payload);
                } else if (recordIs(u'#')) {
                    if (openFamily) openFamily->AddProgData(payload);
                    else openPerson->AddProgData(payload);
                } else {
                    if (openFamily) openFamily->InitSettings(payload);
                    else openPerson->InitSettings(payload);
                }
            } else if (recordIs(u'\'') || line == u"'") {
                // comment
            } else {
                QString codes;
                for (QChar c : trimmed.left(4)) codes += QString::number(c.unicode(), 16).toUpper() + u' ';
                warn(QStringLiteral("Unknown record type: '") + type + QStringLiteral("' (") + codes + u')');
                stoppedEarly = true;
                break;
            }
        }
    } catch (AppError& e) {
        if (isValueError(e))
            e.description += QStringLiteral(" (line ") + QString::number(lineNumber) + QStringLiteral(": ") +
                             trimBlanks(lineText) + u')';
        throw;
    }

    // A person who is their own ancestor loads, but is named: layouts and
    // walks up or down the lines cannot give such a tree a proper order.
    for (const SVGBox* person : lineageLoops())
        warn(QStringLiteral("Potential lineage loop near person ") + person->GetKey() + QStringLiteral(", ") +
             person->GetText() + QStringLiteral(": the person is their own ancestor"));

    SetAppDict(applications_ ? applications_->Load(settings_) : StringDict());
    current_.reset();
    in.CloseFile();
    SetUnsaved(false);
    ClearPendingEvents();
    incomplete_ = stoppedEarly;
    logLine(QStringLiteral("Loaded ") + QString::number(persons_.count()) + QStringLiteral(" persons and ") +
            QString::number(families_.count()) + QStringLiteral(" families from file"));
}

std::vector<const SVGBox*> SVGTree::lineageLoops() const {
    // The strongly connected components of the child links, found as in
    // Pearce's space-efficient form of Tarjan's search, on an explicit stack:
    // each person's one number (rindex) is kept in the person itself, so the
    // search needs no look-up and, for a tree without loops, hardly any
    // memory of its own. A number below `index` is a person still in the
    // search; a component, once found, gets numbers from the top down, which
    // are never below a live one.
    for (const auto& kv : persons_) kv.second->loopWalk_ = 0;
    int index = 1;
    int component = persons_.count();
    struct Step {
        SVGBox* person;
        int family;       // place in the person's families as a parent
        int child;        // place in that family's children
        bool root;        // no child reached a person found before this one
        bool ownChild;    // the person is a child of their own family
    };
    std::vector<Step> walk;
    std::vector<SVGBox*> open;  // persons of components not yet complete
    std::vector<std::pair<int, const SVGBox*>> named;  // place in the tree, person
    auto enter = [&](SVGBox* person) {
        person->loopWalk_ = index++;
        walk.push_back({person, 0, 0, true, false});
    };
    for (const auto& kv : persons_) {
        SVGBox* start = kv.second.get();
        // Someone who is nobody's parent stands on no loop.
        if (start->loopWalk_ != 0 || start->parentOf_.isEmpty()) continue;
        enter(start);
        while (!walk.empty()) {
            Step& step = walk.back();
            SVGBox* const person = step.person;
            SVGBox* next = nullptr;
            while (step.family < person->parentOf_.size()) {
                const SVGFamily* family = person->parentOf_.begin()[step.family];
                if (step.child < family->children_.size()) {
                    next = family->children_[step.child++].get();
                    break;
                }
                ++step.family;
                step.child = 0;
            }
            if (next) {
                if (next == person) {
                    step.ownChild = true;
                } else if (next->loopWalk_ == 0) {
                    enter(next);
                } else if (next->loopWalk_ < person->loopWalk_) {
                    person->loopWalk_ = next->loopWalk_;
                    step.root = false;
                }
                continue;
            }
            const Step done = step;
            walk.pop_back();
            if (done.root) {
                --index;
                int first = -1;
                const bool loop = done.ownChild ||
                                  (!open.empty() && person->loopWalk_ <= open.back()->loopWalk_);
                // Named by its first person in the tree's order, found by key: loops are few.
                if (loop) first = persons_.indexOf(person->key_);
                while (!open.empty() && person->loopWalk_ <= open.back()->loopWalk_) {
                    SVGBox* member = open.back();
                    open.pop_back();
                    member->loopWalk_ = component;
                    --index;
                    first = std::min(first, persons_.indexOf(member->key_));
                }
                person->loopWalk_ = component--;
                if (loop) named.emplace_back(first, persons_.valueAt(first).get());
            } else {
                open.push_back(person);
            }
            if (!walk.empty()) {
                Step& above = walk.back();
                if (person->loopWalk_ < above.person->loopWalk_) {
                    above.person->loopWalk_ = person->loopWalk_;
                    above.root = false;
                }
            }
        }
    }
    std::sort(named.begin(), named.end());
    std::vector<const SVGBox*> out;
    out.reserve(named.size());
    for (const auto& entry : named) out.push_back(entry.second);
    return out;
}
