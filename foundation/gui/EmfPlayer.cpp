#include "EmfPlayer.h"

#include <bitset>
#include <cmath>
#include <cstring>
#include <optional>
#include <variant>
#include <vector>

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <uemf.h>
#include <uemf_safe.h>

#include "DibCodec.h"
#include "MetafileLimits.h"
#include "Windows1252.h"

namespace {

constexpr double kHimetricPerInch = 2540.0;
constexpr int kMaxSavedStates = 1024;
// libuemf's size check is told that the record is in the file's (little-endian)
// byte order.
constexpr int kFileByteOrder = 1;
constexpr double kMaxPenWidth = 1e6;
constexpr double kMaxTextPixels = 4096;

// Raster operations of bitmap records without a bitmap.
constexpr quint32 kPatCopy = 0x00F00021u;
constexpr quint32 kBlackness = 0x00000042u;
constexpr quint32 kWhiteness = 0x00FF0062u;

// Stock objects and a world-transform mode that libuemf does not name.
constexpr quint32 kDcBrush = 0x80000012u;
constexpr quint32 kDcPen = 0x80000013u;
constexpr quint32 kWorldTransformSet = 4;

// A view of one record: every read is checked against its size.
struct Record {
    const char* data;
    quint32 size;

    template <typename T>
    bool read(quint64 offset, T& out) const {
        if (offset + sizeof(T) > size) return false;
        std::memcpy(&out, data + offset, sizeof(T));
        return true;
    }
    bool holds(quint64 offset, quint64 length) const { return offset <= size && length <= size - offset; }
};

QColor colourOf(const U_COLORREF& c) { return QColor(c.Red, c.Green, c.Blue); }

bool finite(const U_XFORM& x) {
    return std::isfinite(x.eM11) && std::isfinite(x.eM12) && std::isfinite(x.eM21) && std::isfinite(x.eM22) &&
           std::isfinite(x.eDx) && std::isfinite(x.eDy);
}

QTransform transformOf(const U_XFORM& x) { return QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy); }

struct FontObject {
    U_LOGFONT logFont{};
};

using GdiObject = std::variant<std::monostate, QPen, QBrush, FontObject>;

