#include "SVGApplications.h"

#include <algorithm>
#include <optional>

#include <QDir>
#include <QFile>
#include <QSet>

#include "foundation/AppError.h"
#include "foundation/Reporter.h"
#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"

namespace {

const char* const kSource = "SVGApplications";
const QStringList kClickKeys = {QStringLiteral("Click"), QStringLiteral("Ctrl+Click"),
                                QStringLiteral("Shift+Click"), QStringLiteral("Alt+Click")};
const QStringList kCorners = {QStringLiteral("TR"), QStringLiteral("TL"), QStringLiteral("BR"), QStringLiteral("BL")};

QString fromUtf8(const char* text) { return QString::fromUtf8(text); }

// An attribute's text, or the fallback when the node or the attribute is absent.
QString attrText(pugi::xml_node node, const char* name, const QString& fallback = QString()) {
    pugi::xml_attribute attr = node.attribute(name);
    return attr ? fromUtf8(attr.value()) : fallback;
}

// An element's text: the value of its first child when that is text or
// CDATA; the fallback otherwise (no element, no children, or an element first).
QString elementText(pugi::xml_node node, const QString& fallback = QString()) {
    pugi::xml_node first = node.first_child();
    if (first && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return fromUtf8(first.value());
    return fallback;
}

// Removes leading and trailing space characters only (tabs and line breaks stay).
QString trimSpaces(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == u' ') ++start;
    while (end > start && text.at(end - 1) == u' ') --end;
    return text.mid(start, end - start);
}

// "True" or "False" in any letter case, or a number (zero is false).
std::optional<bool> booleanValue(const QString& text) {
    if (!bIsBoolean(text)) return std::nullopt;
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0) return false;
    return sngVal(t) != 0.0f;
}

// A Boolean text of a definition; malformed texts were reported while the file
// loaded and read as their default here.
bool definitionBool(const QString& text, bool fallback) { return booleanValue(text).value_or(fallback); }

bool attrBool(pugi::xml_node node, const char* name, bool fallback) {
    pugi::xml_attribute attr = node.attribute(name);
    return attr ? definitionBool(fromUtf8(attr.value()), fallback) : fallback;
}

// The Boolean value of a setting; a text that is not a Boolean is an error.
bool settingBool(const QString& name, const QString& value) {
    const std::optional<bool> b = booleanValue(value);
    if (!b) raiseError(ErrorOffset::InvalidKey, QString::fromLatin1(kSource),
                       QStringLiteral("Setting ") + name + QStringLiteral(" must have a Boolean value: ") + value);
    return *b;
}

QString spaces(int n) { return QString(n, u' '); }

// The click text of an operation: key + " on " + target, corner codes
// followed by " button".
QString clickText(pugi::xml_node op) {
    const QString on = attrText(op, "on");
    QString text = attrText(op, "key") + QStringLiteral(" on ") + on;
    if (kCorners.contains(on)) text += QStringLiteral(" button");
    return text;
}

QString keyCondition(int slot, bool nullForm) {
    static const QStringList conditions = {
        QStringLiteral("!ev.ctrlKey && !ev.shiftKey && !ev.altKey && !ev.metaKey"),
        QStringLiteral("(ev.ctrlKey || ev.metaKey) && !ev.shiftKey && !ev.altKey"),
        QStringLiteral("!ev.ctrlKey && ev.shiftKey && !ev.altKey && !ev.metaKey"),
        QStringLiteral("!ev.ctrlKey && !ev.shiftKey && ev.altKey && !ev.metaKey"),
    };
    if (slot == 0 && nullForm) return QStringLiteral("ev === null || (") + conditions[0] + QStringLiteral(")");
    return conditions[slot];
}

// The blocks of one group of slots at an indent: per slot with code, its key
// test, the code indented by four more, and the return that ends the handler.
// A plain click block also runs when the handler is called without an event
// (ev null); there the default action is not touched, which would throw.
void appendBlocks(QStringList& lines, const QString (&slots)[4], int indent, bool nullForm) {
    const QString inner = spaces(indent + 4);
    for (int slot = 0; slot < 4; ++slot) {
        if (slots[slot].isEmpty()) continue;
        lines << spaces(indent) + QStringLiteral("if (") + keyCondition(slot, nullForm) + QStringLiteral(") {");
        QString code = slots[slot];
        code.replace(u'\n', QStringLiteral("\n") + inner);
        lines << inner + code;
        const bool mayBeNull = slot == 0 && nullForm;
        lines << inner + (mayBeNull ? QStringLiteral("if (ev !== null) ev.preventDefault(); return;")
                                    : QStringLiteral("ev.preventDefault(); return;"));
        lines << spaces(indent) + QStringLiteral("}");
    }
}

