#include "PersonEditModel.h"

#include "NotesPagesText.h"
#include "SVGBox.h"
#include "SVGTree.h"
#include "foundation/AppError.h"
#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"

namespace {
const QString kSexCodes = QStringLiteral("fmux");
const QString kSource = QStringLiteral("FormBox");

bool isKeyChar(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
}
bool isLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
}  // namespace

QSizeF fitPicture(const QSizeF& picture, const QSizeF& frame) {
    if (picture.width() <= 0 || picture.height() <= 0 || frame.width() <= 0 || frame.height() <= 0) return {};
    const double frameRatio = frame.height() / frame.width();
    const double ratio = picture.height() / picture.width();
    if (ratio <= frameRatio) return {frame.width(), frame.width() * ratio};
    return {frame.height() / ratio, frame.height()};
}

PersonEditModel::PersonEditModel(SVGTree& tree) : tree_(tree) {}

void PersonEditModel::loadEdit(const QString& sKey) {
    person_ = tree_.GetPersons().value(sKey);
    fields_ = Fields();
    if (!person_) return;
    fields_.key = sKey;
    fields_.caption = person_->GetText();
    fields_.shortCaption = person_->GetShortText();
    fields_.notes = sPageText(person_->GetNotes());
    fields_.tooltips = sPageText(person_->GetTooltips());
    fields_.progData = sPageText(person_->GetProgData());
    fields_.locSettings = sGetLocSettingsText(*person_);
    fields_.sex = person_->GetSex().isEmpty() ? -1 : int(kSexCodes.indexOf(person_->GetSex()));
    fields_.tentative = person_->GetTentative();
    fields_.rootPerson = tree_.GetRootPerson() == person_;
}

void PersonEditModel::loadCreate() {
    person_.reset();
    fields_ = Fields();
    fields_.sex = 1;
}

QString PersonEditModel::KeyFromCaption(const QString& sCaption) {
    QString key;
    for (QChar c : sCaption)
        if (isKeyChar(c) && (!key.isEmpty() || isLetter(c))) key += c;
    return key;
}

void PersonEditModel::splitImageSpec(const QString& sSpec, QString& sPlace, QString& sFile) {
    const qsizetype colon = sSpec.indexOf(u':');
    if (sSpec.startsWith(u'$') && colon >= 0) {
        sPlace = sSpec.mid(1, colon - 1);
        sFile = sSpec.mid(colon + 1);
    } else {
        sPlace.clear();
        sFile = sSpec;
    }
}

QString PersonEditModel::joinImageSpec(const QString& sPlace, const QString& sFile) {
    return sPlace.isEmpty() ? sFile : u'$' + sPlace + u':' + sFile;
}

QString PersonEditModel::SetImageSpec(const QString& sSpec) {
    QString place;
    splitImageSpec(sSpec, place, fields_.file);
    fields_.place.clear();
    if (place.isEmpty()) return QString();
    if (!tree_.GetPlaceKeys().Exists(place)) return QStringLiteral("Undefined place key used for this person: ") + place;
    fields_.place = place;
    return QString();
}

QStringList PersonEditModel::placeKeys() const {
    QStringList keys;
    for (const auto& entry : tree_.GetPlaceKeys().GetDict()) keys.append(entry.first);
    return keys;
}

PersonEditModel::ResolvedImage PersonEditModel::sResolveImageFile(
    const QString& sPlace, const QString& sFile, bool bLocal,
    const std::function<QString(const QString&)>& download) const {
    ResolvedImage result;
    result.local = bLocal;
    if (!sFile.isEmpty() && sPlace.isEmpty())
        result.local = !(sFile.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
                         sFile.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive));
    QString s = sFile.trimmed();
    if (s.isEmpty()) return result;
    try {
        const QString reference = u'$' + sPlace + u':' + s;
        // A place that is not defined, or has no address of the edition
        // asked for, gives no file.
        QString location, folder;
        tree_.GetPlaceKeys().GetPlaces(sPlace, location, folder);
        const bool hasEdition = !(result.local ? folder : location).isEmpty();
        if (!sPlace.isEmpty() && !hasEdition) {
            s.clear();
        } else if (result.local) {
            if (!sPlace.isEmpty()) {
                s = tree_.GetPlaceKeys().ExpandURLName(reference, true, false);
                result.toolTip = s;
            }
        } else {
            if (!sPlace.isEmpty()) {
                s = tree_.GetPlaceKeys().ExpandURLName(reference, false, true);
                result.toolTip = s;
            }
            if (!s.isEmpty()) s = download(s);
        }
        if (s.isEmpty()) {
            result.problem = QStringLiteral("Could not identify ") +
                             (result.local ? QStringLiteral("local") : QStringLiteral("remote")) +
                             QStringLiteral(" edition of file ") + sFile + QStringLiteral(" at place ") + sPlace;
            return result;
        }
        result.file = s;
    } catch (const AppError& e) {
        result.problem = e.description;
        result.file.clear();
    }
    return result;
}