QPen defaultPen() {
    QPen pen(Qt::black, 0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

FontObject defaultFont() {
    FontObject font;
    font.logFont.lfHeight = 0;
    font.logFont.lfWeight = 400;
    return font;
}

// What a device context holds while the records are played.
struct DcState {
    QPen pen = defaultPen();
    QBrush brush{Qt::white};
    FontObject font = defaultFont();
    QColor textColour{Qt::black};
    QColor backColour{Qt::white};
    bool opaqueBack = true;
    quint32 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    quint32 mapMode = U_MM_TEXT;
    QPointF windowOrg, viewportOrg;
    QSizeF windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;
    QPointF current;
};

QPen penOf(quint32 style, double width, const QColor& colour, bool cosmetic) {
    if ((style & U_PS_STYLE_MASK) == U_PS_NULL) return QPen(Qt::NoPen);
    QPen pen(colour);
    if (cosmetic || width <= 0) pen.setWidth(0);
    else pen.setWidthF(std::min(width, kMaxPenWidth));
    switch (style & U_PS_STYLE_MASK) {
    case U_PS_DASH: pen.setStyle(Qt::DashLine); break;
    case U_PS_DOT: pen.setStyle(Qt::DotLine); break;
    case U_PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
    case U_PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    switch (style & U_PS_ENDCAP_MASK) {
    case U_PS_ENDCAP_SQUARE: pen.setCapStyle(Qt::SquareCap); break;
    case U_PS_ENDCAP_FLAT: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (style & U_PS_JOIN_MASK) {
    case U_PS_JOIN_BEVEL: pen.setJoinStyle(Qt::BevelJoin); break;
    case U_PS_JOIN_MITER: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    return pen;
}

QBrush brushOf(quint32 style, const QColor& colour, quint32 hatch) {
    switch (style) {
    case U_BS_SOLID: return QBrush(colour);
    case U_BS_HATCHED: {
        static const Qt::BrushStyle patterns[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(colour, hatch < 6 ? patterns[hatch] : Qt::SolidPattern);
    }
    default: return QBrush(Qt::NoBrush);
    }
}

// A bitmap carried by a record (its header and pixels at the given offsets),
// decoded by the program's DIB reader. Bitmaps are drawn opaque: the records
// that carry them do not blend.
std::optional<QImage> bitmapOf(const Record& rec, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits,
                               bool& bottomUp) {
    if (cbBmi < 40 || !rec.holds(offBmi, cbBmi) || !rec.holds(offBits, cbBits)) return std::nullopt;
    qint32 height = 0;
    if (!rec.read(quint64(offBmi) + 8, height)) return std::nullopt;
    bottomUp = height > 0;
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    writeLe32(file, 2, 14u + cbBmi + cbBits);
    writeLe32(file, 10, 14u + cbBmi);
    file.append(rec.data + offBmi, cbBmi);
    file.append(rec.data + offBits, cbBits);
    const std::optional<DibImage> dib = decodeBmpFile(file);
    if (!dib) return std::nullopt;
    if (dib->pixels.format() == QImage::Format_RGB32) return dib->pixels;
    QImage opaque = dib->pixels.copy();
    for (int y = 0; y < opaque.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x) line[x] |= 0xFF000000u;
    }
    opaque.reinterpretAsFormat(QImage::Format_RGB32);
    return opaque;
}

class Playback {
public:
    Playback(QImage& canvas, const QTransform& deviceToCanvas, QSizeF pixelsPerHimetric, quint32 handles)
        : painter(&canvas), deviceToCanvas(deviceToCanvas), pixelsPerHimetric(pixelsPerHimetric),
          objects(std::max<quint32>(handles, 1)) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setRenderHint(QPainter::TextAntialiasing);
    }

    // Draws one record; false when a record drawn here holds fields outside
    // itself.
    bool play(const Record& rec, quint32 type);

private:
    QTransform pageTransform() const;
    QTransform fullTransform() const { return dc.world * pageTransform() * deviceToCanvas; }
    bool usable(const QTransform& t) const {
        return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
               std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy()) && t.isInvertible();
    }

    // Draws a shape given in logical units, or adds it to the path being
    // recorded.
    void drawShape(QPainterPath shape, bool fill, bool stroke);
    void drawRecordedPath(bool fill, bool stroke);
    void drawBitmap(const QImage& image, bool bottomUp, QPointF dest, QPointF destSize, QPointF src,
                    QPointF srcSize);
    void fillPattern(const QRectF& rect, quint32 rop);
    void drawText(const Record& rec, bool wide);

    bool readPoints(const Record& rec, quint64 offset, quint32 count, bool small, QPolygonF& points) const;
    void polyRecord(const Record& rec, quint32 type);
    void polyPolyRecord(const Record& rec, bool small, bool closed);

    void draw(const Record& rec, quint32 type);
    void selectObject(quint32 index);
    void storeObject(quint32 index, GdiObject object);

    QPainter painter;
    QTransform deviceToCanvas;
    QSizeF pixelsPerHimetric;
    std::vector<GdiObject> objects;
    DcState dc;
    std::vector<DcState> saved;
    bool inPath = false;
    QPainterPath path;  // in canvas units
};

QTransform Playback::pageTransform() const {
    double sx = 1, sy = 1;
    auto himetricScale = [&](double himetricPerUnit) {
        sx = himetricPerUnit * pixelsPerHimetric.width();
        sy = -himetricPerUnit * pixelsPerHimetric.height();
    };
    switch (dc.mapMode) {
    case U_MM_LOMETRIC: himetricScale(10); break;
    case U_MM_HIMETRIC: himetricScale(1); break;
    case U_MM_LOENGLISH: himetricScale(kHimetricPerInch / 100); break;
    case U_MM_HIENGLISH: himetricScale(kHimetricPerInch / 1000); break;
    case U_MM_TWIPS: himetricScale(kHimetricPerInch / 1440); break;
    case U_MM_ISOTROPIC:
    case U_MM_ANISOTROPIC:
        if (dc.windowExt.width() != 0 && dc.windowExt.height() != 0) {
            sx = dc.viewportExt.width() / dc.windowExt.width();
            sy = dc.viewportExt.height() / dc.windowExt.height();
            if (dc.mapMode == U_MM_ISOTROPIC) {
                const double s = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(s, sx);
                sy = std::copysign(s, sy);
            }
        }
        break;
    default: break;
    }
    return QTransform::fromTranslate(-dc.windowOrg.x(), -dc.windowOrg.y()) * QTransform::fromScale(sx, sy) *
           QTransform::fromTranslate(dc.viewportOrg.x(), dc.viewportOrg.y());
}

void Playback::drawShape(QPainterPath shape, bool fill, bool stroke) {
    const QTransform t = fullTransform();
    if (!usable(t)) return;
    if (inPath) {
        path.addPath(t.map(shape));
        return;
    }
    shape.setFillRule(dc.fillRule);
    painter.setTransform(t);
    painter.setPen(stroke ? dc.pen : QPen(Qt::NoPen));
    painter.setBrush(fill ? dc.brush : QBrush(Qt::NoBrush));
    painter.drawPath(shape);
}

void Playback::drawRecordedPath(bool fill, bool stroke) {
    const QTransform t = fullTransform();
    if (usable(t)) {
        // Pens are in logical units: the path is drawn through the transform.
        QPainterPath shape = t.inverted().map(path);
        shape.setFillRule(dc.fillRule);
        painter.setTransform(t);
        painter.setPen(stroke ? dc.pen : QPen(Qt::NoPen));
        painter.setBrush(fill ? dc.brush : QBrush(Qt::NoBrush));
        painter.drawPath(shape);
    }
    path = QPainterPath();
    inPath = false;
}

void Playback::drawBitmap(const QImage& image, bool bottomUp, QPointF dest, QPointF destSize, QPointF src,
                          QPointF srcSize) {
    if (srcSize.x() <= 0 || srcSize.y() <= 0 || destSize.x() == 0 || destSize.y() == 0) return;
    const QTransform t = fullTransform();
    if (!usable(t)) return;
    // The source's y runs from the bottom line of a bottom-up bitmap.
    const double top = bottomUp ? image.height() - src.y() - srcSize.y() : src.y();
    const QRectF source(src.x(), top, srcSize.x(), srcSize.y());
    const QTransform place(destSize.x() / srcSize.x(), 0, 0, destSize.y() / srcSize.y(), dest.x(), dest.y());
    painter.setTransform(place * t);
    painter.drawImage(QRectF(QPointF(0, 0), source.size()), image, source);
}

void Playback::fillPattern(const QRectF& rect, quint32 rop) {
    const QTransform t = fullTransform();
    if (!usable(t)) return;
    QBrush brush;
    if (rop == kPatCopy) brush = dc.brush;
    else if (rop == kBlackness) brush = QBrush(Qt::black);
    else if (rop == kWhiteness) brush = QBrush(Qt::white);
    else return;
    painter.setTransform(t);
    painter.fillRect(rect, brush);
}

void Playback::drawText(const Record& rec, bool wide) {
    U_EMREXTTEXTOUTW text;
    if (!rec.read(0, text)) return;
    const U_EMRTEXT& run = text.emrtext;
    const quint64 bytes = quint64(run.nChars) * (wide ? 2 : 1);
    if (run.nChars == 0 || !rec.holds(run.offString, bytes)) return;
    QString string;
    if (wide) {
        std::vector<char16_t> units(run.nChars);
        std::memcpy(units.data(), rec.data + run.offString, bytes);
        string = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
    } else {
        string = decodeWindows1252(rec.data + run.offString, static_cast<qsizetype>(bytes));
    }
    const QTransform t = fullTransform();
    if (!usable(t)) return;

    const U_LOGFONT& lf = dc.font.logFont;
    // The font's height in canvas pixels: its logical height along the y axis,
    // or a screen font's 16 pixels when none is given.
    double pixels = 0;
    if (lf.lfHeight != 0) {
        const double yScale = QLineF(t.map(QPointF(0, 0)), t.map(QPointF(0, 1))).length();
        pixels = std::abs(static_cast<double>(lf.lfHeight)) * yScale;
    } else {
        pixels = 16 * QLineF(deviceToCanvas.map(QPointF(0, 0)), deviceToCanvas.map(QPointF(0, 1))).length();
    }
    if (!(pixels >= 0.5 && pixels <= kMaxTextPixels)) return;
    QFont font;
    const QString face = QString::fromUtf16(reinterpret_cast<const char16_t*>(lf.lfFaceName),
                                            qsizetype(std::find(std::begin(lf.lfFaceName), std::end(lf.lfFaceName),
                                                                0) -
                                                      std::begin(lf.lfFaceName)));
    if (!face.isEmpty()) font.setFamily(face);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    if (lf.lfWeight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight, 100, 900)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);

    QPointF reference(run.ptlReference.x, run.ptlReference.y);
    if (dc.textAlign & U_TA_UPDATECP) reference = dc.current;
    const QPointF anchor = t.map(reference);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(string);
    double x = 0, y = metrics.ascent();
    if ((dc.textAlign & U_TA_CENTER) == U_TA_CENTER) x = -width / 2;
    else if (dc.textAlign & U_TA_RIGHT) x = -width;
    if ((dc.textAlign & U_TA_BASELINE) == U_TA_BASELINE) y = 0;
    else if (dc.textAlign & U_TA_BOTTOM) y = -metrics.descent();

    // Text stays upright whichever way the logical axes run; the escapement
    // turns it counter-clockwise.
    painter.setTransform(QTransform());
    painter.translate(anchor);
    painter.rotate(-lf.lfEscapement / 10.0);
    if (dc.opaqueBack && !(run.fOptions & U_ETO_NO_RECT))
        painter.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()), dc.backColour);
    painter.setFont(font);
    painter.setPen(dc.textColour);
    painter.drawText(QPointF(x, y), string);
}

