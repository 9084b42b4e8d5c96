#include "ViewpointManagerModel.h"

#include <exception>

#include "AppError.h"
#include "PersonDetailsParagraph.h"
#include "Reporter.h"
#include "StringSets.h"
#include "TextHelpers.h"
#include "tree_model/SVGBox.h"
#include "tree_model/SVGFamily.h"
#include "tree_model/SVGTree.h"
#include "tree_model/SVGViewpointClass.h"

namespace {

const QString kSource = QStringLiteral("FormViewpoints");
const QString kLF = QStringLiteral("\n");
const QString kComma = QStringLiteral(",");

[[noreturn]] void invalid(const QString& text) {
    raiseError(ErrorOffset::InvalidKey, kSource, text);
}

}  // namespace

const QString ViewpointManagerModel::kNoDetails = QStringLiteral("No viewpoint details");
const QString ViewpointManagerModel::kUnnamedPerson = QStringLiteral("(Unnamed Person)");
const QString ViewpointManagerModel::kUnnamedChild = QStringLiteral("(Unnamed Child)");
const QString ViewpointManagerModel::kKeyRuleMessage = QStringLiteral(
    "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic): ");
const QString ViewpointManagerModel::kAlreadyDefinedMessage =
    QStringLiteral("The specified viewpoint key name is already defined: ");

ViewpointManagerModel::ViewpointManagerModel(QObject* parent) : QObject(parent) {
    for (auto& l : lists_) l = new ViewpointListModel(this);
}

ViewpointManagerModel::~ViewpointManagerModel() = default;

// ---- The tree

bool ViewpointManagerModel::bind(std::shared_ptr<SVGTree> tree) {
    const bool other = tree != tree_;
    if (other) {
        if (tree_) disconnect(tree_.get(), nullptr, this, nullptr);
        tree_ = std::move(tree);
        currentKey_.clear();
        if (tree_) {
            SVGTree* t = tree_.get();
            connect(t, &SVGTree::ViewpointDeleted, this, &ViewpointManagerModel::oTree_ViewpointDeleted);
            connect(t, &SVGTree::ViewpointRenamed, this, &ViewpointManagerModel::oTree_ViewpointRenamed);
            connect(t, &SVGTree::ViewpointPFChange, this, &ViewpointManagerModel::oTree_ViewpointPFChange);
            connect(t, &SVGTree::PFChange, this, &ViewpointManagerModel::oTree_PFChange);
            connect(t, &SVGTree::PersonDetails, this, &ViewpointManagerModel::oTree_PersonDetails);
            connect(t, &SVGTree::FamilyDetails, this, &ViewpointManagerModel::oTree_FamilyDetails);
        }
    }
    BuildNameIndex();
    clearDependents();
    FillPersonList();
    return other;
}

SVGTree& ViewpointManagerModel::heldTree() const {
    if (!tree_) invalid(QStringLiteral("No tree is being managed"));
    return *tree_;
}

QStringList ViewpointManagerModel::viewpointKeys() const {
    return tree_ ? tree_->GetViewpoints().keys() : QStringList();
}

// ---- The lists

void ViewpointManagerModel::BuildNameIndex() {
    if (tree_)
        names_.build(tree_->GetPersons());
    else
        names_.clear();
}

int ViewpointManagerModel::iPersonDoneState(const SVGBox& oBox) const {
    const SVGTree& tree = heldTree();
    if (!tree.IsPersonInViewpoint(oBox)) return 0;
    const KeySet& families = oBox.GetFamKeys();
    for (int i = 0; i < families.count(); ++i)
        if (!tree.IsFamilyInViewpoint(families.at(i))) return 1;
    return 2;
}

bool ViewpointManagerModel::admitted(int state) const {
    if (state == 1) return !hidePersonDone_;
    if (state == 2) return !hidePersonDone_ && !hidePersonFamiliesDone_;
    return true;
}

ViewpointListEntry ViewpointManagerModel::entryFor(const SVGBox& oBox, const QString& caption) const {
    ViewpointListEntry e;
    e.key = oBox.GetKey();
    e.caption = caption;
    e.tag = names_.indexOf(e.key);
    e.state = iPersonDoneState(oBox);
    return e;
}

void ViewpointManagerModel::clearDependents() {
    lists_[SpouseList]->clear();
    lists_[ChildList]->clear();
    selected_[SpouseList] = selected_[ChildList] = -1;
}

