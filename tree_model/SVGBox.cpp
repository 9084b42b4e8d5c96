#include "SVGBox.h"

#include <QVarLengthArray>

#include "LocalSettings.h"
#include "SVGDisplay.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "TreeText.h"
#include "foundation/AppError.h"
#include "foundation/TextHelpers.h"

namespace {
const QString kSource = QStringLiteral("SVGBox");

// Keys compared exactly; those copied from one another without reading them.
bool sameKey(const QString& a, const QString& b) { return ordered_dict_detail::KeyEqual{}(a, b); }

// The text cut before its first "(" when it ends in a parenthesised part.
QString withoutTrailingParentheses(const QString& text) {
    if (text.contains(u'(') && text.endsWith(u')')) return trimBlanks(text.left(text.indexOf(u'(')));
    return text;
}
}  // namespace

void SVGBox::SetNewPosn(int iCol, int iRow, bool bNotOrient) {
    const SVGDisplay* display = tree_ ? tree_->GetDisplay() : nullptr;
    if (bNotOrient || !display || display->GetHoriz()) {
        treeCol_ = iCol;
        treeRow_ = iRow;
    } else {
        treeCol_ = iRow;
        treeRow_ = iCol;
    }
}

void SVGBox::Init(SVGTree* oTr, const QString& sKy, int iCol, int iRow, const QString& sS, bool bTent,
                  bool bFromFile) {
    tree_ = oTr;
    key_ = sKy;
    sex_ = sS;
    tentative_ = bTent;
    SetNewPosn(iCol, iRow, bFromFile);
}

void SVGBox::InitSettings(const QString& sRec) {
    static const QStringList booleans = {"ButtonTR", "ButtonTL", "ButtonBR", "ButtonBL"};
    static const QStringList texts = {"TooltipTR", "TooltipTL", "TooltipBR", "TooltipBL"};
    static const QStringList classes = {"ClassPerson", "ClassPersonLines", "ClassPersonNotes"};
    parseLocalSettings(sRec, GetLocSettings(), kSource, QStringLiteral("Person"), booleans, texts, classes);
}

void SVGBox::displayCell(int& iCol, int& iRow) const {
    if (tree_ && (!held_ || tree_->GetViewpoint())) {
        tree_->GetPerColRow(key_, iCol, iRow);
    } else {
        iCol = GetCol();
        iRow = GetRow();
    }
}

// The display's left and top edge of the person's cell.
QPointF SVGBox::cellOrigin() const {
    int c, r;
    displayCell(c, r);
    return QPointF(tree_->GetDisplay()->GetX(c, r), tree_->GetDisplay()->GetY(c, r));
}

double SVGBox::GetXL() const { return cellOrigin().x(); }
double SVGBox::GetXC() const { return cellOrigin().x() + tree_->GetDisplay()->GetBoxW() / 2; }
double SVGBox::GetXR() const { return cellOrigin().x() + tree_->GetDisplay()->GetBoxW(); }
double SVGBox::GetYT() const { return cellOrigin().y(); }
double SVGBox::GetYM() const { return cellOrigin().y() + tree_->GetDisplay()->GetBoxH() / 2; }
double SVGBox::GetYB() const { return cellOrigin().y() + tree_->GetDisplay()->GetBoxH(); }

void SVGBox::SetText(const QString& sTxt) { text_ = trimBlanks(sTxt); }

QString SVGBox::GetDisplayText() const { return QString(text_).remove(u'\\'); }

void SVGBox::SetShortText(const QString& sShortTxt) { shortText_ = trimBlanks(sShortTxt); }

QString SVGBox::GetDisplayShortText() const { return QString(shortText_).remove(u'\\'); }

void SVGBox::SetPersonalNames(const QString& sNames) { personalNames_ = trimBlanks(sNames); }

void SVGBox::CheckShortText() {
    if (!shortText_.isEmpty() || text_.isEmpty()) return;
    QStringList words = withoutTrailingParentheses(text_).split(u' ');
    for (int i = 1; i + 1 < words.size(); ++i)
        if (words[i].size() > 2) words[i] = words[i].left(1) + u'.';
    shortText_ = words.join(u' ');
}