bool Playback::readPoints(const Record& rec, quint64 offset, quint32 count, bool small, QPolygonF& points) const {
    const quint64 pointSize = small ? sizeof(U_POINT16) : sizeof(U_POINTL);
    if (!rec.holds(offset, quint64(count) * pointSize)) return false;
    points.resize(count);
    for (quint32 i = 0; i < count; ++i) {
        if (small) {
            U_POINT16 p;
            std::memcpy(&p, rec.data + offset + i * pointSize, sizeof p);
            points[i] = QPointF(p.x, p.y);
        } else {
            U_POINTL p;
            std::memcpy(&p, rec.data + offset + i * pointSize, sizeof p);
            points[i] = QPointF(p.x, p.y);
        }
    }
    return true;
}

void Playback::polyRecord(const Record& rec, quint32 type) {
    const bool small = type >= U_EMR_POLYBEZIER16;
    quint32 count = 0;
    QPolygonF points;
    // Bounds, then the count, then the points.
    if (!rec.read(24, count) || !readPoints(rec, 28, count, small, points) || points.isEmpty()) return;
    const quint32 kind = small ? type - (U_EMR_POLYBEZIER16 - U_EMR_POLYBEZIER) : type;
    QPainterPath shape;
    switch (kind) {
    case U_EMR_POLYGON:
        shape.addPolygon(points);
        shape.closeSubpath();
        drawShape(shape, true, true);
        break;
    case U_EMR_POLYLINE:
        shape.addPolygon(points);
        drawShape(shape, false, true);
        break;
    case U_EMR_POLYLINETO:
        shape.moveTo(dc.current);
        for (const QPointF& p : points) shape.lineTo(p);
        dc.current = points.last();
        drawShape(shape, false, true);
        break;
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIERTO: {
        int i = 0;
        if (kind == U_EMR_POLYBEZIER) shape.moveTo(points[i++]);
        else shape.moveTo(dc.current);
        for (; i + 2 < points.size(); i += 3) shape.cubicTo(points[i], points[i + 1], points[i + 2]);
        if (kind == U_EMR_POLYBEZIERTO) dc.current = shape.currentPosition();
        drawShape(shape, false, true);
        break;
    }
    default: break;
    }
}

