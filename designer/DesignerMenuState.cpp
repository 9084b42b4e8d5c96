#include "DesignerMenuState.h"

#include "tree_model/SVGTree.h"

DesignerMenuInput DesignerMenuInput::of(const SVGTree& tree, bool keptLayout) {
    DesignerMenuInput in;
    for (const auto& kv : tree.GetViewpoints()) in.viewpoints.append({kv.first, kv.second->GetName()});
    in.usingViewpoints = tree.UsingViewpoints();
    in.viewpointsSetting = tree.GetDisplay()->GetViewpoints();
    in.viewpointShown = tree.GetViewpoint() != nullptr;
    in.keptLayout = keptLayout;
    return in;
}

DesignerMenuState designerMenuState(const DesignerMenuInput& in) {
    DesignerMenuState state;
    state.switchViewpoint.append({QString(), DesignerMenuState::fullTreeCaption()});
    if (in.usingViewpoints) state.switchViewpoint.append(in.viewpoints);
    state.duplicateTree = in.viewpointShown;
    state.revertLayout = in.keptLayout;
    state.adjustLayout = in.keptLayout;
    state.manageViewpoints = in.viewpointsSetting;
    return state;
}
