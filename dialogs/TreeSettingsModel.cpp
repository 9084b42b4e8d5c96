#include "TreeSettingsModel.h"

#include <functional>

#include "PlaceKeyClass.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "SVGViewpointClass.h"
#include "SettingWrites.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"

namespace {
const QString kTitle = QStringLiteral("Title");
const QString kImagePart = QStringLiteral("ImagePart");
const QString kDesCols = QStringLiteral("DesCols");
const QString kDesRows = QStringLiteral("DesRows");
// The switches that are also interactive applications of the same id.
const QString kInfoPanels = QStringLiteral("InfoPanels");
const QString kTimeline = QStringLiteral("Timeline");
// How the messages name each stock picture.
const std::array<QString, 4> kStockNames = {QStringLiteral("Female"), QStringLiteral("Male"),
                                            QStringLiteral("Unknown"), QStringLiteral("Other")};

// Checks a grid side: the number, or a message.
QString gridSideProblem(const QString& text, const QString& what, int& value) {
    if (!wholeGridNumber(text, value))
        return QStringLiteral("Number of Tree Designer grid ") + what + QStringLiteral(" must be numeric");
    if (value < 1 || value > TreeSettingsModel::kMaxGridSide)
        return QStringLiteral("Number of Tree Designer grid ") + what + QStringLiteral(" must be between 1 and ") +
               QString::number(TreeSettingsModel::kMaxGridSide);
    return {};
}
}  // namespace

const QList<TreeSettingsModel::Switch>& TreeSettingsModel::switches() {
    static const QList<Switch> list = {
        {QStringLiteral("Horiz"), true},       {QStringLiteral("Small"), false},
        {QStringLiteral("Stepped"), true},     {QStringLiteral("Blog"), false},
        {QStringLiteral("Rounded"), true},     {QStringLiteral("SVGFile"), false},
        {QStringLiteral("PanZoom"), false},    {QStringLiteral("Fanned"), false},
        {QStringLiteral("Opaque"), false},     {QStringLiteral("Scaled"), false},
        {QStringLiteral("Viewpoints"), true},  {kInfoPanels, true},
        {QStringLiteral("Tooltips"), false},   {kTimeline, false},
    };
    return list;
}

int TreeSettingsModel::switchIndex(const QString& key) {
    const QList<Switch>& list = switches();
    for (int i = 0; i < list.size(); ++i)
        if (list[i].key == key) return i;
    return -1;
}

bool TreeSettingsModel::isHtmlOnly(const QString& key) {
    return key == u"PanZoom" || key == kInfoPanels || key == kTimeline;
}

const std::array<QString, 4>& TreeSettingsModel::stockKeys() {
    static const std::array<QString, 4> keys = {QStringLiteral("StockImageF"), QStringLiteral("StockImageM"),
                                                QStringLiteral("StockImageU"), QStringLiteral("StockImageX")};
    return keys;
}

QString TreeSettingsModel::stockImageText(const StockImage& image) {
    return image.placeKey.isEmpty() ? image.path : u'$' + image.placeKey + u':' + image.path;
}

TreeSettingsModel::StockImage TreeSettingsModel::splitStockImage(const QString& value) {
    StockImage image{QString(), value};
    const int colon = value.indexOf(u':');
    if (value.startsWith(u'$') && colon >= 0) {
        image.placeKey = value.mid(1, colon - 1);
        image.path = value.mid(colon + 1);
    }
    return image;
}