void appendCode(QString& slot, const QString& code) {
    if (!slot.isEmpty()) slot += u'\n';
    slot += code;
}

// Where a definition problem lies, for reports.
QString definitionPlace(const QString& file, const char* kind, const QString& id) {
    return QStringLiteral("Definition file ") + file + QStringLiteral(", ") + QString::fromLatin1(kind) +
           QStringLiteral(" ") + id + QStringLiteral(": ");
}

// Reports an attribute that is present but not a Boolean.
void checkBoolAttr(pugi::xml_node node, const char* name, const QString& place, const QString& fallback,
                   Reporter& reporter) {
    pugi::xml_attribute attr = node.attribute(name);
    if (!attr || booleanValue(fromUtf8(attr.value()))) return;
    reporter.warn(place + QString::fromLatin1(name) + QStringLiteral(" value \"") + fromUtf8(attr.value()) +
                  QStringLiteral("\" is not a Boolean (") + fallback + QStringLiteral(" is used)"));
}

// Reports a child element whose text is not a Boolean (default True).
void checkBoolTexts(pugi::xml_node parent, const char* element, const char* nameAttr, const QString& place,
                    Reporter& reporter) {
    for (pugi::xml_node child : parent.children(element)) {
        const QString text = elementText(child, QStringLiteral("True"));
        if (booleanValue(text)) continue;
        reporter.warn(place + QStringLiteral("text \"") + text + QStringLiteral("\" of ") + QString::fromLatin1(element) +
                      QStringLiteral(" ") + attrText(child, nameAttr) +
                      QStringLiteral(" is not a Boolean (True is used)"));
    }
}

// Reports children of one kind that repeat an id (the first is used).
void checkUniqueIds(pugi::xml_node parent, const char* element, const QString& place, Reporter& reporter) {
    QStringList seen;
    for (pugi::xml_node child : parent.children(element)) {
        const QString id = attrText(child, "id");
        if (!seen.contains(id)) {
            seen << id;
            continue;
        }
        reporter.warn(place + QString::fromLatin1(element) + QStringLiteral(" id ") + id +
                      QStringLiteral(" is given more than once (the first is used)"));
    }
}

// Reads a definition file completely; raises the XML parse error with the
// parser's line and message.
void parseFile(pugi::xml_document& doc, const QString& path, const QString& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        raiseError(ErrorOffset::XmlParse, QString::fromLatin1(kSource),
                   QStringLiteral("XML parse error: cannot read ") + name + QStringLiteral(": ") + file.errorString());
    const QByteArray bytes = file.readAll();
    const pugi::xml_parse_result result = doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (result) return;
    const qsizetype offset = qBound(qsizetype(0), static_cast<qsizetype>(result.offset), bytes.size());
    const int line = static_cast<int>(bytes.left(offset).count('\n')) + 1;
    const qsizetype lineStart = bytes.lastIndexOf('\n', offset - 1) + 1;
    qsizetype lineEnd = bytes.indexOf('\n', offset);
    if (lineEnd < 0) lineEnd = bytes.size();
    QString sourceLine = QString::fromUtf8(bytes.mid(lineStart, lineEnd - lineStart));
    if (sourceLine.endsWith(u'\r')) sourceLine.chop(1);
    raiseError(ErrorOffset::XmlParse, QString::fromLatin1(kSource),
               QStringLiteral("XML parse error: ") + fromUtf8(result.description()) + QStringLiteral(" (&H") +
                   QString::number(static_cast<unsigned>(result.status), 16).toUpper() + QStringLiteral(") in ") +
                   name + QStringLiteral(" at line ") + QString::number(line) + QStringLiteral(": \"") + sourceLine +
                   QStringLiteral("\""));
}

}  // namespace

const char* const SVGApplications::kFilePattern = "ApplicationsServices*.xml";

SVGApplications::SVGApplications() = default;
SVGApplications::~SVGApplications() = default;

// ---------------------------------------------------------------------------
// Loading

void SVGApplications::Initialise(const QString& folder, Reporter& reporter) {
    const QDir dir(folder);
    const QStringList names =
        dir.entryList(QStringList{QString::fromLatin1(kFilePattern)}, QDir::Files, QDir::Name);
    for (const QString& name : names) loadFile(folder, name, reporter);
    checkAliasCycles(reporter);
    dataResolved_.clear();
    for (const QString& id : dataIndex_.keys()) resolveData(id, dataResolved_);
}

