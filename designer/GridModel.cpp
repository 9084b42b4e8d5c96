#include "GridModel.h"

#include <algorithm>
#include <cmath>

#include <QFileInfo>

#include "foundation/AppError.h"
#include "foundation/Reporter.h"
#include "foundation/StringSets.h"
#include "tree_model/SVGTree.h"
#include "tree_model/TreeText.h"

namespace {
const QString kSource = QStringLiteral("FormGrid");

// Distance from a point to a line segment.
double distanceToSegment(QPointF p, const QLineF& line) {
    const QPointF d = line.p2() - line.p1();
    const double len2 = d.x() * d.x() + d.y() * d.y();
    double t = len2 > 0 ? ((p.x() - line.x1()) * d.x() + (p.y() - line.y1()) * d.y()) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF nearest = line.p1() + t * d;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}
}  // namespace

QString GridModel::veryLargeGridQuestion(int cols, int rows) {
    return QStringLiteral("Are you sure you want to enter with this very large grid requirement (%1,%2)?")
        .arg(cols)
        .arg(rows);
}

SVGDisplay* GridModel::display() const { return tree_ ? tree_->GetDisplay() : nullptr; }

void GridModel::takeTree(SVGTree* oTr) {
    tree_ = oTr;
    takeDisplaySizes();
    takeStockImages();
    geometry_.zoom = 12;
}

void GridModel::takeDisplaySizes() {
    const SVGDisplay* d = display();
    if (!d) return;
    geometry_.boxW = int(std::nearbyint(d->GetBoxW()));
    geometry_.boxH = int(std::nearbyint(d->GetBoxH()));
    geometry_.marginW = int(std::nearbyint(d->GetMarginW()));
    geometry_.marginH = int(std::nearbyint(d->GetMarginH()));
    geometry_.horiz = d->GetHoriz();
    geometry_.stepped = d->GetStepped();
}

void GridModel::takeStockImages() {
    const SVGDisplay* d = display();
    if (!d) return;
    const QString names[4] = {d->StockImageF(), d->StockImageM(), d->StockImageU(), d->StockImageX()};
    for (int i = 0; i < 4; ++i) stock_[i] = tree_->GetPlaceKeys().ExpandURLName(names[i], true, false);
}

void GridModel::readGridSize() {
    int cols = 0, rows = 0;
    tree_->GetGridColRow(cols, rows);
    geometry_.cols = cols;
    geometry_.rows = rows;
}

void GridModel::refuseTooLargeGrid(int cols, int rows) {
    if (cols > GridGeometry::kMaxSide || rows > GridGeometry::kMaxSide)
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("The grid of %1 columns and %2 rows is too large for the Tree Designer, which "
                                  "takes at most %3 columns and %3 rows.")
                       .arg(cols)
                       .arg(rows)
                       .arg(GridGeometry::kMaxSide));
}

void GridModel::refuseTooLargeView(const SVGTree& tree, const QString& sView) {
    int cols = 0, rows = 0;
    if (sView.isEmpty()) {
        tree.GetFullGridColRow(cols, rows);
    } else if (const SVGViewpointPtr viewpoint = tree.GetViewpoints().value(sView)) {
        cols = viewpoint->GetCols();
        rows = viewpoint->GetRows();
    }
    refuseTooLargeGrid(cols, rows);
}

void GridModel::applyGridSizeRule() {
    int& cols = geometry_.cols;
    int& rows = geometry_.rows;
    refuseTooLargeGrid(cols, rows);
    const qint64 cells = qint64(cols) * rows;
    if (cells < 2001 && cols < 101 && rows < 101) return;
    // The size asked about is kept in the tree's stored orientation, so that
    // turning the chart does not ask again.
    const int storedCols = geometry_.horiz ? cols : rows, storedRows = geometry_.horiz ? rows : cols;
    bool yes;
    if (storedCols == askedCols_ && storedRows == askedRows_) {
        yes = askedAnswer_;
    } else {
        const QString question = veryLargeGridQuestion(cols, rows);
        yes = askVeryLargeGrid ? askVeryLargeGrid(question) : (reporter_ && reporter_->askYesNo(question));
        askedCols_ = storedCols;
        askedRows_ = storedRows;
        askedAnswer_ = yes;
    }
    if (yes) return;
    cols = std::min(cols, 100);
    rows = std::min(rows, 100);
    if (qint64(cols) * rows > 2000) {
        const float factor = std::sqrt(2000.0f / float(cols * rows));
        rows = int(std::floor(float(rows) * factor));
        cols = int(std::floor(float(cols) * factor));
    }
}