void ViewpointManagerModel::FillPersonList() {
    std::vector<ViewpointListEntry>& entries = spare_;
    entries.clear();
    selected_[PersonList] = -1;
    if (tree_) {
        const PersonDict& persons = tree_->GetPersons();
        // An index that does not fit the tree (persons added or removed while
        // their event is still pending) is rebuilt rather than misread.
        if (names_.count() != persons.count()) BuildNameIndex();
        if (!names_.isEmpty()) {
            const std::vector<bool> matches = names_.matches(partialName_);
            for (int i = 0; i < names_.count(); ++i) {
                if (!matches[static_cast<std::size_t>(i)]) continue;
                const SVGBoxPtr& box = persons.valueAt(i);
                if (!box) continue;
                const int state = iPersonDoneState(*box);
                if (!admitted(state)) continue;
                const QString& text = names_.text(i);
                entries.push_back({text.isEmpty() ? kUnnamedPerson : text, persons.keyAt(i), i, state, {}});
            }
        }
    }
    lists_[PersonList]->swapEntries(entries);
    spare_.clear();
    Q_EMIT selectionsChanged();
}

void ViewpointManagerModel::RefreshLists() {
    const int row = selected_[PersonList];
    const QString key = row >= 0 ? lists_[PersonList]->entry(row).key : QString();
    FillPersonList();
    clearDependents();
    if (!key.isEmpty()) {
        const int again = lists_[PersonList]->rowOfKey(key);
        if (again >= 0) selectPerson(again);
    }
    Q_EMIT selectionsChanged();
}

void ViewpointManagerModel::setPartialName(const QString& text) {
    partialName_ = text;
    FillPersonList();
    clearDependents();
    Q_EMIT selectionsChanged();
}

void ViewpointManagerModel::setHidePersonDone(bool hide) {
    hidePersonDone_ = hide;
    RefreshLists();
}

void ViewpointManagerModel::setHidePersonFamiliesDone(bool hide) {
    hidePersonFamiliesDone_ = hide;
    RefreshLists();
}

SVGFamilyPtr ViewpointManagerModel::familyOf(const QString& sKey) const {
    const SVGFamilyPtr* family = heldTree().GetFamilies().find(sKey);
    if (!family || !*family)
        invalid(QStringLiteral("The family with key ") + sKey + QStringLiteral(" is not in the tree"));
    return *family;
}

void ViewpointManagerModel::selectPerson(int row) {
    if (row < 0 || row >= lists_[PersonList]->count()) return;
    selected_[PersonList] = row;
    clearDependents();
    const SVGBoxPtr person = selectedBox(PersonList);
    std::vector<ViewpointListEntry> spouses;
    const KeySet& families = person->GetFamKeys();
    for (int i = 0; i < families.count(); ++i) {
        const SVGFamilyPtr family = familyOf(families.at(i));
        const SVGBoxPtr spouse =
            family->GetFirstPar() == person ? family->GetSecPar() : family->GetFirstPar();
        if (!spouse) continue;
        const QString text = spouse->GetDisplayText();
        ViewpointListEntry e = entryFor(*spouse, text.isEmpty() ? kUnnamedPerson : text);
        if (!admitted(e.state)) continue;
        e.family = families.at(i);
        spouses.push_back(std::move(e));
    }
    lists_[SpouseList]->setEntries(std::move(spouses));
    Q_EMIT selectionsChanged();
}

void ViewpointManagerModel::selectSpouse(int row) {
    if (row < 0 || row >= lists_[SpouseList]->count()) return;
    selected_[SpouseList] = row;
    lists_[ChildList]->clear();
    selected_[ChildList] = -1;
    const SVGFamilyPtr family = sharedFamily();
    std::vector<ViewpointListEntry> children;
    for (const SVGBoxPtr& child : family->GetChildren()) {
        if (!child) continue;
        const QString text = child->GetDisplayText();
        ViewpointListEntry e = entryFor(*child, text.isEmpty() ? kUnnamedChild : text);
        if (admitted(e.state)) children.push_back(std::move(e));
    }
    lists_[ChildList]->setEntries(std::move(children));
    Q_EMIT selectionsChanged();
}

void ViewpointManagerModel::selectChild(int row) {
    if (row < 0 || row >= lists_[ChildList]->count()) return;
    selected_[ChildList] = row;
    Q_EMIT selectionsChanged();
}

const ViewpointListEntry& ViewpointManagerModel::selectedEntry(List which) const {
    static const char* const names[] = {"person", "spouse", "child"};
    const int row = selected_[which];
    if (row < 0 || row >= lists_[which]->count())
        invalid(QStringLiteral("No ") + QLatin1String(names[which]) + QStringLiteral(" is selected"));
    return lists_[which]->entry(row);
}

SVGBoxPtr ViewpointManagerModel::selectedBox(List which) const {
    const ViewpointListEntry& e = selectedEntry(which);
    const SVGBoxPtr* person = heldTree().GetPersons().find(e.key);
    if (!person || !*person)
        invalid(QStringLiteral("The person with key ") + e.key + QStringLiteral(" is no longer in the tree"));
    return *person;
}