void TreeSettingsModel::load(const SVGTree& tree, Reporter& reporter) {
    const StringDict& settings = tree.GetSettings();
    title = settings.value(kTitle);
    switchOn.clear();
    for (const Switch& s : switches()) switchOn.append(readSwitch(settings, s.key, s.defaultOn));
    imagePart = settings.value(kImagePart);

    if (const SVGViewpointPtr viewpoint = tree.GetViewpoint()) {
        cols = QString::number(viewpoint->GetCols());
        rows = QString::number(viewpoint->GetRows());
    } else {
        cols = settings.value(kDesCols, QStringLiteral("12"));
        rows = settings.value(kDesRows, QStringLiteral("8"));
    }
    shownCols = cols;
    shownRows = rows;

    const PlaceKeyClass& places = tree.GetPlaceKeys();
    placeChoices.clear();
    if (!places.GetDict().isEmpty()) placeChoices = QStringList{QString()} + places.GetDict().keys();

    for (std::size_t i = 0; i < stock.size(); ++i) {
        stock[i] = splitStockImage(settings.value(stockKeys()[i]));
        if (!stock[i].placeKey.isEmpty() && !places.Exists(stock[i].placeKey)) {
            reporter.warn(QStringLiteral("Undefined place key used for stock image: ") + stock[i].placeKey);
            stock[i].placeKey.clear();
        }
    }
}

QString TreeSettingsModel::problem() const {
    if (title.isEmpty()) return QStringLiteral("Tree title cannot be blank");
    if (!bValidName(title))
        return QStringLiteral(
            "Tree title can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)");

    if (!imagePart.isEmpty()) {
        if (!bIsNumOrPct(imagePart)) return QStringLiteral("Image proportion must be numeric");
        const float share = sngNumOrPct(imagePart);
        if (share < 0 || share > 1) return QStringLiteral("Image poportion must be between 0 and 1 (or 0% and 100%)");
    }

    const bool typedCols = cols != shownCols;
    const bool typedRows = rows != shownRows;
    int c = 0, r = 0;
    QString message;
    if (typedCols) message = gridSideProblem(cols, QStringLiteral("colums"), c);
    if (message.isEmpty() && typedRows) message = gridSideProblem(rows, QStringLiteral("rows"), r);
    if (!message.isEmpty()) return message;
    if (typedCols && typedRows && c * r > kMaxGridBoxes)
        return QStringLiteral("Total size of Tree Designer grid is too large. Maximum is ") +
               QString::number(kMaxGridBoxes) + QStringLiteral(" boxes");

    // The tree file splits a header record at its commas: a picture path
    // holding one could not be read back.
    for (std::size_t i = 0; i < stock.size(); ++i)
        if (stockImageText(stock[i]).contains(u','))
            return kStockNames[i] + QStringLiteral(" stock image file name contains commas");
    return {};
}

bool TreeSettingsModel::accept(SVGTree& tree, const SVGApplications& apps, Reporter& reporter) const {
    const QString message = problem();
    if (!message.isEmpty()) {
        reporter.warn(message);
        return false;
    }

    StringDict& settings = tree.GetSettings();
    settings.set(kTitle, title);
    StringDict* appDict = tree.GetAppDict();
    for (int i = 0; i < switches().size(); ++i) {
        const QString& key = switches()[i].key;
        writeSwitch(settings, key, switchOn[i]);
        if (appDict && (key == kInfoPanels || key == kTimeline)) apps.SynchDictWithSetting(*appDict, key, switchOn[i]);
    }
    writeTextSetting(settings, kImagePart, imagePart);

    // A side kept as shown that is no number (only other means of editing
    // settings can store one) stays as the tree holds it.
    int c = 0, r = 0;
    const bool colsNumber = wholeGridNumber(cols, c);
    const bool rowsNumber = wholeGridNumber(rows, r);
    if (const SVGViewpointPtr viewpoint = tree.GetViewpoint()) {
        viewpoint->SetCols(c);
        viewpoint->SetRows(r);
    } else {
        if (colsNumber) settings.set(kDesCols, QString::number(c));
        if (rowsNumber) settings.set(kDesRows, QString::number(r));
    }

    for (std::size_t i = 0; i < stock.size(); ++i)
        writeTextSetting(settings, stockKeys()[i], stock[i].path.isEmpty() ? QString() : stockImageText(stock[i]));
    return true;
}