void SVGApplications::loadFile(const QString& folder, const QString& name, Reporter& reporter) {
    reporter.logLine(QStringLiteral("Loading ") + name);
    auto doc = std::make_unique<pugi::xml_document>();
    try {
        parseFile(*doc, QDir(folder).filePath(name), name);
    } catch (const AppError& e) {
        reporter.warn(e.description);
        return;
    }
    int apps = 0;
    int srvs = 0;
    int mods = 0;
    for (const pugi::xpath_node& x : doc->select_nodes("/Applications/Application")) {
        const pugi::xml_node app = x.node();
        const QString id = attrText(app, "id");
        checkApplication(app, name, reporter);
        if (entryIndex_.contains(id)) {
            reporter.warn(definitionPlace(name, "Application", id) +
                          QStringLiteral("the id is already defined (the first definition is used)"));
            continue;
        }
        entryIndex_.insert(id, static_cast<int>(entries_.size()));
        entries_.append({app, id});
        if (isService(app, pugi::xml_node()))
            ++srvs;
        else
            ++apps;
    }
    for (const pugi::xpath_node& x : doc->select_nodes("/Applications/Modify")) {
        const pugi::xml_node mod = x.node();
        checkModify(mod, name, reporter);
        const QString id = attrText(mod, "id");
        if (!modifies_.contains(id)) modifies_.insert(id, mod);
        ++mods;
    }
    for (const pugi::xpath_node& x : doc->select_nodes("/Applications/ProgramData")) {
        const pugi::xml_node data = x.node();
        checkProgramData(data, name, reporter);
        const QString id = attrText(data, "id");
        if (!dataIndex_.contains(id)) dataIndex_.insert(id, data);
        data_.append(data);
        dataFiles_.append(name);
        ++totalData_;
    }
    reporter.logLine(QString::number(apps) + QStringLiteral(" applications, ") + QString::number(srvs) +
                     QStringLiteral(" services, and ") + QString::number(mods) +
                     QStringLiteral(" modifiers were loaded"));
    totalApps_ += apps;
    totalSrvs_ += srvs;
    files_.push_back(std::move(doc));
}

void SVGApplications::checkApplication(pugi::xml_node app, const QString& file, Reporter& reporter) const {
    const QString place = definitionPlace(file, "Application", attrText(app, "id"));
    checkBoolAttr(app, "srv", place, QStringLiteral("False"), reporter);
    checkBoolAttr(app, "valid-svg", place, QStringLiteral("False"), reporter);
    checkBoolTexts(app, "RequireSrv", "id", place, reporter);
    checkBoolTexts(app, "RequireLib", "name", place, reporter);
    for (pugi::xml_node setting : app.children("RequireSetting"))
        checkBoolAttr(setting, "weak", place + QStringLiteral("RequireSetting ") + attrText(setting, "name") +
                                           QStringLiteral(": "),
                      QStringLiteral("False"), reporter);
    checkUniqueIds(app, "Op", place, reporter);
    checkUniqueIds(app, "RequireSrv", place, reporter);
}

void SVGApplications::checkModify(pugi::xml_node mod, const QString& file, Reporter& reporter) const {
    const QString place = definitionPlace(file, "Modify", attrText(mod, "id"));
    checkBoolAttr(mod, "srv", place, QStringLiteral("the entry's value"), reporter);
    checkBoolAttr(mod, "valid-svg", place, QStringLiteral("the entry's value"), reporter);
    checkBoolTexts(mod, "RequireSrv", "id", place, reporter);
    checkBoolTexts(mod, "RequireLib", "name", place, reporter);
}

void SVGApplications::checkProgramData(pugi::xml_node data, const QString& file, Reporter& reporter) const {
    const QString place = definitionPlace(file, "ProgramData", attrText(data, "id"));
    checkBoolAttr(data, "hidden", place, QStringLiteral("False"), reporter);
    checkBoolAttr(data, "place-keys", place, QStringLiteral("False"), reporter);
}

