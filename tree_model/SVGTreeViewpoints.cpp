// The members of SVGTree that deal with viewpoints, positions, grid sizes,
// orientation, the chart's extent and the root person.
#include "SVGTree.h"

#include <algorithm>

#include "TreeText.h"
#include "foundation/AppError.h"
#include "foundation/Reporter.h"

namespace {
const QString kSource = QStringLiteral("SVGTree");
}

PersonDict SVGTree::GetViewPersons() const {
    if (!current_) return persons_;
    PersonDict view;
    GetViewPersons(view);
    return view;
}

FamilyDict SVGTree::GetViewFamilies() const {
    if (!current_) return families_;
    FamilyDict view;
    GetViewFamilies(view);
    return view;
}

const PersonDict& SVGTree::GetViewPersons(PersonDict& view) const {
    if (!current_) return persons_;
    view.clear();
    for (const auto& kv : current_->GetPerDict())
        if (const SVGBoxPtr* person = persons_.find(kv.first)) view.add(kv.first, *person);
    return view;
}

const FamilyDict& SVGTree::GetViewFamilies(FamilyDict& view) const {
    if (!current_) return families_;
    view.clear();
    const KeySet& keys = current_->GetFamKeys();
    for (int i = 0; i < keys.count(); ++i)
        if (const SVGFamilyPtr* family = families_.find(keys.at(i))) view.add(keys.at(i), *family);
    return view;
}

QString SVGTree::GetPersonViewpoints(const SVGBox& oBox) const {
    if (!UsingViewpoints()) return QString();
    // A person this tree holds lists the viewpoints that hold it.
    if (oBox.held_ && oBox.tree_ == this) return viewpointKeys(oBox.inViewpoints_);
    return viewpointsHolding([&](const SVGViewpointClass& v) { return v.PersonExists(oBox.key_); });
}

QString SVGTree::GetFamilyViewpoints(const SVGFamily& oFam) const {
    if (!UsingViewpoints()) return QString();
    if (oFam.indexed_ && oFam.tree_ == this) return viewpointKeys(oFam.inViewpoints_);
    return viewpointsHolding([&](const SVGViewpointClass& v) { return v.FamilyExists(oFam.key_); });
}

QString SVGTree::viewpointKeys(const ViewpointList& oHeld) const {
    if (oHeld.isEmpty()) return QString();
    if (oHeld.size() == 1) return oHeld.front()->key_;
    return viewpointsHolding([&](const SVGViewpointClass& v) { return oHeld.contains(&v); });
}

QString SVGTree::viewpointsHolding(const std::function<bool(const SVGViewpointClass&)>& holds) const {
    QString keys;
    bool any = false;
    for (const auto& kv : viewpoints_) {
        if (!holds(*kv.second)) continue;
        if (any) {
            keys += u',';
            keys += kv.first;
        } else {
            keys = kv.first;
            any = true;
        }
    }
    return keys;
}

bool SVGTree::IsPersonInViewpoint(const SVGBox& oBox) const {
    if (!UsingViewpoints()) return false;
    if (oBox.held_ && oBox.tree_ == this) return !oBox.inViewpoints_.isEmpty();
    for (const auto& kv : viewpoints_)
        if (kv.second->PersonExists(oBox.GetKey())) return true;
    return false;
}

bool SVGTree::IsFamilyInViewpoint(const QString& sKey) const {
    if (!UsingViewpoints()) return false;
    for (const auto& kv : viewpoints_)
        if (kv.second->FamilyExists(sKey)) return true;
    return false;
}

void SVGTree::viewpointPersonJoined(const SVGViewpointClass& oView, const QString& sKey) {
    if (const SVGBoxPtr* person = persons_.find(sKey); person && *person) (*person)->inViewpoints_.append(&oView);
}

void SVGTree::viewpointPersonLeft(const SVGViewpointClass& oView, const QString& sKey) {
    if (const SVGBoxPtr* person = persons_.find(sKey); person && *person) (*person)->inViewpoints_.removeOne(&oView);
}

void SVGTree::viewpointFamilyJoined(const SVGViewpointClass& oView, const QString& sKey) {
    if (const SVGFamilyPtr* family = families_.find(sKey); family && *family)
        (*family)->inViewpoints_.append(&oView);
}

void SVGTree::viewpointFamilyLeft(const SVGViewpointClass& oView, const QString& sKey) {
    if (const SVGFamilyPtr* family = families_.find(sKey); family && *family)
        (*family)->inViewpoints_.removeOne(&oView);
}

