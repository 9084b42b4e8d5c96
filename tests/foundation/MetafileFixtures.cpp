#include "MetafileFixtures.h"

#include <cstdlib>

#include <QFile>
#include <QTemporaryDir>

#include <uemf.h>
#include <uwmf.h>

namespace fixtures {

namespace {

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

U_RECTL rect(int left, int top, int right, int bottom) {
    return rectl_set(pointl_set(left, top), pointl_set(right, bottom));
}

void add(WMFTRACK* wt, char* record) { wmf_append(reinterpret_cast<U_METARECORD*>(record), wt, U_REC_FREE); }

// An enhanced metafile being written: its header (the reference device has
// 96 pixels per inch), the records added, then the end-of-file record.
class EmfFile {
public:
    EmfFile(const U_RECTL& bounds, const U_RECTL& frame) : path(dir.filePath("picture.emf").toLocal8Bit()) {
        if (emf_start(path.constData(), 4096, 4096, &et) || htable_create(32, 32, &eht)) return;
        add(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, sizel_set(960, 960), sizel_set(254, 254), 0));
    }
    ~EmfFile() {
        if (et) emf_free(&et);
        if (eht) htable_free(&eht);
    }
    void add(char* record) {
        if (et) emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), et, U_REC_FREE);
        else std::free(record);
    }
    EMFHANDLES* handles() const { return eht; }
    QByteArray finish() {
        if (!et || !eht) return {};
        add(U_EMREOF_set(0, nullptr, et));
        emf_finish(et, eht);
        return readWhole(QString::fromLocal8Bit(path));
    }

private:
    QTemporaryDir dir;
    QByteArray path;
    EMFTRACK* et = nullptr;
    EMFHANDLES* eht = nullptr;
};

}  // namespace

QByteArray emfPicture() {
    // 2540 x 1270 hundredths of a millimetre: 96 x 48 pixels.
    EmfFile emf(rect(0, 0, 95, 47), rect(0, 0, 2540, 1270));
    EMFHANDLES* eht = emf.handles();
    emf.add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    emf.add(U_EMRSETWINDOWEXTEX_set(sizel_set(960, 480)));
    emf.add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(96, 48)));
    emf.add(selectobject_set(U_NULL_PEN, eht));

    uint32_t red = 0, green = 0, blue = 0, thick = 0, font = 0;
    emf.add(createbrushindirect_set(&red, eht, logbrush_set(U_BS_SOLID, colorref_set(255, 0, 0), 0)));
    emf.add(selectobject_set(red, eht));
    emf.add(U_EMRRECTANGLE_set(rect(0, 0, 480, 240)));

    emf.add(createbrushindirect_set(&green, eht, logbrush_set(U_BS_SOLID, colorref_set(0, 255, 0), 0)));
    emf.add(selectobject_set(green, eht));
    const U_POINT16 triangle[] = {point16_set(240, 240), point16_set(480, 480), point16_set(0, 480)};
    emf.add(U_EMRPOLYGON16_set(rect(0, 240, 480, 480), 3, triangle));

    emf.add(createpen_set(&thick, eht, logpen_set(U_PS_SOLID | U_PS_GEOMETRIC, point_set(40, 40), colorref_set(0, 0, 0))));
    emf.add(selectobject_set(thick, eht));
    const U_POINT16 line[] = {point16_set(0, 460), point16_set(480, 460)};
    emf.add(U_EMRPOLYLINE16_set(rect(0, 440, 480, 480), 2, line));
    emf.add(selectobject_set(U_NULL_PEN, eht));

    emf.add(createbrushindirect_set(&blue, eht, logbrush_set(U_BS_SOLID, colorref_set(0, 0, 255), 0)));
    emf.add(selectobject_set(blue, eht));
    emf.add(U_EMRELLIPSE_set(rect(480, 0, 960, 480)));

    // Bottom-up rows of 24-bit pixels (blue, green, red), each padded to 8 bytes.
    char pixels[] = {char(255), 0, char(255), char(255), char(255), char(255), 0, 0,
                     0, char(255), char(255), char(255), char(255), 0, 0, 0};
    U_BITMAPINFOHEADER header = bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, sizeof pixels, 0, 0, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    emf.add(U_EMRSTRETCHDIBITS_set(rect(56, 32, 72, 48), pointl_set(560, 320), pointl_set(160, 160),
                                   pointl_set(0, 0), pointl_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, info,
                                   sizeof pixels, pixels));
    std::free(info);

    uint16_t face[] = {'D', 'e', 'j', 'a', 'V', 'u', ' ', 'S', 'a', 'n', 's', 0};
    U_LOGFONT logFont = logfont_set(-160, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, U_DEFAULT_CHARSET, 0, 0, 0, 0, face);
    emf.add(extcreatefontindirectw_set(&font, eht, reinterpret_cast<char*>(&logFont), nullptr));
    emf.add(selectobject_set(font, eht));
    emf.add(U_EMRSETTEXTCOLOR_set(colorref_set(255, 255, 255)));
    emf.add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    emf.add(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT));
    uint16_t text[] = {'K', 'v'};
    int32_t advances[] = {100, 100};
    char* run = emrtext_set(pointl_set(20, 20), 2, 2, text, U_ETO_NONE, rect(0, 0, -1, -1),
                            reinterpret_cast<uint32_t*>(advances));
    emf.add(U_EMREXTTEXTOUTW_set(rect(2, 2, 22, 18), U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(run)));
    std::free(run);

    return emf.finish();
}