void SVGApplications::checkAliasCycles(Reporter& reporter) const {
    // What the chain from each kind meets: nothing (it ends at a kind of its
    // own), a kind already on it, or a name no file defines; with its length
    // and last few kinds for the report. Each kind is walked once and a chain
    // that runs into a kind already walked takes that kind's answer, so the
    // check stays linear however long the chains are.
    constexpr qsizetype kShown = 8;  // a long chain is shown by its first and last few kinds
    struct End {
        bool sound = true;
        bool missing = false;
        QString target;
        qsizetype length = 0;
        QStringList last;
    };
    QHash<QString, End> ends;
    auto aliasOf = [&](const QString& id) { return attrText(findData(id), "alias-of"); };
    for (const pugi::xml_node data : data_) {
        QStringList path;
        QHash<QString, qsizetype> at;
        QString cur = attrText(data, "id");
        if (ends.contains(cur) || !findData(cur)) continue;
        End tail;  // what the walk met after the last kind of `path`
        qsizetype cycleStart = -1;
        for (;;) {
            if (const auto it = ends.constFind(cur); it != ends.constEnd()) {
                tail = it.value();
                break;
            }
            if (const auto it = at.constFind(cur); it != at.constEnd()) {
                cycleStart = it.value();
                break;
            }
            if (!findData(cur)) {
                tail.sound = false;
                tail.missing = true;
                tail.target = cur;
                break;
            }
            at.insert(cur, path.size());
            path << cur;
            cur = aliasOf(cur);
            if (cur.isEmpty()) break;
        }
        const qsizetype n = path.size();
        const qsizetype tailEnd = cycleStart < 0 ? n : cycleStart;
        for (qsizetype j = 0; j < n; ++j) {
            End e = tail;
            if (j >= tailEnd) {
                // On the cycle: the chain goes once round it and returns to this kind.
                const qsizetype length = n - cycleStart;
                e.sound = false;
                e.target = path[j];
                e.length = length;
                for (qsizetype k = std::min(kShown, length); k >= 1; --k)
                    e.last << path[cycleStart + (j - cycleStart - k + length) % length];
            } else if (cycleStart >= 0) {
                // Leading into the cycle: it returns to the cycle's first kind.
                e.sound = false;
                e.target = path[cycleStart];
                e.length = n - j;
                e.last = path.mid(std::max(j, n - kShown));
            } else if (!tail.sound) {
                e.length = n - j + tail.length;
                e.last = (path.mid(std::max(j, n - kShown)) + tail.last);
                e.last = e.last.mid(std::max<qsizetype>(0, e.last.size() - kShown));
            }
            ends.insert(path[j], e);
        }
    }

    for (int i = 0; i < data_.size(); ++i) {
        const QString id = attrText(data_[i], "id");
        const QString place = definitionPlace(dataFiles_[i], "ProgramData", id);
        QString next = attrText(data_[i], "alias-of");
        if (next.isEmpty()) continue;
        QStringList chain{id};
        End end;
        if (findData(id) == data_[i]) {
            end = ends.value(id);
            if (end.sound) continue;
            if (!end.missing) {
                // The first kinds of the chain, then its last ones.
                const qsizetype first = end.length <= 2 * kShown + 1 ? end.length : kShown;
                for (qsizetype k = 1; k < first; ++k) {
                    chain << next;
                    next = aliasOf(next);
                }
                if (first < end.length) chain << QStringLiteral("...") << end.last;
            }
        } else {
            // A second definition of an id: its own alias-of starts a chain
            // that the index does not know, walked in full.
            QSet<QString> onChain{id};
            for (;;) {
                if (onChain.contains(next)) {
                    end.target = next;
                    break;
                }
                if (!findData(next)) {
                    end.missing = true;
                    end.target = next;
                    break;
                }
                chain << next;
                onChain.insert(next);
                next = aliasOf(next);
                if (next.isEmpty()) break;
            }
            if (next.isEmpty()) continue;
        }
        if (end.missing)
            reporter.warn(place + QStringLiteral("alias-of names ") + end.target +
                          QStringLiteral(", which no definition file defines"));
        else
            reporter.warn(place + QStringLiteral("the alias-of chain ") + chain.join(QStringLiteral(" -> ")) +
                          QStringLiteral(" -> ") + end.target + QStringLiteral(" returns to ") + end.target);
    }
}

// ---------------------------------------------------------------------------
// Shared lookups

const SVGApplications::Entry* SVGApplications::findEntry(const QString& id) const {
    const auto it = entryIndex_.constFind(id);
    return it == entryIndex_.constEnd() ? nullptr : &entries_[it.value()];
}

pugi::xml_node SVGApplications::findApp(const QString& id) const {
    const Entry* entry = findEntry(id);
    return entry ? entry->app : pugi::xml_node();
}

pugi::xml_node SVGApplications::findModify(const QString& id) const { return modifies_.value(id); }

pugi::xml_node SVGApplications::findData(const QString& id) const { return dataIndex_.value(id); }

QString SVGApplications::attrOverride(pugi::xml_node app, pugi::xml_node mod, const char* name,
                                      const QString& fallback) const {
    if (mod && mod.attribute(name)) return attrText(mod, name);
    return attrText(app, name, fallback);
}

bool SVGApplications::boolOverride(pugi::xml_node app, pugi::xml_node mod, const char* name) const {
    const bool own = attrBool(app, name, false);
    return mod ? attrBool(mod, name, own) : own;
}

bool SVGApplications::isService(pugi::xml_node app, pugi::xml_node mod) const {
    return app && boolOverride(app, mod, "srv");
}