void GridModel::checkStockImages() {
    static const char* const kWarnings[4] = {
        "Stock female image does not exist: ", "Stock male image does not exist: ",
        "Stock image for unknown/unspecified sex does not exist: ",
        "Stock image for other/indeterminate sex does not exist: "};
    for (int i = 0; i < 4; ++i) {
        if (stock_[i].isEmpty() || QFileInfo(stock_[i]).isFile()) continue;
        if (reporter_) reporter_->warn(QString::fromLatin1(kWarnings[i]) + stock_[i]);
        stock_[i].clear();
    }
}

void GridModel::reportOutsidePerson(bool& first, const QString& key, int col, int row) const {
    if (!reporter_) return;
    if (first) reporter_->warn(QStringLiteral("Logging the coordinates of persons who are now outside the bounds of the grid"));
    first = false;
    reporter_->logLine(QStringLiteral("The coordinates of person %1 (Col %2, Row %3) are outside the bounds of the grid")
                           .arg(key)
                           .arg(col)
                           .arg(row));
}

void GridModel::buildOccupancy() {
    occupancy_.clear();
    PersonDict scratch;
    const PersonDict& persons = tree_->GetViewPersons(scratch);
    bool first = true;
    int order = 0;
    for (auto it = persons.begin(); it != persons.end(); ++it, ++order) {
        int col = 0, row = 0;
        tree_->GetPerColRow(*it->second, col, row);
        const int cell = geometry_.iCellIndex(col, row);
        if (cell == 0)
            reportOutsidePerson(first, it->first, col, row);
        else
            occupancy_.place(it->first, cell, order);
    }
}

void GridModel::prepareGrid() {
    applyGridSizeRule();
    checkStockImages();
    buildOccupancy();
}

CellAppearance GridModel::RenderCell(int iCell, int iCol, int iRow, const QString& sPreferred,
                                     QString& sKeyList) const {
    if (sKeyList == QStringLiteral("?")) sKeyList = occupancy_.keyList(iCell);
    CellAppearance look;
    const bool several = sKeyList.contains(u',');
    const QString shown = !sPreferred.isEmpty() ? sPreferred
                          : several             ? sSetItem(sKeyList, 1, QStringLiteral(","))
                                                : sKeyList;
    const SVGBoxPtr person = sKeyList.isEmpty() ? nullptr : tree_->GetPersons().value(shown);
    if (!person) {
        look.caption = QStringLiteral("(%1,%2)").arg(iCol).arg(iRow);
        return look;
    }
    look.occupied = true;
    look.tag = person->GetKey();
    const QString sex = person->GetSex();
    QString image = person->GetImage();
    if (image.isEmpty()) {
        static const QString sexes[4] = {QStringLiteral("f"), QStringLiteral("m"), QStringLiteral("u"),
                                         QStringLiteral("x")};
        for (int i = 0; i < 4; ++i)
            if (sex == sexes[i]) image = stock_[i];
    }
    if (display()->GetImagePart() <= 0 || image.isEmpty()) {
        look.caption = person->GetDisplayText();
    } else {
        look.caption = person->GetDisplayShortText();
        look.image = tree_->GetPlaceKeys().ExpandURLName(image, true, false);
    }
    const bool root = tree_->GetRootPerson().get() == person.get();
    look.borderColour = root ? GridColour::kRootBorder : GridColour::kBlack;
    look.borderWidth = root ? 4 : 1;
    if (several)
        look.backColour = GridColour::kConflict;
    else if (sex == QStringLiteral("m"))
        look.backColour = GridColour::kMale;
    else if (sex == QStringLiteral("f"))
        look.backColour = GridColour::kFemale;
    else
        look.backColour = GridColour::kOtherSex;
    look.foreColour = GridColour::kBlack;
    return look;
}

