#pragma once

#include <array>

#include <QList>
#include <QString>
#include <QStringList>

#include "foundation/OrderedDict.h"

class Reporter;
class SVGApplications;
class SVGTree;

// The tree settings dialog's form: the tree's title, its fourteen chart
// switches, the share of a person box given to its picture, the designer grid
// size (the current viewpoint's own when one is open) and the four stock
// pictures. load() fills the fields from a tree; accept() checks every field
// in a fixed order and, only when all pass, writes them back in that order.
class TreeSettingsModel {
public:
    // One chart switch: its setting key and the state shown when the key is absent.
    struct Switch {
        QString key;
        bool defaultOn = false;
    };
    // One stock picture: the place key chosen (empty for none) and the path.
    struct StockImage {
        QString placeKey;
        QString path;
    };

    // The switches in the order they are shown and written.
    static const QList<Switch>& switches();
    // Index in switches() of a key; -1 for a key that is no switch.
    static int switchIndex(const QString& key);
    // The switches that have a meaning only in HTML charts (disabled while
    // "SVGFile" is ticked, their states kept).
    static bool isHtmlOnly(const QString& key);
    // The setting keys of the four stock pictures (female, male, unknown, other).
    static const std::array<QString, 4>& stockKeys();

    static constexpr int kMaxGridSide = 100;
    static constexpr int kMaxGridBoxes = 2000;

    QString title;
    QList<bool> switchOn;  // one per switches()
    QString imagePart;
    QString cols;
    QString rows;
    // The grid size as load() showed it. A side left as shown is taken as the
    // tree has it, unchecked: a tree exported from a GEDCOM file is often
    // wider than the sides and boxes a user may type here.
    QString shownCols;
    QString shownRows;
    std::array<StockImage, 4> stock;
    // The choices of the place-key boxes: empty when the tree has no place
    // keys, else a blank entry followed by every key in the table's order.
    QStringList placeChoices;

    // Fills the fields from the tree. A stock picture that names a place key
    // the tree does not define is warned about and shown without its key.
    void load(const SVGTree& tree, Reporter& reporter);

    // The first field that fails its check, as the message to show; empty
    // when every field passes. Only typed grid sides are checked: each
    // against 1..kMaxGridSide, and their product against kMaxGridBoxes when
    // both were typed (a side kept as shown is no part of the product check;
    // the designer itself asks before it opens a very large grid).
    QString problem() const;

    // Checks every field; on the first failure reports it and returns false
    // with the tree unchanged. Otherwise writes the title, the switches (the
    // applications of "InfoPanels" and "Timeline" enabled with them), the
    // picture share, the grid size and the stock pictures, and returns true.
    bool accept(SVGTree& tree, const SVGApplications& apps, Reporter& reporter) const;

    // The stock-picture setting text of a place key and path.
    static QString stockImageText(const StockImage& image);
    // A stored stock-picture setting split into place key and path.
    static StockImage splitStockImage(const QString& value);
};