bool SVGApplications::validInSvg(pugi::xml_node app, pugi::xml_node mod) const {
    return app && boolOverride(app, mod, "valid-svg");
}

bool SVGApplications::takesPart(const QString& id, bool svgFile, pugi::xml_node& app, pugi::xml_node& mod) const {
    app = findApp(id);
    if (!app) return false;
    mod = findModify(id);
    return !svgFile || validInSvg(app, mod);
}

QList<pugi::xml_node> SVGApplications::getOps(pugi::xml_node app, pugi::xml_node mod) const {
    OrderedDict<pugi::xml_node> ops;
    for (pugi::xml_node op : app.children("Op")) ops.add(attrText(op, "id"), op);
    if (mod)
        for (pugi::xml_node op : mod.children("Op")) ops.set(attrText(op, "id"), op);
    QList<pugi::xml_node> counting;
    for (const auto& kv : ops)
        if (!trimSpaces(elementText(kv.second)).isEmpty()) counting.append(kv.second);
    return counting;
}

// ---------------------------------------------------------------------------
// Enabled set and settings

StringDict SVGApplications::Load(const StringDict& settings) const {
    StringDict appDict;
    for (const Entry& entry : entries_) {
        const QString* value = settings.find(entry.id);
        if (value && settingBool(entry.id, *value)) appDict.add(entry.id, GetAppName(entry.id));
    }
    return appDict;
}

void SVGApplications::SynchSettingsWithDict(const StringDict& appDict, StringDict& settings) const {
    for (const Entry& entry : entries_)
        if (settings.contains(entry.id)) settings.set(entry.id, QStringLiteral("False"));
    for (const auto& kv : appDict) settings.set(kv.first, QStringLiteral("True"));
}

void SVGApplications::SynchDictWithSetting(StringDict& appDict, const QString& id, bool selected) const {
    if (selected) {
        if (!appDict.contains(id)) appDict.add(id, GetAppName(id));
    } else {
        appDict.remove(id);
    }
}

void SVGApplications::AddLinkedTrees(StringDict& appDict) const {
    const QString id = QStringLiteral("LinkedTrees");
    if (!appDict.contains(id)) appDict.add(id, GetAppName(id));
}

void SVGApplications::UpdateDictWithSrvs(StringDict& appDict, bool svgFile, Reporter& reporter) const {
    const int count = appDict.count();
    for (int i = 0; i < count; ++i) {
        const QString id = appDict.keyAt(i);
        const pugi::xml_node app = findApp(id);
        if (!app) {
            reporter.warn(QStringLiteral("Application/Services entry ") + id +
                          QStringLiteral(" is enabled but no definition file defines it; it is left out of the chart"));
            continue;
        }
        const pugi::xml_node mod = findModify(id);
        if (svgFile && !validInSvg(app, mod)) continue;
        OrderedDict<bool> required;
        for (pugi::xml_node req : app.children("RequireSrv"))
            required.add(attrText(req, "id"), definitionBool(elementText(req, QStringLiteral("True")), true));
        if (mod)
            for (pugi::xml_node req : mod.children("RequireSrv"))
                required.set(attrText(req, "id"), definitionBool(elementText(req, QStringLiteral("True")), true));
        for (const auto& kv : required) {
            const QString& srvId = kv.first;
            const pugi::xml_node srvApp = findApp(srvId);
            const pugi::xml_node srvMod = findModify(srvId);
            if (!isService(srvApp, srvMod)) {
                reporter.warn(QStringLiteral("Application/Services entry ") + srvId +
                              QStringLiteral(" is not a service (see RequireSrv elements)"));
            } else if (kv.second) {
                if (svgFile && !validInSvg(srvApp, srvMod))
                    reporter.warn(QStringLiteral("Service ") + srvId + QStringLiteral(" is required by application ") +
                                  id + QStringLiteral(" but is not support when SVGFile is True"));
                else if (!appDict.contains(srvId))
                    appDict.add(srvId, GetAppName(srvId));
            }
        }
    }
}

void SVGApplications::UpdateSettings(const StringDict& appDict, StringDict& settings) const {
    const QString* svgSetting = settings.find(QStringLiteral("SVGFile"));
    const bool svgFile = svgSetting ? settingBool(QStringLiteral("SVGFile"), *svgSetting) : false;
    for (const auto& kv : appDict) {
        pugi::xml_node app;
        pugi::xml_node mod;
        if (!takesPart(kv.first, svgFile, app, mod)) continue;
        for (pugi::xml_node op : getOps(app, mod)) {
            const QString on = attrText(op, "on");
            if (kCorners.contains(on)) settings.set(QStringLiteral("Button") + on, QStringLiteral("True"));
        }
        for (pugi::xml_node req : app.children("RequireSetting")) {
            const QString name = attrText(req, "name");
            const QString value = elementText(req);
            if (!settings.contains(name) || !attrBool(req, "weak", false)) settings.set(name, value);
        }
        if (mod)
            for (pugi::xml_node req : mod.children("RequireSetting"))
                settings.set(attrText(req, "name"), elementText(req));
    }
}