CellAppearance GridModel::renderCell(int iCell) const {
    int col = 0, row = 0;
    geometry_.GetCellColRow(iCell, col, row);
    QString keys = QStringLiteral("?");
    return RenderCell(iCell, col, row, QString(), keys);
}

bool GridModel::isCellMarked(int iCell) const {
    if (selection_.isEmpty()) return false;
    for (const QString& key : occupancy_.keysAt(iCell))
        if (selection_.contains(key)) return true;
    return false;
}

void GridModel::iCellOfPerson(const QString& key, int& iCol, int& iRow, int& iCell) const {
    tree_->GetPerColRow(key, iCol, iRow);
    iCell = geometry_.iCellIndex(iCol, iRow);
}

CellRef GridModel::cellOf(const SVGBox& person) const {
    CellRef cell;
    tree_->GetPerColRow(person, cell.C, cell.R);
    cell.L = geometry_.iCellIndex(cell.C, cell.R);
    return cell;
}

CellRef GridModel::cellOfPerson(const QString& key) const {
    CellRef cell;
    iCellOfPerson(key, cell.C, cell.R, cell.L);
    return cell;
}

int GridModel::viewOrder(const QString& key) const {
    if (const SVGViewpointPtr view = tree_->GetViewpoint()) return view->GetPerDict().indexOf(key);
    return tree_->GetPersons().indexOf(key);
}

std::pair<int, int> GridModel::refreshPerson(const QString& key) {
    const int old = occupancy_.cellOf(key);
    int cell = 0;
    const int order = viewOrder(key);
    if (order >= 0) cell = cellOfPerson(key).L;
    occupancy_.place(key, cell, order);
    return {old, cell};
}

// ---- Link records

bool GridModel::BuildFamilyRecords(bool bNoLog) {
    records_.clear();
    PersonDict scratch;
    const PersonDict& persons = tree_->GetViewPersons(scratch);
    bool outside = false, first = true;
    for (auto it = persons.begin(); it != persons.end(); ++it) {
        it->second->ResetRelatedSpouses();
        int col = 0, row = 0;
        tree_->GetPerColRow(*it->second, col, row);
        if (geometry_.iCellIndex(col, row) != 0) continue;
        outside = true;
        if (!bNoLog) reportOutsidePerson(first, it->first, col, row);
    }
    if (outside) return false;

    FamilyDict familyScratch;
    const FamilyDict& families = tree_->GetViewFamilies(familyScratch);
    for (auto it = families.begin(); it != families.end(); ++it) {
        SVGFamily& family = *it->second;
        const int i = AddFamilyRecord(it->first, family);
        if (i == 0) continue;
        bool missing = false;
        for (const SVGBoxPtr& child : family.GetChildren()) {
            if (persons.contains(child->GetKey()))
                AddChildRecord(i, *child);
            else
                missing = true;
        }
        if (missing) records_.setMoreChildren2(i, true);
    }
    return true;
}

int GridModel::AddFamilyRecord(const QString& key, SVGFamily& oFam) {
    SVGBoxPtr first = oFam.GetFirstPar(), second = oFam.GetSecPar();
    if (!first || !second) return 0;
    if (geometry_.horiz ? second->GetXR() < first->GetXL() : second->GetYB() < first->GetYT()) std::swap(first, second);
    FamilyRecord record;
    record.LCR1 = cellOf(*first);
    record.LCR2 = cellOf(*second);
    if (record.LCR1.L == 0 || record.LCR2.L == 0) return 0;
    record.Key1 = first->GetKey();
    record.Key2 = second->GetKey();
    const StringDict& settings = oFam.GetLocSettings();
    const QString hide = QStringLiteral("HideLinks");
    record.bChildrenHidden = settings.contains(hide) && toBoolean(settings.value(hide), kSource);
    record.bMoreChildren = oFam.GetMoreChildren();
    record.bLiaison = oFam.GetLiaison();
    record.bRelatedSpouses = iSetCount(first->GetRelatedSpouses(), QStringLiteral(",")) >= 3;
    record.Key = key;
    return records_.addFamily(record);
}