QString SVGBox::CreatePersonalName() const {
    const QString name = withoutTrailingParentheses(trimBlanks(QString(text_)).remove(u'\\'));
    if (name.isEmpty()) return QString();
    if (name.contains(u'/')) return name;
    QStringList words = name.split(u' ');
    words.last() = u'/' + words.last() + u'/';
    return words.join(u' ');
}

int SVGBox::GetCol() const {
    const SVGDisplay* display = tree_ ? tree_->GetDisplay() : nullptr;
    return (!display || display->GetHoriz()) ? treeCol_ : treeRow_;
}

int SVGBox::GetRow() const {
    const SVGDisplay* display = tree_ ? tree_->GetDisplay() : nullptr;
    return (!display || display->GetHoriz()) ? treeRow_ : treeCol_;
}

void SVGBox::AddFamSet(const QString& sFam) {
    if (!famSet_.add(sFam))
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("Person ") + key_ + QStringLiteral(" is already associated with family ") + sFam);
}

void SVGBox::RemFamSet(const QString& sFam) {
    if (!famSet_.remove(sFam))
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("Person ") + key_ + QStringLiteral(" is not associated with family ") + sFam);
}

void SVGBox::AddSpouseSet(const QString& sSpouse) {
    if (!spouseSet_.add(sSpouse))
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("Spouse ") + sSpouse + QStringLiteral(" has already been drawn for person ") + key_);
}

const SVGFamily* SVGBox::parentFamily(const FamilyDict& families, const QString& sFam) const {
    // The families the tree holds stand under their own keys.
    for (const SVGFamily* family : parentOf_)
        if (sameKey(family->key_, sFam)) return family;
    const SVGFamilyPtr* held = families.find(sFam);
    return held ? held->get() : nullptr;
}

QString SVGBox::GetRelatedSpouses() {
    if (relatedSpouses_ != u"-") return relatedSpouses_;
    // Most persons are a parent in no family: the group is the person alone.
    if (famSet_.isEmpty() || !tree_) {
        relatedSpouses_ = key_;
        return relatedSpouses_;
    }
    // The group in order of first appearance, told apart by key. A small
    // group is searched through; a large one gets a key set as well.
    constexpr int kSearched = 16;
    QVarLengthArray<SVGBox*, 8> members{this};
    KeySet related;
    auto isMember = [&](const QString& key) {
        if (members.size() > kSearched) return related.contains(key);
        for (const SVGBox* member : members)
            if (sameKey(member->key_, key)) return true;
        return false;
    };
    auto join = [&](SVGBox* member) {
        members.append(member);
        if (members.size() > kSearched + 1) {
            related.add(member->key_);
        } else if (members.size() == kSearched + 1) {
            for (const SVGBox* m : members) related.add(m->key_);
        }
    };
    const FamilyDict& families = tree_->GetFamilies();
    // Each member is visited once; every parent of its families joins the
    // group in order of first appearance.
    for (qsizetype i = 0; i < members.size(); ++i) {
        const KeySet& fams = members[i]->famSet_;
        for (int f = 0; f < fams.count(); ++f) {
            const SVGFamily* fam = members[i]->parentFamily(families, fams.at(f));
            if (!fam) continue;
            for (const SVGBoxPtr* parent : {&fam->par1_, &fam->par2_})
                if (*parent && !isMember((*parent)->key_)) join(parent->get());
        }
    }
    qsizetype length = members.size() - 1;
    for (const SVGBox* member : members) length += member->key_.size();
    QString joined;
    joined.reserve(length);
    for (const SVGBox* member : members) {
        if (member != this) joined += u',';
        joined += member->key_;
    }
    relatedSpouses_ = joined;
    for (SVGBox* member : members)
        if (member != this) member->SetRelatedSpouses(relatedSpouses_);
    return relatedSpouses_;
}