void Playback::polyPolyRecord(const Record& rec, bool small, bool closed) {
    quint32 polygons = 0, total = 0;
    if (!rec.read(24, polygons) || !rec.read(28, total)) return;
    const quint64 countsAt = 32;
    if (!rec.holds(countsAt, quint64(polygons) * 4)) return;
    QPolygonF points;
    if (!readPoints(rec, countsAt + quint64(polygons) * 4, total, small, points)) return;
    QPainterPath shape;
    quint64 next = 0;
    for (quint32 i = 0; i < polygons; ++i) {
        quint32 count = 0;
        rec.read(countsAt + quint64(i) * 4, count);
        if (next + count > quint64(points.size())) return;
        QPolygonF part(points.begin() + next, points.begin() + next + count);
        next += count;
        shape.addPolygon(part);
        if (closed) shape.closeSubpath();
    }
    drawShape(shape, closed, true);
}

void Playback::selectObject(quint32 index) {
    if (index & U_STOCK_OBJECT) {
        switch (index) {
        case U_WHITE_BRUSH: dc.brush = QBrush(Qt::white); break;
        case U_LTGRAY_BRUSH: dc.brush = QBrush(QColor(0xC0, 0xC0, 0xC0)); break;
        case U_GRAY_BRUSH: dc.brush = QBrush(QColor(0x80, 0x80, 0x80)); break;
        case U_DKGRAY_BRUSH: dc.brush = QBrush(QColor(0x40, 0x40, 0x40)); break;
        case U_BLACK_BRUSH: dc.brush = QBrush(Qt::black); break;
        case U_NULL_BRUSH: dc.brush = QBrush(Qt::NoBrush); break;
        case U_WHITE_PEN: dc.pen = penOf(U_PS_SOLID, 0, Qt::white, true); break;
        case U_BLACK_PEN: dc.pen = defaultPen(); break;
        case U_NULL_PEN: dc.pen = QPen(Qt::NoPen); break;
        case kDcBrush: dc.brush = QBrush(Qt::white); break;
        case kDcPen: dc.pen = defaultPen(); break;
        default:
            if (index >= U_OEM_FIXED_FONT && index <= U_DEFAULT_GUI_FONT) dc.font = defaultFont();
            break;
        }
        return;
    }
    if (index >= objects.size()) return;
    const GdiObject& object = objects[index];
    if (const auto* pen = std::get_if<QPen>(&object)) dc.pen = *pen;
    else if (const auto* brush = std::get_if<QBrush>(&object)) dc.brush = *brush;
    else if (const auto* font = std::get_if<FontObject>(&object)) dc.font = *font;
}

