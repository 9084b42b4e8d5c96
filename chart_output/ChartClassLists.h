#pragma once

#include <QString>

class SVGBox;
class SVGFamily;
class SVGTree;

// The class attribute text of a drawn person or family (members of the tree in
// the design: SVGTree::GetPersonClassList and SVGTree::GetFamilyClassList).
// Starting from the "|"-separated base classes, the header setting named
// sClassType and then the object's local setting of that name add the classes
// not yet present; "??" becomes the object's key, every other "?" the instance
// letter, and the classes are separated by single spaces.
QString GetPersonClassList(const SVGTree& oTree, const SVGBox& oBox, const QString& sClassType,
                           const QString& sBaseClasses);
QString GetFamilyClassList(const SVGTree& oTree, const SVGFamily& oFam, const QString& sClassType,
                           const QString& sBaseClasses);