SVGFamilyPtr ViewpointManagerModel::sharedFamily() const {
    // The spouse entry names its family; the person must still be selected.
    selectedBox(PersonList);
    const ViewpointListEntry& spouse = selectedEntry(SpouseList);
    return familyOf(spouse.family);
}

// ---- Viewpoints

ViewpointManagerModel::Details ViewpointManagerModel::ShowViewpointDetails(const QString& sKey) {
    currentKey_ = sKey;
    if (sKey.isEmpty()) return {QString(), kNoDetails};
    const SVGViewpointPtr viewpoint = heldTree().GetViewpoints().value(sKey);
    if (!viewpoint)
        invalid(QStringLiteral("The specified key name is not in use for any viewpoint: ") + sKey);
    return {viewpoint->GetName(),
            QStringLiteral("Viewpoint ") + sKey + QStringLiteral(" has ") +
                QString::number(viewpoint->GetPerDict().count()) + QStringLiteral(" persons and ") +
                QString::number(iSetCount(viewpoint->GetFamSet(), kComma)) + QStringLiteral(" families")};
}

QString ViewpointManagerModel::AddViewpoint(const QString& sKey, const QString& sName) {
    SVGTree& tree = heldTree();
    if (!bValidName(sKey)) invalid(kKeyRuleMessage + sKey);
    if (tree.GetViewpoints().contains(sKey)) invalid(kAlreadyDefinedMessage + sKey);
    const QString name = sName.isEmpty() ? sKey : sName;
    tree.AddViewpoint(sKey, name, 12, 8);
    return name;
}

QString ViewpointManagerModel::DeleteQuestion() const {
    const SVGViewpointPtr viewpoint = heldTree().GetViewpoints().value(currentKey_);
    const QString name = viewpoint ? viewpoint->GetName() : currentKey_;
    return QStringLiteral("Are you sure you want to delete viewpoint '") + name + QStringLiteral("'?");
}

void ViewpointManagerModel::DeleteViewpoint() {
    // The tree may raise its event into windows that close this one: hold
    // the tree for the length of the call.
    const std::shared_ptr<SVGTree> tree = tree_;
    if (!tree) heldTree();
    tree->DeleteViewpoint(currentKey_);
}

bool ViewpointManagerModel::RenameViewpoint(const QString& sNewKey, const QString& sName) {
    if (currentKey_.isEmpty() || sNewKey.isEmpty()) return false;
    SVGTree& tree = heldTree();
    const bool changed = sNewKey != currentKey_;
    if (changed) {
        if (!bValidName(sNewKey)) invalid(kKeyRuleMessage + sNewKey);
        if (tree.GetViewpoints().contains(sNewKey)) invalid(kAlreadyDefinedMessage + sNewKey);
    }
    tree.RenameViewpoint(currentKey_, sNewKey, sName);
    return changed;
}

// ---- Context menus

bool ViewpointManagerModel::isPlaceholderCaption(const QString& caption) {
    return caption.startsWith(u'(') && caption.endsWith(u')');
}

SVGBoxPtr ViewpointManagerModel::oGetParent(const SVGBox* oBox, bool bFather) const {
    if (!oBox) return {};
    const SVGTree& tree = heldTree();
    const QString familyKey = tree.ChildFamily(*oBox);
    if (familyKey.isEmpty()) return {};
    const SVGFamilyPtr family = tree.GetFamilies().value(familyKey);
    if (!family) return {};
    const SVGBoxPtr first = family->GetFirstPar();
    const bool firstIsFather = first && first->GetSex() == u"m";
    // A first parent who is not male is not taken as the father, so the
    // mother is then that first parent, never the same one as the father.
    if (bFather) return firstIsFather ? first : family->GetSecPar();
    return firstIsFather ? family->GetSecPar() : first;
}

ViewpointManagerModel::MenuState ViewpointManagerModel::menuState(List which) const {
    MenuState state;
    if (which == PersonList || which == SpouseList) {
        const SVGBoxPtr box = selectedBox(which);
        state.selectFather = oGetParent(box.get(), true) != nullptr;
        state.selectMother = oGetParent(box.get(), false) != nullptr;
    }
    if (which == SpouseList || which == ChildList)
        state.selectCaption = !isPlaceholderCaption(selectedEntry(which).caption);
    return state;
}

QString ViewpointManagerModel::sViewpointNames(const QString& sKeys) const {
    const ViewpointDict& viewpoints = heldTree().GetViewpoints();
    QStringList names;
    if (!sKeys.isEmpty())
        for (const QString& key : sKeys.split(u',')) {
            const SVGViewpointPtr viewpoint = viewpoints.value(key);
            if (!viewpoint)
                invalid(QStringLiteral("The specified key name is not in use for any viewpoint: ") + key);
            names << u'\'' + viewpoint->GetName() + u'\'';
        }
    return names.join(QStringLiteral(", "));
}