void Playback::storeObject(quint32 index, GdiObject object) {
    if (index == 0 || index >= objects.size()) return;
    objects[index] = std::move(object);
}

// The records drawn here: their fields are checked before they are read
// (records passed over are only checked to be whole).
bool isPlayed(quint32 type) {
    static const std::bitset<U_EMR_MAX + 1> played = [] {
        std::bitset<U_EMR_MAX + 1> set;
        for (quint32 t :
             {U_EMR_POLYBEZIER, U_EMR_POLYGON, U_EMR_POLYLINE, U_EMR_POLYBEZIERTO, U_EMR_POLYLINETO,
              U_EMR_POLYPOLYLINE, U_EMR_POLYPOLYGON, U_EMR_SETWINDOWEXTEX, U_EMR_SETWINDOWORGEX,
              U_EMR_SETVIEWPORTEXTEX, U_EMR_SETVIEWPORTORGEX, U_EMR_SETMAPMODE, U_EMR_SETBKMODE,
              U_EMR_SETPOLYFILLMODE, U_EMR_SETTEXTALIGN, U_EMR_SETTEXTCOLOR, U_EMR_SETBKCOLOR, U_EMR_MOVETOEX,
              U_EMR_SAVEDC, U_EMR_RESTOREDC, U_EMR_SETWORLDTRANSFORM, U_EMR_MODIFYWORLDTRANSFORM,
              U_EMR_SELECTOBJECT, U_EMR_CREATEPEN, U_EMR_CREATEBRUSHINDIRECT, U_EMR_DELETEOBJECT, U_EMR_ELLIPSE,
              U_EMR_RECTANGLE, U_EMR_ROUNDRECT, U_EMR_LINETO, U_EMR_BEGINPATH, U_EMR_ENDPATH, U_EMR_CLOSEFIGURE,
              U_EMR_FILLPATH, U_EMR_STROKEANDFILLPATH, U_EMR_STROKEPATH, U_EMR_ABORTPATH, U_EMR_BITBLT,
              U_EMR_STRETCHBLT, U_EMR_SETDIBITSTODEVICE, U_EMR_STRETCHDIBITS, U_EMR_EXTCREATEFONTINDIRECTW,
              U_EMR_EXTTEXTOUTA, U_EMR_EXTTEXTOUTW, U_EMR_POLYBEZIER16, U_EMR_POLYGON16, U_EMR_POLYLINE16,
              U_EMR_POLYBEZIERTO16, U_EMR_POLYLINETO16, U_EMR_POLYPOLYLINE16, U_EMR_POLYPOLYGON16,
              U_EMR_CREATEDIBPATTERNBRUSHPT, U_EMR_EXTCREATEPEN})
            set.set(t);
        return set;
    }();
    return type < played.size() && played.test(type);
}

bool Playback::play(const Record& rec, quint32 type) {
    if (!isPlayed(type)) return true;
    if (!U_emf_record_safe(rec.data)) return false;
    draw(rec, type);
    return true;
}