void SVGTree::releaseViewpoint(SVGViewpointClass& oView) {
    if (oView.tree_ != this) return;
    for (const auto& kv : oView.GetPerDict()) viewpointPersonLeft(oView, kv.first);
    const KeySet& families = oView.GetFamKeys();
    for (int i = 0; i < families.count(); ++i) viewpointFamilyLeft(oView, families.at(i));
    oView.tree_ = nullptr;
}

SVGViewpointPtr SVGTree::AddViewpoint(const QString& sKey, const QString& sName, int iCols, int iRows) {
    auto viewpoint = std::make_shared<SVGViewpointClass>();
    viewpoint->SetKey(sKey);
    viewpoint->SetName(sName);
    viewpoint->SetCols(iCols);
    viewpoint->SetRows(iRows);
    if (!viewpoints_.add(sKey, viewpoint))
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("The specified key name is already in use for a viewpoint: ") + sKey);
    viewpoint->tree_ = this;
    SetUnsaved(true);
    return viewpoint;
}

void SVGTree::DeleteViewpoint(const QString& sKey) {
    if (const SVGViewpointPtr* held = viewpoints_.find(sKey); held && *held) releaseViewpoint(**held);
    viewpoints_.remove(sKey);
    Q_EMIT ViewpointDeleted(sKey);
    SetUnsaved(true);
}

void SVGTree::RenameViewpoint(const QString& sKey, const QString& sNewKey, const QString& sName) {
    const SVGViewpointPtr viewpoint = viewpoints_.value(sKey);
    if (viewpoint) {
        viewpoint->SetName(sName);
        if (sNewKey != sKey) {
            viewpoints_.remove(sKey);
            // A viewpoint already under the new key is replaced by this one.
            if (const SVGViewpointPtr* other = viewpoints_.find(sNewKey); other && *other && *other != viewpoint)
                releaseViewpoint(**other);
            viewpoint->SetKey(sNewKey);
            viewpoints_.set(sNewKey, viewpoint);
        }
    }
    Q_EMIT ViewpointRenamed(sKey, sNewKey);
    SetUnsaved(true);
}

QString SVGTree::GetViewpointSet() const { return viewpoints_.keys().join(u','); }

bool SVGTree::UsingViewpoints() const { return !viewpoints_.isEmpty() && display_->GetViewpoints(); }

QString SVGTree::GetViewpointKey() const { return current_ ? current_->GetKey() : QString(); }

QString SVGTree::GetViewpointName() const { return current_ ? current_->GetName() : QString(); }

void SVGTree::SetViewpointKey(const QString& sViewpoint) {
    if (!sViewpoint.isEmpty() && sViewpoint != GetViewpointKey()) {
        const SVGViewpointPtr viewpoint = viewpoints_.value(sViewpoint);
        if (!viewpoint)
            raiseError(ErrorOffset::InvalidKey, kSource,
                       QStringLiteral("The specified key name is not in use for any viewpoint: ") + sViewpoint);
        current_ = viewpoint;
        if (reporter_) reporter_->logLine(QStringLiteral("Using viewpoint ") + viewpoint->GetName());
    } else if (sViewpoint.isEmpty() && current_) {
        current_.reset();
        if (reporter_) reporter_->logLine(QStringLiteral("Using full tree (no viewpoint)"));
    }
}

void SVGTree::GetPerColRow(const QString& sKey, int& iCol, int& iRow) const {
    if (current_) {
        current_->GetPerColRow(sKey, iCol, iRow, display_->GetHoriz());
        return;
    }
    // The held pointer itself: no copy, so no reference count to touch.
    const SVGBoxPtr* held = persons_.find(sKey);
    if (!held || !*held) {
        iCol = iRow = 0;
        return;
    }
    GetPerColRow(**held, iCol, iRow);
}

void SVGTree::GetPerColRow(const SVGBox& person, int& iCol, int& iRow) const {
    if (current_) {
        current_->GetPerColRow(person.GetKey(), iCol, iRow, display_->GetHoriz());
        return;
    }
    iCol = person.GetCol();
    iRow = person.GetRow();
}

