#include "SVGTree.h"

#include <algorithm>

#include "TreeText.h"
#include "foundation/TextHelpers.h"
#include "foundation/AppError.h"
#include "foundation/TextCoreErrors.h"

namespace {
const QString kSource = QStringLiteral("SVGTree");

[[noreturn]] void invalid(const QString& text) { raiseError(ErrorOffset::InvalidKey, kSource, text); }

const QString kKeyRuleMessage = QStringLiteral(
    "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic): ");
}  // namespace

SVGTree::SVGTree(std::shared_ptr<SVGDisplay> display, QObject* parent)
    : QObject(parent), display_(display ? std::move(display) : std::make_shared<SVGDisplay>()) {}

SVGTree::~SVGTree() {
    // Viewpoints handed out may outlive the tree: they no longer report to it.
    for (const auto& kv : viewpoints_)
        if (kv.second) kv.second->tree_ = nullptr;
    // So may persons and families: no tree made later in the same memory
    // takes them for its own, nor reads the lists they kept for this one.
    for (const auto& kv : persons_)
        if (kv.second) kv.second->held_ = false;
    for (const auto& kv : families_)
        if (kv.second) kv.second->indexed_ = false;
}

void SVGTree::SetDisplay(std::shared_ptr<SVGDisplay> display) {
    display_ = display ? std::move(display) : std::make_shared<SVGDisplay>();
}

void SVGTree::ClearPendingEvents() {
    pendingViewpoints_.clear();
    pendingPF_ = false;
}

void SVGTree::RaisePendingEvents() {
    if (pendingPF_) {
        pendingPF_ = false;
        Q_EMIT PFChange();
    }
    // Taken and cleared first: changes made by the listeners are collected for
    // the next round.
    const QStringList keys = pendingViewpoints_.keys();
    pendingViewpoints_.clear();
    for (const QString& key : keys) Q_EMIT ViewpointPFChange(key);
}

void SVGTree::SetPendingViewpointPFChange(const QString& sVKey) {
    pendingViewpoints_.add(sVKey);
    SetUnsaved(true);
}

void SVGTree::RaisePersonDetails(const QString& sKey) {
    Q_EMIT PersonDetails(sKey);
    SetUnsaved(true);
}

void SVGTree::RaiseFamilyDetails(const QString& sKey) {
    Q_EMIT FamilyDetails(sKey);
    SetUnsaved(true);
}

void SVGTree::RaiseViewpointPFChange(const QString& sKey) {
    Q_EMIT ViewpointPFChange(sKey);
    SetUnsaved(true);
}

QString SVGTree::MakeUniqueKey(QString sBase) const {
    const int dash = sBase.lastIndexOf(u'-');
    if (dash >= 0 && isDigitRun(sBase.mid(dash + 1))) sBase = sBase.left(dash);
    if (sBase.isEmpty()) sBase = QStringLiteral("key");
    auto used = [&](const QString& key) {
        return persons_.contains(key) || families_.contains(key) || placeKeys_.Exists(key) ||
               viewpoints_.contains(key);
    };
    if (!used(sBase)) return sBase;
    for (int n = 1; n <= 32767; ++n) {
        const QString candidate = sBase + u'-' + QString::number(n);
        if (!used(candidate)) return candidate;
    }
    throw AppError(RuntimeError::Overflow, kSource, QStringLiteral("Overflow"));
}

void SVGTree::InitDirectives(bool bLaunchTDPar, bool bProcessSVGPar, bool bAutoLayoutPar, bool bTopTDPar,
                             bool bBottomTDPar, bool bDragIconPar) {
    launchTD_ = bLaunchTDPar;
    processSVG_ = bProcessSVGPar;
    autoLayout_ = bAutoLayoutPar;
    topTD_ = bTopTDPar;
    bottomTD_ = bBottomTDPar;
    dragIcon_ = bDragIconPar;
}

SVGBoxPtr SVGTree::NewPerson(const QString& sKey, const QString& sText, const QString& sShortText, int iCol, int iRow,
                             const QString& sSex, bool bTent, const QString& sImage, bool bFromFile) {
    if (sKey.isEmpty()) invalid(QStringLiteral("Key name cannot be blank when adding new person"));
    if (!bValidName(sKey)) invalid(kKeyRuleMessage + sKey);
    if (persons_.contains(sKey)) invalid(QStringLiteral("The specified key name is already in use for a different person: ") + sKey);
    if (families_.contains(sKey)) invalid(QStringLiteral("The specified person key name is already in use for a family: ") + sKey);
    auto box = std::make_shared<SVGBox>();
    box->Init(this, sKey, iCol, iRow, sSex, bTent, bFromFile);
    box->SetText(sText);
    box->SetShortText(sShortText);
    box->CheckShortText();
    box->SetImage(sImage);
    persons_.add(sKey, box);
    box->held_ = true;
    // A viewpoint may already name the key.
    for (const auto& kv : viewpoints_)
        if (kv.second->PersonExists(sKey)) box->inViewpoints_.append(kv.second.get());
    SetUnsaved(true);
    SetPendingPFChange();
    return box;
}