void Playback::draw(const Record& rec, quint32 type) {
    switch (type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYGON:
    case U_EMR_POLYLINE:
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO:
    case U_EMR_POLYBEZIER16:
    case U_EMR_POLYGON16:
    case U_EMR_POLYLINE16:
    case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16: polyRecord(rec, type); break;
    case U_EMR_POLYPOLYLINE: polyPolyRecord(rec, false, false); break;
    case U_EMR_POLYPOLYGON: polyPolyRecord(rec, false, true); break;
    case U_EMR_POLYPOLYLINE16: polyPolyRecord(rec, true, false); break;
    case U_EMR_POLYPOLYGON16: polyPolyRecord(rec, true, true); break;
    case U_EMR_SETWINDOWEXTEX:
    case U_EMR_SETWINDOWORGEX:
    case U_EMR_SETVIEWPORTEXTEX:
    case U_EMR_SETVIEWPORTORGEX:
    case U_EMR_MOVETOEX:
    case U_EMR_LINETO: {
        qint32 x = 0, y = 0;
        if (!rec.read(8, x) || !rec.read(12, y)) return;
        if (type == U_EMR_SETWINDOWEXTEX) dc.windowExt = QSizeF(x, y);
        else if (type == U_EMR_SETWINDOWORGEX) dc.windowOrg = QPointF(x, y);
        else if (type == U_EMR_SETVIEWPORTEXTEX) dc.viewportExt = QSizeF(x, y);
        else if (type == U_EMR_SETVIEWPORTORGEX) dc.viewportOrg = QPointF(x, y);
        else if (type == U_EMR_MOVETOEX) dc.current = QPointF(x, y);
        else {
            QPainterPath line(dc.current);
            line.lineTo(x, y);
            dc.current = QPointF(x, y);
            drawShape(line, false, true);
        }
        break;
    }
    case U_EMR_SETMAPMODE:
    case U_EMR_SETBKMODE:
    case U_EMR_SETPOLYFILLMODE:
    case U_EMR_SETTEXTALIGN: {
        quint32 value = 0;
        if (!rec.read(8, value)) return;
        if (type == U_EMR_SETMAPMODE) {
            if (value >= U_MM_TEXT && value <= U_MM_ANISOTROPIC) dc.mapMode = value;
        } else if (type == U_EMR_SETBKMODE) {
            dc.opaqueBack = value == U_OPAQUE;
        } else if (type == U_EMR_SETPOLYFILLMODE) {
            dc.fillRule = value == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        } else {
            dc.textAlign = value;
        }
        break;
    }
    case U_EMR_SETTEXTCOLOR:
    case U_EMR_SETBKCOLOR: {
        U_COLORREF colour;
        if (!rec.read(8, colour)) return;
        (type == U_EMR_SETTEXTCOLOR ? dc.textColour : dc.backColour) = colourOf(colour);
        break;
    }
    case U_EMR_SAVEDC:
        if (saved.size() < kMaxSavedStates) saved.push_back(dc);
        break;
    case U_EMR_RESTOREDC: {
        qint32 which = 0;
        if (!rec.read(8, which)) return;
        // Negative: that many states back; positive: the state of that number.
        const qint64 keep = which < 0 ? qint64(saved.size()) + which : qint64(which) - 1;
        if (keep < 0 || keep >= qint64(saved.size())) return;
        dc = saved[keep];
        saved.resize(keep);
        break;
    }
    case U_EMR_SETWORLDTRANSFORM:
    case U_EMR_MODIFYWORLDTRANSFORM: {
        U_XFORM xform;
        if (!rec.read(8, xform) || !finite(xform)) return;
        quint32 mode = kWorldTransformSet;
        if (type == U_EMR_MODIFYWORLDTRANSFORM && !rec.read(8 + sizeof(U_XFORM), mode)) return;
        if (mode == U_MWT_IDENTITY) dc.world = QTransform();
        else if (mode == U_MWT_LEFTMULTIPLY) dc.world = transformOf(xform) * dc.world;
        else if (mode == U_MWT_RIGHTMULTIPLY) dc.world = dc.world * transformOf(xform);
        else if (mode == kWorldTransformSet) dc.world = transformOf(xform);
        break;
    }
    case U_EMR_SELECTOBJECT: {
        quint32 index = 0;
        if (rec.read(8, index)) selectObject(index);
        break;
    }
    case U_EMR_DELETEOBJECT: {
        quint32 index = 0;
        if (rec.read(8, index)) storeObject(index, std::monostate{});
        break;
    }
    case U_EMR_CREATEPEN: {
        U_EMRCREATEPEN create;
        if (!rec.read(0, create)) return;
        storeObject(create.ihPen, penOf(create.lopn.lopnStyle, create.lopn.lopnWidth.x,
                                        colourOf(create.lopn.lopnColor), false));
        break;
    }
    case U_EMR_EXTCREATEPEN: {
        // The pen's fixed part ends before its list of dash lengths.
        quint32 index = 0, style = 0, width = 0, brushStyle = 0;
        U_COLORREF colour;
        if (!rec.read(8, index) || !rec.read(28, style) || !rec.read(32, width) || !rec.read(36, brushStyle) ||
            !rec.read(40, colour))
            return;
        const bool cosmetic = (style & U_PS_TYPE_MASK) != U_PS_GEOMETRIC;
        storeObject(index, brushStyle == U_BS_NULL ? QPen(Qt::NoPen) : penOf(style, width, colourOf(colour), cosmetic));
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        U_EMRCREATEBRUSHINDIRECT create;
        if (!rec.read(0, create)) return;
        storeObject(create.ihBrush, brushOf(create.lb.lbStyle, colourOf(create.lb.lbColor), create.lb.lbHatch));
        break;
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        quint32 index = 0, offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
        if (!rec.read(8, index) || !rec.read(16, offBmi) || !rec.read(20, cbBmi) || !rec.read(24, offBits) ||
            !rec.read(28, cbBits))
            return;
        bool bottomUp = false;
        if (const auto image = bitmapOf(rec, offBmi, cbBmi, offBits, cbBits, bottomUp))
            storeObject(index, QBrush(*image));
        break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        quint32 index = 0;
        FontObject font;
        if (!rec.read(8, index) || !rec.read(12, font.logFont)) return;
        storeObject(index, font);
        break;
    }
    case U_EMR_ELLIPSE:
    case U_EMR_RECTANGLE:
    case U_EMR_ROUNDRECT: {
        U_RECTL box;
        if (!rec.read(8, box)) return;
        const QRectF rect = QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom)).normalized();
        QPainterPath shape;
        if (type == U_EMR_ELLIPSE) {
            shape.addEllipse(rect);
        } else if (type == U_EMR_RECTANGLE) {
            shape.addRect(rect);
        } else {
            U_SIZEL corner;
            if (!rec.read(8 + sizeof(U_RECTL), corner)) return;
            shape.addRoundedRect(rect, std::abs(corner.cx) / 2.0, std::abs(corner.cy) / 2.0);
        }
        drawShape(shape, true, true);
        break;
    }
    case U_EMR_BEGINPATH:
        inPath = true;
        path = QPainterPath();
        break;
    case U_EMR_ENDPATH: inPath = false; break;
    case U_EMR_ABORTPATH:
        inPath = false;
        path = QPainterPath();
        break;
    case U_EMR_CLOSEFIGURE:
        if (inPath) path.closeSubpath();
        break;
    case U_EMR_FILLPATH: drawRecordedPath(true, false); break;
    case U_EMR_STROKEPATH: drawRecordedPath(false, true); break;
    case U_EMR_STROKEANDFILLPATH: drawRecordedPath(true, true); break;
    case U_EMR_STRETCHDIBITS: {
        U_EMRSTRETCHDIBITS blit;
        if (!rec.read(0, blit)) return;
        bool bottomUp = false;
        if (const auto image = bitmapOf(rec, blit.offBmiSrc, blit.cbBmiSrc, blit.offBitsSrc, blit.cbBitsSrc, bottomUp))
            drawBitmap(*image, bottomUp, QPointF(blit.Dest.x, blit.Dest.y), QPointF(blit.cDest.x, blit.cDest.y),
                       QPointF(blit.Src.x, blit.Src.y), QPointF(blit.cSrc.x, blit.cSrc.y));
        break;
    }
    case U_EMR_BITBLT:
    case U_EMR_STRETCHBLT: {
        // A bit block transfer is a stretching one whose source has the
        // destination's size.
        U_EMRBITBLT blit;
        if (!rec.read(0, blit)) return;
        const QPointF dest(blit.Dest.x, blit.Dest.y), destSize(blit.cDest.x, blit.cDest.y);
        QPointF srcSize = destSize;
        if (type == U_EMR_STRETCHBLT) {
            U_POINTL size;
            if (!rec.read(offsetof(U_EMRSTRETCHBLT, cSrc), size)) return;
            srcSize = QPointF(size.x, size.y);
        }
        if (blit.cbBmiSrc == 0) {
            fillPattern(QRectF(dest, QSizeF(destSize.x(), destSize.y())).normalized(), blit.dwRop);
            break;
        }
        bool bottomUp = false;
        if (const auto image = bitmapOf(rec, blit.offBmiSrc, blit.cbBmiSrc, blit.offBitsSrc, blit.cbBitsSrc, bottomUp))
            drawBitmap(*image, bottomUp, dest, destSize, QPointF(blit.Src.x, blit.Src.y), srcSize);
        break;
    }
    case U_EMR_SETDIBITSTODEVICE: {
        U_EMRSETDIBITSTODEVICE blit;
        if (!rec.read(0, blit)) return;
        bool bottomUp = false;
        const auto image = bitmapOf(rec, blit.offBmiSrc, blit.cbBmiSrc, blit.offBitsSrc, blit.cbBitsSrc, bottomUp);
        // Only whole bitmaps are drawn, not bands of lines.
        if (image && blit.iStartScan == 0 && blit.cScans >= quint32(image->height())) {
            const QPointF size(blit.cSrc.x, blit.cSrc.y);
            drawBitmap(*image, bottomUp, QPointF(blit.Dest.x, blit.Dest.y), size, QPointF(blit.Src.x, blit.Src.y),
                       size);
        }
        break;
    }
    case U_EMR_EXTTEXTOUTA:
    case U_EMR_EXTTEXTOUTW: drawText(rec, type == U_EMR_EXTTEXTOUTW); break;
    default: break;  // records that change nothing drawn here
    }
}

}  // namespace