int GridModel::AddChildRecord(int iFamily, const SVGBox& oChild) {
    ChildRecord record;
    record.iFamily = iFamily;
    record.LCR = cellOf(oChild);
    record.bTentative = oChild.GetTentative();
    record.Key = oChild.GetKey();
    return records_.addChild(record);
}

QList<int> GridModel::RedrawPersonLinks(const QString& key, int iCell, int iCol, int iRow) {
    if (key.isEmpty()) return {};
    const QList<int> families = records_.familiesOfParent(key);
    for (int i : families) records_.setParentCell(i, key, {iCell, iCol, iRow});
    return families;
}

QLineF GridModel::familyLine(int iFamily) const {
    const FamilyRecord& r = records_.family(iFamily);
    CellRef a = r.LCR1, b = r.LCR2;
    const double w = geometry_.linkBoxWidth(), h = geometry_.linkBoxHeight();
    if (geometry_.horiz) {
        if (a.C > b.C) std::swap(a, b);
        return QLineF(double(geometry_.GetCellX(a.C, a.R)) + w, double(geometry_.GetCellY(a.C, a.R)) + h / 2,
                      double(geometry_.GetCellX(b.C, b.R)), double(geometry_.GetCellY(b.C, b.R)) + h / 2);
    }
    if (a.R > b.R) std::swap(a, b);
    return QLineF(double(geometry_.GetCellX(a.C, a.R)) + w / 2, double(geometry_.GetCellY(a.C, a.R)) + h,
                  double(geometry_.GetCellX(b.C, b.R)) + w / 2, double(geometry_.GetCellY(b.C, b.R)));
}

QPointF GridModel::circleCentre(int iFamily) const {
    const FamilyRecord& r = records_.family(iFamily);
    CellRef a = r.LCR1, b = r.LCR2;
    const double w = geometry_.linkBoxWidth(), h = geometry_.linkBoxHeight();
    if (r.bRelatedSpouses) {
        if (geometry_.horiz && a.R == b.R && std::abs(a.C - b.C) >= 2) {
            if (a.C > b.C) std::swap(a, b);
            const double nearEdge = double(geometry_.GetCellX(b.C, b.R));
            const double facing = double(geometry_.GetCellX(b.C - 1, b.R)) + w;
            return QPointF((nearEdge + facing) / 2, double(geometry_.GetCellY(b.C, b.R)) + h / 2);
        }
        if (!geometry_.horiz && a.C == b.C && std::abs(a.R - b.R) >= 2) {
            if (a.R > b.R) std::swap(a, b);
            const double nearEdge = double(geometry_.GetCellY(b.C, b.R));
            const double facing = double(geometry_.GetCellY(b.C, b.R - 1)) + h;
            return QPointF(double(geometry_.GetCellX(b.C, b.R)) + w / 2, (nearEdge + facing) / 2);
        }
    }
    return familyLine(iFamily).center();
}

QRectF GridModel::circleRect(int iFamily) const {
    const double size = geometry_.circleSize();
    const QPointF c = circleCentre(iFamily);
    return QRectF(c.x() - size / 2, c.y() - size / 2, size, size);
}