QByteArray emfBlocks() {
    EmfFile emf(rect(0, 0, 39, 19), rect(0, 0, 0, 0));
    EMFHANDLES* eht = emf.handles();
    emf.add(selectobject_set(U_NULL_PEN, eht));

    char red[] = {0, 0, char(255), 0};  // one 24-bit pixel, its row padded
    U_BITMAPINFOHEADER header = bitmapinfoheader_set(1, 1, 1, 24, U_BI_RGB, sizeof red, 0, 0, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    const U_XFORM identity = xform_set(1, 0, 0, 1, 0, 0);
    emf.add(U_EMRSTRETCHBLT_set(rect(0, 0, 20, 20), pointl_set(0, 0), pointl_set(20, 20), pointl_set(0, 0),
                                pointl_set(1, 1), identity, colorref_set(255, 255, 255), U_DIB_RGB_COLORS,
                                U_SRCCOPY, info, sizeof red, red));
    std::free(info);

    uint32_t green = 0, blue = 0;
    emf.add(createbrushindirect_set(&green, eht, logbrush_set(U_BS_SOLID, colorref_set(0, 255, 0), 0)));
    emf.add(U_EMRSAVEDC_set());
    emf.add(U_EMRSETWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 20, 0)));
    emf.add(selectobject_set(green, eht));
    emf.add(U_EMRBITBLT_set(rect(20, 0, 40, 20), pointl_set(0, 0), pointl_set(20, 20), pointl_set(0, 0), identity,
                            colorref_set(255, 255, 255), U_DIB_RGB_COLORS, U_PATCOPY, nullptr, 0, nullptr));
    emf.add(U_EMRRESTOREDC_set(-1));

    emf.add(createbrushindirect_set(&blue, eht, logbrush_set(U_BS_SOLID, colorref_set(0, 0, 255), 0)));
    emf.add(selectobject_set(blue, eht));
    emf.add(U_EMRBEGINPATH_set());
    emf.add(U_EMRRECTANGLE_set(rect(0, 0, 10, 5)));
    emf.add(U_EMRENDPATH_set());
    emf.add(U_EMRFILLPATH_set(rect(0, 0, 10, 5)));

    return emf.finish();
}

QByteArray wmfPicture() {
    QTemporaryDir dir;
    const QByteArray path = dir.filePath("picture.wmf").toLocal8Bit();
    WMFTRACK* wt = nullptr;
    WMFHANDLES* wht = nullptr;
    if (wmf_start(path.constData(), 4096, 4096, &wt) || wmf_htable_create(32, 32, &wht)) return {};
    U_PAIRF* inches = U_PAIRF_set(40.0f / 96, 20.0f / 96);
    wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(inches, 96)), wt, U_REC_FREE);
    std::free(inches);
    add(wt, U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    add(wt, U_WMRSETWINDOWEXT_set(point16_set(40, 20)));
    uint32_t pen = 0, red = 0, blue = 0;
    add(wt, wcreatepenindirect_set(&pen, wht, U_PEN_set(U_PS_NULL, 0, colorref_set(0, 0, 0))));
    add(wt, wselectobject_set(pen, wht));
    add(wt, wcreatebrushindirect_set(&red, wht, U_WLOGBRUSH_set(U_BS_SOLID, colorref_set(255, 0, 0), 0)));
    add(wt, wselectobject_set(red, wht));
    add(wt, U_WMRRECTANGLE_set(U_RECT16_set(point16_set(0, 0), point16_set(21, 21))));
    add(wt, wcreatebrushindirect_set(&blue, wht, U_WLOGBRUSH_set(U_BS_SOLID, colorref_set(0, 0, 255), 0)));
    add(wt, wselectobject_set(blue, wht));
    add(wt, U_WMRRECTANGLE_set(U_RECT16_set(point16_set(20, 0), point16_set(41, 21))));
    add(wt, U_WMREOF_set());
    wmf_finish(wt);
    // Released by hand: the program's WMF library has a function of the same
    // name as libuemf's release of a WMF writer, and that name resolves to it.
    if (wt->fp) std::fclose(wt->fp);
    std::free(wt->buf);
    std::free(wt);
    wmf_htable_free(&wht);
    return readWhole(QString::fromLocal8Bit(path));
}

}  // namespace fixtures