bool EmfPlayer::looksLikeEmf(const QByteArray& bytes) {
    quint32 type = 0, signature = 0;
    return readLe32(bytes, 0, type) && type == U_EMR_HEADER && readLe32(bytes, 40, signature) &&
           signature == U_ENHMETA_SIGNATURE;
}

QImage EmfPlayer::render(const QByteArray& bytes) {
    if (!looksLikeEmf(bytes)) return {};
    const char* data = bytes.constData();
    const char* end = data + bytes.size();

    // Walk every record first: each must be whole, and the last one the
    // end-of-file record.
    std::vector<Record> records;
    bool ended = false;
    for (const char* at = data; at < end && !ended;) {
        if (end - at < 8) return {};
        uint32_t size = 0, type = 0;
        if (!U_emf_record_sizeok(at, end, &size, &type, kFileByteOrder) || size < 8 || size % 4 != 0 ||
            size > static_cast<quint64>(end - at))
            return {};
        if (type == U_EMR_HEADER && !U_emf_record_safe(at)) return {};
        records.push_back(Record{at, size});
        ended = type == U_EMR_EOF;
        at += size;
    }
    if (!ended) return {};

    U_EMRHEADER header;
    std::memset(&header, 0, sizeof header);
    const Record& first = records.front();
    // The header's fields up to the reference device's size are required.
    constexpr quint32 kMinHeader = offsetof(U_EMRHEADER, cbPixelFormat);
    if (first.size < kMinHeader) return {};
    std::memcpy(&header, first.data, kMinHeader);

    // Device pixels per 0.01 mm of the reference device (the screen's
    // resolution when the header does not say).
    QSizeF pixelsPerHimetric(kScreenDpi / kHimetricPerInch, kScreenDpi / kHimetricPerInch);
    if (header.szlDevice.cx > 0 && header.szlDevice.cy > 0 && header.szlMillimeters.cx > 0 &&
        header.szlMillimeters.cy > 0) {
        pixelsPerHimetric = QSizeF(double(header.szlDevice.cx) / (header.szlMillimeters.cx * 100.0),
                                   double(header.szlDevice.cy) / (header.szlMillimeters.cy * 100.0));
    }
    const U_RECTL& frame = header.rclFrame;
    const U_RECTL& bounds = header.rclBounds;
    const double frameWidth = double(frame.right) - frame.left, frameHeight = double(frame.bottom) - frame.top;
    QRectF device;
    double width = 0, height = 0;
    if (frameWidth > 0 && frameHeight > 0) {
        device = QRectF(frame.left * pixelsPerHimetric.width(), frame.top * pixelsPerHimetric.height(),
                        frameWidth * pixelsPerHimetric.width(), frameHeight * pixelsPerHimetric.height());
        width = frameWidth * kScreenDpi / kHimetricPerInch;
        height = frameHeight * kScreenDpi / kHimetricPerInch;
    } else {
        // No frame: the bounds, in device pixels, both edges included.
        width = double(bounds.right) - bounds.left + 1;
        height = double(bounds.bottom) - bounds.top + 1;
        device = QRectF(bounds.left, bounds.top, width, height);
    }
    if (!(width < kMaxMetafileSide + 1 && height < kMaxMetafileSide + 1)) return {};
    const int w = static_cast<int>(std::lround(width)), h = static_cast<int>(std::lround(height));
    if (!metafileSizeAllowed(w, h) || device.width() <= 0 || device.height() <= 0) return {};

    QImage canvas(w, h, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull()) return {};
    canvas.fill(Qt::transparent);
    const QTransform deviceToCanvas = QTransform::fromTranslate(-device.left(), -device.top()) *
                                      QTransform::fromScale(w / device.width(), h / device.height());
    {
        Playback playback(canvas, deviceToCanvas, pixelsPerHimetric, header.nHandles);
        for (size_t i = 1; i < records.size(); ++i) {
            uint32_t type = 0;
            std::memcpy(&type, records[i].data, sizeof type);
            if (!playback.play(records[i], type)) return {};
        }
    }
    return canvas;
}