OrderedDict<StringDict> SVGApplications::GetLocalSettings(const StringDict& appDict, QString& setLocals) const {
    OrderedDict<StringDict> locals;
    setLocals.clear();
    for (const auto& kv : appDict) {
        const pugi::xml_node app = findApp(kv.first);
        if (!app) continue;
        QList<pugi::xml_node> requirements;
        for (pugi::xml_node req : app.children("RequireLocal")) requirements << req;
        if (const pugi::xml_node mod = findModify(kv.first))
            for (pugi::xml_node req : mod.children("RequireLocal")) requirements << req;
        for (pugi::xml_node req : requirements) {
            const QString name = attrText(req, "name");
            setLocals = sSetUnion(setLocals, name, QStringLiteral(","));
            const QString key = attrText(req, "if");
            if (!locals.contains(key)) locals.add(key, StringDict());
            locals.find(key)->set(name, trimSpaces(elementText(req)));
        }
    }
    return locals;
}

int SVGApplications::iCountValidApps(const StringDict& appDict, bool svgFile) const {
    if (!svgFile) return appDict.count();
    int count = 0;
    for (const auto& kv : appDict)
        if (bIsAppValidInSVG(kv.first)) ++count;
    return count;
}

bool SVGApplications::bIsAppValidInSVG(const QString& id) const { return validInSvg(findApp(id), findModify(id)); }

QString SVGApplications::GetAppName(const QString& id) const {
    const pugi::xml_node app = findApp(id);
    return app ? attrOverride(app, findModify(id), "name", QString()) : QString();
}

QString SVGApplications::GetAppDescr(const QString& id) const {
    const pugi::xml_node app = findApp(id);
    return app ? attrOverride(app, findModify(id), "descr", QString()) : QString();
}

// ---------------------------------------------------------------------------
// Chart scripts, styles and handler code

bool SVGApplications::AnythingRequireLib(const StringDict& appDict, const QString& lib, bool svgFile) const {
    for (const auto& kv : appDict) {
        pugi::xml_node app;
        pugi::xml_node mod;
        if (!takesPart(kv.first, svgFile, app, mod)) continue;
        pugi::xml_node deciding;
        for (pugi::xml_node owner : {mod, app}) {
            if (!owner || deciding) continue;
            for (pugi::xml_node req : owner.children("RequireLib"))
                if (attrText(req, "name") == lib) {
                    deciding = req;
                    break;
                }
        }
        if (deciding && definitionBool(elementText(deciding, QStringLiteral("True")), true)) return true;
    }
    return false;
}

QStringList SVGApplications::includeFiles(const StringDict& appDict, bool svgFile, const char* element) const {
    QStringList files;
    for (const auto& kv : appDict) {
        pugi::xml_node app;
        pugi::xml_node mod;
        if (!takesPart(kv.first, svgFile, app, mod)) continue;
        for (pugi::xml_node owner : {app, mod}) {
            if (!owner) continue;
            for (pugi::xml_node include : owner.children(element)) {
                const QString text = elementText(include);
                if (!files.contains(text)) files << text;
            }
        }
    }
    return files;
}

QStringList SVGApplications::ScriptFiles(const StringDict& appDict, bool svgFile) const {
    return includeFiles(appDict, svgFile, "IncludeJS");
}

QStringList SVGApplications::StyleFiles(const StringDict& appDict, bool svgFile) const {
    return includeFiles(appDict, svgFile, "IncludeCSS");
}

QString SVGApplications::ambleCode(const StringDict& appDict, bool svgFile, const char* element) const {
    QString code;
    for (const auto& kv : appDict) {
        pugi::xml_node app;
        pugi::xml_node mod;
        if (!takesPart(kv.first, svgFile, app, mod)) continue;
        const pugi::xml_node modChild = mod ? mod.child(element) : pugi::xml_node();
        const QString text = modChild ? elementText(modChild) : elementText(app.child(element));
        if (text.isEmpty()) continue;
        if (!code.isEmpty()) code += u'\n';
        code += text;
    }
    return code;
}

QString SVGApplications::PreambleCode(const StringDict& appDict, bool svgFile) const {
    return ambleCode(appDict, svgFile, "Preamble");
}

