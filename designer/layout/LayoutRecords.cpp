#include "LayoutRecords.h"

#include "SVGLayout.h"
#include "foundation/AppError.h"

void LayoutRecords::clear() {
    persons = QVector<LayoutPersonRec>(1);
    families = QVector<LayoutFamilyRec>(1);
    units = QVector<LayoutUnitRec>(1);
    personIndex.clear();
    familyIndex.clear();
    rowHead = rowTail = rowShifts = QVector<int>(1, 0);
    firstEmpty = 1;
    nTrees = 0;
    viewpoint.reset();
    tree = nullptr;
}

void LayoutRecords::raiseSide(int value) {
    throw AppError(
        errorNumber(ErrorOffset::InvalidKey), QString::fromLatin1(SVGLayout::kSource),
        QStringLiteral(
            "The layout needs a grid side of %1 cells; a grid can have at most %2 columns and %2 rows")
            .arg(value)
            .arg(SVGLayout::kMaxGridSide));
}

int LayoutRecords::ensureRow(int row) {
    if (row > SVGLayout::kMaxGridSide) raiseSide(row);
    if (row >= rowHead.size()) {
        rowHead.resize(row + 1);
        rowTail.resize(row + 1);
        rowShifts.resize(row + 1);
    }
    return row;
}