void SVGTree::SetPerColRow(const QString& sKey, int& iCol, int& iRow) {
    const SVGBoxPtr person = persons_.value(sKey);
    if (!person)
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("The specified key name is not in use for any person: ") + sKey);
    if (!current_) {
        person->SetNewPosn(iCol, iRow, false);
        return;
    }
    const bool horiz = display_->GetHoriz();
    if (current_->PersonExists(sKey)) {
        current_->SetPerColRow(sKey, iCol, iRow, horiz);
    } else {
        current_->AddPerRef(sKey, iCol, iRow, horiz);
        SetPendingViewpointPFChange(current_->GetKey());
    }
    if (person->GetCol() == 0 || person->GetRow() == 0) {
        int cols = 0, rows = 0;
        GetFullGridColRow(cols, rows);
        if (iCol > cols) iCol = cols;
        if (iRow > rows) iRow = rows;
        person->SetNewPosn(iCol, iRow, false);
    }
}

void SVGTree::GetFullGridColRow(int& iShowCols, int& iShowRows, bool bNotOrient) const {
    int cols = 12, rows = 8;
    if (const QString* v = settings_.find(QStringLiteral("DesCols"))) {
        cols = readSetting(QStringLiteral("DesCols"), *v, [](const QString& t) { return toInteger16(t, kSource); });
        if (cols < 1) cols = 12;
    }
    if (const QString* v = settings_.find(QStringLiteral("DesRows"))) {
        rows = readSetting(QStringLiteral("DesRows"), *v, [](const QString& t) { return toInteger16(t, kSource); });
        if (rows < 1) rows = 8;
    }
    if (!display_->GetHoriz() && !bNotOrient) std::swap(cols, rows);
    iShowCols = cols;
    iShowRows = rows;
}

void SVGTree::GetGridColRow(int& iShowCols, int& iShowRows, bool bNotOrient) const {
    if (!current_) {
        GetFullGridColRow(iShowCols, iShowRows, bNotOrient);
        return;
    }
    int cols = current_->GetCols(), rows = current_->GetRows();
    if (!display_->GetHoriz() && !bNotOrient) std::swap(cols, rows);
    iShowCols = cols;
    iShowRows = rows;
}

void SVGTree::SetGridColRow(int& iShowCols, int& iShowRows, bool bNotOrient) {
    if (!display_->GetHoriz() && !bNotOrient) std::swap(iShowCols, iShowRows);
    if (!current_) {
        setSetting(QStringLiteral("DesCols"), QString::number(iShowCols));
        setSetting(QStringLiteral("DesRows"), QString::number(iShowRows));
    } else {
        current_->SetCols(iShowCols);
        current_->SetRows(iShowRows);
    }
}

void SVGTree::SetHoriz(bool bHoriz) {
    setSetting(QStringLiteral("Horiz"), booleanText(bHoriz));
    display_->SetHoriz(bHoriz);
}

void SVGTree::SetStepped(bool bStep) {
    setSetting(QStringLiteral("Stepped"), booleanText(bStep));
    display_->SetStepped(bStep);
}

void SVGTree::GetFarEdges(double& fRight, double& fBottom) const {
    fRight = 0;
    fBottom = 0;
    auto extend = [&](const SVGBox& person) {
        fRight = std::max(fRight, person.GetXR());
        fBottom = std::max(fBottom, person.GetYB());
    };
    if (current_) {
        for (const auto& kv : current_->GetPerDict())
            if (const SVGBoxPtr* person = persons_.find(kv.first)) extend(**person);
    } else {
        // Persons lie in memory in the order they were made, yet too far
        // apart for the processor to fetch them ahead by itself: each is
        // asked for a few steps before its turn.
        constexpr int kAhead = 8;
        const int count = persons_.count();
        for (int i = 0; i < count; ++i) {
            if (i + kAhead < count)
                if (const SVGBox* next = persons_.valueAt(i + kAhead).get()) __builtin_prefetch(&next->tree_);
            extend(*persons_.valueAt(i));
        }
    }
    fRight += display_->GetMarginW();
    fBottom += display_->GetMarginH();
}

SVGBoxPtr SVGTree::GetRootPerson() const {
    const QString key = display_->GetRootKey();
    if (key.isEmpty()) return nullptr;
    return persons_.value(key);
}

void SVGTree::SetRootPerson(const SVGBoxPtr& oBox) {
    if (oBox) {
        setSetting(QStringLiteral("RootKey"), oBox->GetKey());
        display_->SetRootKey(oBox->GetKey());
    } else {
        settings_.remove(QStringLiteral("RootKey"));
        display_->SetRootKey(QString());
    }
}
