#include "FindPersonModel.h"

#include "tree_model/SVGTree.h"

FindPersonModel::FindPersonModel() { filter_.setList(&list_); }

void FindPersonModel::open(const SVGTree& tree) {
    tree_ = &tree;
    chosen_.clear();
    newView_ = tree.GetViewpointKey();
    menuKeys_.clear();
    list_.fill(tree);
    filter_.setPartialName(QString(), false);
}

void FindPersonModel::close() {
    tree_ = nullptr;
    list_.clear();
    filter_.setPartialName(QString(), false);
}

void FindPersonModel::setPartialName(const QString& partial) {
    if (list_.count() > 0) filter_.setPartialName(partial, list_.byKey());
}

void FindPersonModel::setByKey(bool byKey) { filter_.setPartialName(filter_.partialName(), byKey); }

bool FindPersonModel::clickRow(int row) {
    const int tag = filter_.tagOf(row);
    if (tag < 0 || list_.isOutside(tag)) return false;
    chosen_ = list_.key(tag);
    return true;
}

QList<ViewpointMenuEntry> FindPersonModel::viewpointMenu(int row) {
    menuKeys_.clear();
    const int tag = filter_.tagOf(row);
    if (tag < 0 || !tree_) return {};
    chosen_ = list_.key(tag);
    QList<ViewpointMenuEntry> menu = {{QString(), DesignerMenuState::fullTreeCaption()}};
    const SVGBoxPtr person = tree_->GetPersons().value(chosen_);
    const QString held = person ? tree_->GetPersonViewpoints(*person) : QString();
    if (!held.isEmpty()) menuKeys_ = held.split(u',');
    for (const QString& key : menuKeys_) {
        const SVGViewpointPtr view = tree_->GetViewpoints().value(key);
        menu.append({key, view ? view->GetName() : key});
    }
    return menu;
}

void FindPersonModel::chooseViewpoint(int id) {
    if (id == 1)
        newView_.clear();
    else if (id >= 2 && id - 2 < menuKeys_.size())
        newView_ = menuKeys_[id - 2];
}