QString SVGApplications::PostambleCode(const StringDict& appDict, bool svgFile) const {
    return ambleCode(appDict, svgFile, "Postamble");
}

QString SVGApplications::HandlerCode(const StringDict& appDict, const QString& place, bool svgFile) const {
    const bool click = place == QStringLiteral("click");
    QString box[4], image[4], circle[4], corner[4];
    bool boxUsed = false, imageUsed = false, circleUsed = false;
    for (const Entry& entry : entries_) {
        if (!appDict.contains(entry.id)) continue;
        const pugi::xml_node mod = findModify(entry.id);
        if (svgFile && !validInSvg(entry.app, mod)) continue;
        for (pugi::xml_node op : getOps(entry.app, mod)) {
            const QString code = trimSpaces(elementText(op));
            const int slot = static_cast<int>(kClickKeys.indexOf(attrText(op, "key")));
            if (slot < 0) continue;
            const QString on = attrText(op, "on");
            if (!click) {
                if (on == place) appendCode(corner[slot], code);
            } else if (on == QStringLiteral("box")) {
                appendCode(box[slot], code);
                boxUsed = true;
            } else if (on == QStringLiteral("image")) {
                appendCode(image[slot], code);
                imageUsed = true;
            } else if (on == QStringLiteral("circle")) {
                appendCode(circle[slot], code);
                circleUsed = true;
            }
        }
    }
    QStringList lines;
    if (!click) {
        appendBlocks(lines, corner, 4, false);
        return lines.join(u'\n');
    }
    if (boxUsed || imageUsed) lines << QStringLiteral("    if (type == 'P') {");
    if (imageUsed) {
        lines << QStringLiteral("        // For a person-box, the nodeName should be 'use', but on some systems, "
                                "ev.target for a <use>")
              << QStringLiteral("        // points to an instance of SVGElementInstance, which does not have a "
                                "nodeName property")
              << QStringLiteral("        if (ev !== null && ev.target.nodeName == 'image') {");
        appendBlocks(lines, image, 12, false);
        lines << QStringLiteral("        }");
    }
    if (boxUsed) appendBlocks(lines, box, 8, true);
    if (boxUsed || imageUsed) lines << QStringLiteral("    }");
    if (circleUsed) {
        lines << QStringLiteral("    if (type == 'F') {");
        appendBlocks(lines, circle, 8, true);
        lines << QStringLiteral("    }");
    }
    return lines.join(u'\n');
}

// ---------------------------------------------------------------------------
// Validation and click reports

QString SVGApplications::opDescription(pugi::xml_node op, pugi::xml_node app, pugi::xml_node mod) const {
    return attrText(op, "name") + QStringLiteral(" [in ") + attrOverride(app, mod, "name", QString()) +
           QStringLiteral("]");
}

int SVGApplications::Validate(const StringDict& appDict, bool svgFile, Reporter& reporter) const {
    StringDict claimed;
    int conflicts = 0;
    for (const Entry& entry : entries_) {
        if (!appDict.contains(entry.id)) continue;
        const pugi::xml_node mod = findModify(entry.id);
        if (svgFile && !validInSvg(entry.app, mod)) {
            reporter.warn(QStringLiteral("Warning, application or service ") + entry.id +
                          QStringLiteral(" is not valid for the current SVGFile setting"));
            continue;
        }
        for (pugi::xml_node op : getOps(entry.app, mod)) {
            const QString click = clickText(op);
            const QString description = opDescription(op, entry.app, mod);
            if (const QString* earlier = claimed.find(click)) {
                ++conflicts;
                if (reporter.warnDiscard(QStringLiteral("Operation of ") + click +
                                         QStringLiteral(" is configured for both ") + description +
                                         QStringLiteral(" and ") + *earlier))
                    return conflicts;
            } else {
                claimed.add(click, description);
            }
        }
    }
    return conflicts;
}

void SVGApplications::GetAppList(QStringList& ids, QStringList& names, QStringList& descrs,
                                 QList<bool>& validSvg) const {
    ids.clear();
    names.clear();
    descrs.clear();
    validSvg.clear();
    for (const Entry& entry : entries_) {
        if (isService(entry.app, pugi::xml_node())) continue;
        const pugi::xml_node mod = findModify(entry.id);
        ids << entry.id;
        names << attrOverride(entry.app, mod, "name", QString());
        descrs << attrOverride(entry.app, mod, "descr", QString());
        validSvg << validInSvg(entry.app, mod);
    }
    for (qsizetype i = 0; i + 1 < names.size(); ++i)
        for (qsizetype j = i + 1; j < names.size(); ++j)
            if (names[j].compare(names[i], Qt::CaseInsensitive) < 0) {
                ids.swapItemsAt(i, j);
                names.swapItemsAt(i, j);
                descrs.swapItemsAt(i, j);
                validSvg.swapItemsAt(i, j);
            }
}