QString ViewpointManagerModel::sGetMembershipText(const SVGBox& oBox) const {
    const SVGTree& tree = heldTree();
    const QString keys = tree.GetPersonViewpoints(oBox);
    if (keys.isEmpty()) return QStringLiteral("Person not present in any viewpoints");
    QString text = (iSetCount(keys, kComma) == 1 ? QStringLiteral("Person present in viewpoint ")
                                                 : QStringLiteral("Person present in viewpoints ")) +
                   sViewpointNames(keys);
    const KeySet& families = oBox.GetFamKeys();
    for (int i = 0; i < families.count(); ++i) {
        const QString& familyKey = families.at(i);
        const QString held = tree.GetFamilyViewpoints(*familyOf(familyKey));
        QString line = QStringLiteral("Spousal family ") + familyKey;
        if (held.isEmpty())
            line += QStringLiteral(" not present in any viewpoints");
        else
            line += (iSetCount(held, kComma) == 1 ? QStringLiteral(" present in viewpoint ")
                                                  : QStringLiteral(" present in viewpoints ")) +
                    sViewpointNames(held);
        text = sSetJoin(text, line, kLF);
    }
    return text;
}

QString ViewpointManagerModel::detailsText(List which) const {
    const SVGBoxPtr box = selectedBox(which);
    const QString tooltips = box->GetTooltips().join(kLF);
    if (which == SpouseList)
        return sPersonDetailsParagraph(box->GetDisplayText(), tooltips,
                                       sharedFamily()->GetTooltips().join(kLF), sGetMembershipText(*box));
    return sPersonDetailsParagraph(box->GetDisplayText(), tooltips, sGetMembershipText(*box), QString());
}

std::optional<QString> ViewpointManagerModel::parentCaption(List which, bool bFather) const {
    const SVGBoxPtr parent = oGetParent(selectedBox(which).get(), bFather);
    if (!parent) return std::nullopt;
    return parent->GetDisplayText();
}

std::optional<QString> ViewpointManagerModel::entryCaption(List which) const {
    const QString caption = selectedEntry(which).caption;
    if (caption.isEmpty() || isPlaceholderCaption(caption)) return std::nullopt;
    return caption;
}

QString ViewpointManagerModel::copyPerson() const {
    return heldTree().PackKeys(QStringLiteral("SVG-KP"), selectedBox(PersonList)->GetKey());
}

QString ViewpointManagerModel::copyPersonAndAllSpouses() const {
    const SVGBoxPtr person = selectedBox(PersonList);
    const QString families = person->GetFamSet();
    if (families.isEmpty()) return copyPerson();
    return heldTree().PackKeys(QStringLiteral("SVG-KF0"), families);
}

QString ViewpointManagerModel::copyPersonAndSpouse() const {
    return heldTree().PackKeys(QStringLiteral("SVG-KF0"), sharedFamily()->GetKey());
}

QString ViewpointManagerModel::copyPersonSpouseAndChildren() const {
    return heldTree().PackKeys(QStringLiteral("SVG-KF"), sharedFamily()->GetKey());
}

QString ViewpointManagerModel::copyChild() const {
    return heldTree().PackKeys(QStringLiteral("SVG-KP"), selectedBox(ChildList)->GetKey());
}

// ---- The tree's events

template <class F>
void ViewpointManagerModel::handleEvent(F&& refresh) {
    try {
        refresh();
    } catch (const AppError& error) {
        if (reporter_) reporter_->warn(error.description);
    } catch (const std::exception& error) {
        if (reporter_) reporter_->warn(QString::fromLocal8Bit(error.what()));
    }
}

void ViewpointManagerModel::oTree_ViewpointDeleted(const QString&) {
    handleEvent([this] { RefreshLists(); });
}

void ViewpointManagerModel::oTree_ViewpointRenamed(const QString&, const QString&) {}

void ViewpointManagerModel::oTree_ViewpointPFChange(const QString&) {
    handleEvent([this] { RefreshLists(); });
}

void ViewpointManagerModel::oTree_PFChange() {
    handleEvent([this] {
        BuildNameIndex();
        RefreshLists();
    });
}

void ViewpointManagerModel::oTree_PersonDetails(const QString& sKey) {
    handleEvent([this, &sKey] {
        // Only that person's words change: its entry is taken in again,
        // unless the index does not know it.
        const SVGBoxPtr* person = tree_ ? tree_->GetPersons().find(sKey) : nullptr;
        if (!person || !*person || !names_.update(**person)) BuildNameIndex();
        RefreshLists();
    });
}

void ViewpointManagerModel::oTree_FamilyDetails(const QString&) {
    handleEvent([this] { RefreshLists(); });
}