QString PersonEditModel::browseFolder(const QString& sPlace) const {
    if (sPlace.isEmpty()) return QString();
    try {
        return tree_.GetPlaceKeys().ExpandURLName(u'$' + sPlace + u':', true, false);
    } catch (const AppError&) {
        return QString();
    }
}

QString PersonEditModel::namesText() const {
    QString names = person_ ? person_->GetPersonalNames() : QString();
    if (names.isEmpty()) {
        if (person_) {
            names = person_->CreatePersonalName();
        } else {
            SVGBox scratch;
            scratch.SetText(fields_.caption);
            names = scratch.CreatePersonalName();
        }
    }
    return names.replace(u'|', u'\n');
}

QString PersonEditModel::namesFromText(const QString& sText) {
    QString names;
    for (QString line : pageLines(sText)) {
        line = line.remove(u'|').trimmed();
        if (!line.isEmpty()) names = sSetUnion(names, line, QStringLiteral("|"));
    }
    return names;
}

QString PersonEditModel::ok() {
    auto invalid = [](const QString& message) { raiseError(ErrorOffset::InvalidKey, kSource, message); };
    Fields& f = fields_;
    QString key = f.key;
    if (createMode()) {
        // The key proposal: a key in use becomes its next free numbered form.
        if (f.key.isEmpty())
            f.key = tree_.MakeUniqueKey(KeyFromCaption(f.caption));
        else
            f.key = tree_.MakeUniqueKey(f.key);
        key = f.key.trimmed();
        if (key.isEmpty()) invalid(QStringLiteral("Key name cannot be blank when adding new person"));
        if (!bValidName(key))
            invalid(QStringLiteral(
                "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)"));
        if (tree_.GetPersons().contains(key))
            invalid(QStringLiteral("The specified key name is already in use for a different person"));
    }
    // The settings are read into a scratch person first: a refused setting
    // leaves the tree as it was.
    const QString record = sLocSettingsRecord(f.locSettings);
    if (!record.isEmpty()) {
        SVGBox scratch;
        scratch.InitSettings(record);
    }

    const QString spec = joinImageSpec(f.place, f.file);
    QString sex = f.sex >= 0 && f.sex < kSexCodes.size() ? QString(kSexCodes[f.sex]) : QString();
    if (sex.isEmpty() && createMode()) sex = QStringLiteral("u");
    if (createMode()) {
        person_ = tree_.NewPerson(key, f.caption, f.shortCaption, 0, 0, sex, f.tentative, spec, false);
    } else {
        person_->SetText(f.caption);
        person_->SetShortText(f.shortCaption);
        if (!sex.isEmpty()) person_->SetSex(sex);  // a code the list does not show stays
        person_->SetTentative(f.tentative);
        person_->SetImage(spec);
    }
    person_->CheckShortText();
    if (f.rootPerson)
        tree_.SetRootPerson(person_);
    else if (tree_.GetRootPerson() == person_)
        tree_.SetRootPerson(nullptr);
    person_->SetNotes(pageLines(f.notes));
    person_->SetTooltips(pageLines(f.tooltips));
    person_->SetProgData(pageLines(f.progData));
    SetLocSettingsText(*person_, f.locSettings);
    if (f.namesLoaded) person_->SetPersonalNames(namesFromText(f.names));
    return key;
}