QString SVGApplications::GetRequiredClicks(const QString& id) const {
    const pugi::xml_node app = findApp(id);
    if (!app) return QStringLiteral("(none)");
    QStringList lines;
    for (pugi::xml_node op : getOps(app, findModify(id)))
        lines << clickText(op) + QStringLiteral(" (") + attrText(op, "name") + QStringLiteral(")");
    return lines.isEmpty() ? QStringLiteral("(none)") : lines.join(QStringLiteral("\r\n"));
}

QStringList SVGApplications::GetAllRequiredClicks(const StringDict& appDict) const {
    QStringList rows;
    for (const Entry& entry : entries_) {
        if (!appDict.contains(entry.id)) continue;
        const pugi::xml_node mod = findModify(entry.id);
        const QString kind = isService(entry.app, mod) ? QStringLiteral("service") : QStringLiteral("application");
        for (pugi::xml_node op : getOps(entry.app, mod))
            rows << clickText(op) + u'\t' + QStringLiteral("('") + attrText(op, "name") +
                        QStringLiteral("' operation in '") + attrOverride(entry.app, mod, "name", QString()) +
                        QStringLiteral("' ") + kind + QStringLiteral(")");
    }
    if (rows.isEmpty()) return {};
    return rows.join(u'|').split(u'|');
}

// ---------------------------------------------------------------------------
// Program-data kinds

void SVGApplications::GetDataList(QStringList& ids, QStringList& descrs, QStringList& sigs) const {
    ids.clear();
    descrs.clear();
    sigs.clear();
    for (pugi::xml_node data : data_) {
        ids << attrText(data, "id");
        QString descr;
        QString sig;
        const QString alias = attrText(data, "alias-of");
        if (!alias.isEmpty()) {
            QString names;
            descr = dataSig(dataResolved_.value(alias), sig, names);
        } else {
            descr = attrText(data, "descr");
            for (pugi::xml_node item : data.children("Item")) sig = sSetJoin(sig, attrText(item, "tag"), QStringLiteral("|"));
        }
        if (attrBool(data, "hidden", false)) descr.clear();
        descrs << descr;
        sigs << sig;
    }
}

QString SVGApplications::GetDataSig(const QString& id, QString& itemTags, QString& itemNames) const {
    return dataSig(dataResolved_.value(id), itemTags, itemNames);
}

pugi::xml_node SVGApplications::resolveData(const QString& id, QHash<QString, pugi::xml_node>& known) const {
    // A chain longer than the number of kinds has returned to a kind already
    // on it (a cycle, reported at load), so the walk counts its steps instead
    // of remembering where it has been.
    QStringList walked;
    QString current = id;
    pugi::xml_node found;
    for (qsizetype steps = 0; steps <= data_.size(); ++steps) {
        const auto it = known.constFind(current);
        if (it != known.constEnd()) {
            found = it.value();
            break;
        }
        const pugi::xml_node data = findData(current);
        if (!data) break;  // unknown kind
        walked << current;
        const QString alias = attrText(data, "alias-of");
        if (alias.isEmpty()) {
            found = data;
            break;
        }
        current = alias;
    }
    for (const QString& w : walked) known.insert(w, found);
    return found;
}

QString SVGApplications::dataSig(pugi::xml_node data, QString& itemTags, QString& itemNames) const {
    itemTags.clear();
    itemNames.clear();
    if (!data) return QString();
    for (pugi::xml_node item : data.children("Item")) {
        itemTags = sSetJoin(itemTags, trimSpaces(attrText(item, "tag")), QStringLiteral("|"));
        itemNames = sSetJoin(itemNames, trimSpaces(elementText(item)), QStringLiteral("|"));
    }
    return trimSpaces(attrText(data, "descr"));
}

QString SVGApplications::GetDataItems(const QString& id, QStringList& tags, QStringList& names) const {
    tags.clear();
    names.clear();
    const pugi::xml_node data = dataResolved_.value(id);
    if (!data) return QString();
    for (pugi::xml_node item : data.children("Item")) {
        const QString tag = trimSpaces(attrText(item, "tag"));
        if (tag.isEmpty()) continue;
        tags << tag;
        names << trimSpaces(elementText(item));
    }
    return trimSpaces(attrText(data, "descr"));
}

bool SVGApplications::UsesPlaceKeys(const QString& line) const {
    const QStringList parts = line.split(u'|');
    if (parts.size() < 2) return false;
    const pugi::xml_node data = findData(trimSpaces(parts.first()));
    return data && attrBool(data, "place-keys", false);
}