void SVGTree::RemPerson(const QString& sKey) {
    if (sKey.isEmpty()) invalid(QStringLiteral("Key name cannot be blank when removing a person"));
    if (!persons_.contains(sKey)) invalid(QStringLiteral("The specified key name is not in use for any person: ") + sKey);
    for (const auto& kv : viewpoints_)
        if (kv.second->RemPerRef(sKey)) SetPendingViewpointPFChange(kv.first);
    if (const SVGBoxPtr* held = persons_.find(sKey); held && *held) (*held)->held_ = false;
    persons_.remove(sKey);
    SetUnsaved(true);
    SetPendingPFChange();
}

QString SVGTree::ChildFamily(const QString& sKey) const {
    const SVGBoxPtr* person = persons_.find(sKey);
    return person ? childFamilyOf(**person) : QString();
}

QString SVGTree::ChildFamily(const SVGBox& oBox) const {
    if (oBox.held_ && oBox.tree_ == this) return childFamilyOf(oBox);
    return ChildFamily(oBox.key_);
}

QString SVGTree::childFamilyOf(const SVGBox& oBox) const {
    // Of the families this tree holds that list the child, the first in
    // family order: the one added first.
    const SVGFamily* best = nullptr;
    for (const SVGFamily* family : oBox.childOf_) {
        if (!family->indexed_ || family->tree_ != this) continue;
        if (!best || family->order_ < best->order_) best = family;
    }
    return best ? best->key_ : QString();
}

QStringList SVGTree::ChildFamilies(const QString& sKey) const {
    const SVGBoxPtr* person = persons_.find(sKey);
    if (!person || !*person) return {};
    QList<const SVGFamily*> held;
    for (const SVGFamily* family : (*person)->childOf_)
        if (family->indexed_ && family->tree_ == this) held.append(family);
    std::sort(held.begin(), held.end(), [](const SVGFamily* a, const SVGFamily* b) { return a->order_ < b->order_; });
    QStringList keys;
    for (const SVGFamily* family : held) keys.append(family->key_);
    return keys;
}

void SVGTree::RemFamily(const QString& sKey) {
    if (sKey.isEmpty()) invalid(QStringLiteral("Key name cannot be blank when removing a family"));
    const SVGFamilyPtr* held = families_.find(sKey);
    if (!held) invalid(QStringLiteral("The specified key name is not in use for any family: ") + sKey);
    const SVGFamilyPtr family = *held;
    for (const auto& kv : viewpoints_)
        if (kv.second->RemFamRef(sKey)) SetPendingViewpointPFChange(kv.first);
    for (const SVGBoxPtr& child : family->children_)
        if (child) child->childOf_.removeOne(family.get());
    for (const SVGBoxPtr& parent : {family->par1_, family->par2_})
        if (parent) parent->parentOf_.removeOne(family.get());
    family->indexed_ = false;
    families_.remove(sKey);
    SetUnsaved(true);
    SetPendingPFChange();
}

SVGFamilyPtr SVGTree::NewFamily(const QString& sKey, const QString& sPar1, const QString& sPar2) {
    if (sKey.isEmpty()) invalid(QStringLiteral("Key name cannot be blank when adding new family"));
    if (!bValidName(sKey)) invalid(kKeyRuleMessage + sKey);
    if (families_.contains(sKey)) invalid(QStringLiteral("The specified key name is already in use for a different family: ") + sKey);
    if (persons_.contains(sKey)) invalid(QStringLiteral("The specified family key name is already in use for a person: ") + sKey);
    const SVGBoxPtr par1 = persons_.value(sPar1);
    const SVGBoxPtr par2 = persons_.value(sPar2);
    if (!par1 || !par2)
        invalid(QStringLiteral("Family ") + sKey + QStringLiteral(" refers to a person who is not in the tree"));
    // Both parents take the key into their family sets; a person named twice
    // would take it twice, which is refused before anything changes.
    for (const SVGBoxPtr& parent : {par1, par2})
        if (parent->GetFamKeys().contains(sKey) || (parent == par2 && par1 == par2))
            raiseError(ErrorOffset::InvalidKey, QStringLiteral("SVGBox"),
                       QStringLiteral("Person ") + parent->GetKey() +
                           QStringLiteral(" is already associated with family ") + sKey);
    auto family = std::make_shared<SVGFamily>();
    family->SetKey(sKey);
    family->Init(this, par1, par2);
    par1->AddFamSet(sKey);
    par2->AddFamSet(sKey);
    family->indexed_ = true;
    family->order_ = ++familiesAdded_;
    families_.add(sKey, family);
    for (const auto& kv : viewpoints_)
        if (kv.second->FamilyExists(sKey)) family->inViewpoints_.append(kv.second.get());
    par1->parentOf_.append(family.get());
    par2->parentOf_.append(family.get());
    SetUnsaved(true);
    SetPendingPFChange();
    return family;
}

void SVGTree::setSetting(const QString& name, const QString& value) { settings_.set(name, value); }