QLineF GridModel::childLine(int iChild) const {
    const ChildRecord& r = records_.child(iChild);
    const double x = double(geometry_.GetCellX(r.LCR.C, r.LCR.R)), y = double(geometry_.GetCellY(r.LCR.C, r.LCR.R));
    const QPointF anchor = geometry_.horiz ? QPointF(x + geometry_.linkBoxWidth() / 2, y)
                                           : QPointF(x, y + geometry_.linkBoxHeight() / 2);
    return QLineF(circleCentre(r.iFamily), anchor);
}

int GridModel::iCircleAtPoint(double X, double Y) const {
    const auto& families = records_.atFamily();
    for (size_t i = 1; i < families.size(); ++i) {
        if (!families[i].inUse()) continue;
        const QRectF rect = circleRect(int(i));
        if (X >= rect.left() && X < rect.right() && Y >= rect.top() && Y < rect.bottom()) return int(i);
    }
    return 0;
}

int GridModel::iChildLineAtPoint(double X, double Y, double tolerance) const {
    const auto& children = records_.atChild();
    for (size_t i = 1; i < children.size(); ++i) {
        if (!children[i].inUse() || records_.family(children[i].iFamily).bChildrenHidden) continue;
        if (distanceToSegment(QPointF(X, Y), childLine(int(i))) <= tolerance) return int(i);
    }
    return 0;
}

// ---- Selection

QList<int> GridModel::ClearSelection() {
    QList<int> cells;
    for (const QString& key : selection_.keys()) {
        const int cell = cellOfPerson(key).L;
        if (cell > 0 && !cells.contains(cell)) cells.append(cell);
    }
    selection_.clear();
    return cells;
}

int GridModel::ToggleSelect(const QString& key) {
    if (key.isEmpty()) return 0;
    const int cell = cellOfPerson(key).L;
    if (cell == 0 || !occupancy_.isOccupied(cell)) return 0;
    if (!selection_.remove(key)) selection_.add(key);
    return cell;
}

int GridModel::SelectPerson(const QString& key) {
    if (key.isEmpty()) return 0;
    const int cell = cellOfPerson(key).L;
    if (cell == 0 || !occupancy_.isOccupied(cell) || selection_.contains(key)) return 0;
    selection_.add(key);
    return cell;
}

QString GridModel::sSortedSelection() const {
    return selection_.sorted(geometry_.horiz, [this](const QString& key, int& col, int& row) {
        tree_->GetPerColRow(key, col, row);
    });
}

QStringList GridModel::DiagDrawing() const {
    QStringList lines;
    auto cell = [](const CellRef& c) { return QStringLiteral("(%1,%2,%3)").arg(c.L).arg(c.C).arg(c.R); };
    auto flag = [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); };
    const auto& families = records_.atFamily();
    for (size_t i = 1; i < families.size(); ++i) {
        const FamilyRecord& r = families[i];
        if (!r.inUse()) continue;
        lines << QStringLiteral("atFamily(%1):").arg(i);
        lines << QStringLiteral("\tKey=") + r.Key;
        lines << QStringLiteral("\tLCR1=") + cell(r.LCR1);
        lines << QStringLiteral("\tLCR2=") + cell(r.LCR2);
        lines << QStringLiteral("\tKey1=%1, Key2=%2").arg(r.Key1, r.Key2);
        lines << QStringLiteral("\tbChildrenHidden=%1, bMoreChildren=%2, bMoreChildren2=%3, bLiaison=%4, bRelatedSpouses=%5")
                     .arg(flag(r.bChildrenHidden), flag(r.bMoreChildren), flag(r.bMoreChildren2), flag(r.bLiaison),
                          flag(r.bRelatedSpouses));
    }
    const auto& children = records_.atChild();
    for (size_t i = 1; i < children.size(); ++i) {
        const ChildRecord& r = children[i];
        if (!r.inUse()) continue;
        lines << QStringLiteral("atChild(%1):").arg(i);
        lines << QStringLiteral("\tKey=%1, bTentative=%2, LCR=%3").arg(r.Key, flag(r.bTentative), cell(r.LCR));
        lines << QStringLiteral("\tiFamily=%1").arg(r.iFamily);
    }
    return lines;
}
