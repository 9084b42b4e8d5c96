#include "WmfRenderer.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/gd/gd.h>

#include "DibCodec.h"
#include "MetafileLimits.h"

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr int kPlaceableSize = 22;
constexpr int kHeaderSize = 18;
constexpr double kPointsPerInch = 72.0;
// libwmf fills shapes pixel by pixel over their whole extent, inside the
// picture or not: records that reach this far beyond it are taken for damage
// rather than drawn for minutes.
constexpr double kMaxDrawnPixels = 4.0 * kMaxMetafilePixels;

struct WmfLayout {
    bool placeable = false;
    qint16 left = 0, top = 0, right = 0, bottom = 0;
    quint16 unitsPerInch = 0;
};

// Reads the headers and walks the records: every record at least three
// words long, inside the data, the last one the end-of-file record.
bool readLayout(const QByteArray& bytes, WmfLayout& layout) {
    quint32 key = 0;
    qint64 at = 0;
    if (readLe32(bytes, 0, key) && key == kPlaceableKey) {
        quint16 v[5];
        for (int i = 0; i < 5; ++i) {
            if (!readLe16(bytes, 6 + 2 * i, v[i])) return false;
        }
        layout.placeable = true;
        layout.left = static_cast<qint16>(v[0]);
        layout.top = static_cast<qint16>(v[1]);
        layout.right = static_cast<qint16>(v[2]);
        layout.bottom = static_cast<qint16>(v[3]);
        layout.unitsPerInch = v[4];
        if (layout.unitsPerInch == 0 || layout.right <= layout.left || layout.bottom <= layout.top) return false;
        at = kPlaceableSize;
    }
    quint16 type = 0, headerWords = 0;
    if (!readLe16(bytes, at, type) || !readLe16(bytes, at + 2, headerWords)) return false;
    if ((type != 1 && type != 2) || headerWords != 9 || bytes.size() < at + kHeaderSize) return false;
    at += kHeaderSize;
    for (;;) {
        quint32 words = 0;
        quint16 function = 0;
        if (!readLe32(bytes, at, words) || !readLe16(bytes, at + 4, function)) return false;
        if (words < 3 || static_cast<qint64>(words) * 2 > bytes.size() - at) return false;
        if (function == 0) return true;
        at += static_cast<qint64>(words) * 2;
    }
}

// libwmf's drawing session, destroyed with everything it allocated.
class WmfSession {
public:
    ~WmfSession() {
        if (api) wmf_api_destroy(api);
    }
    wmfAPI* api = nullptr;
};

// The image libwmf draws into is the caller's to free; libwmf does not export
// the function that frees it, so its parts (as its header lays them out) are
// freed here.
void releaseGdImage(void* image) {
    auto* im = static_cast<gdImagePtr>(image);
    if (!im) return;
    if (im->pixels) {
        for (int y = 0; y < im->sy; ++y) std::free(im->pixels[y]);
        std::free(im->pixels);
    }
    if (!im->_tpixels && im->tpixels) {
        for (int y = 0; y < im->sy; ++y) std::free(im->tpixels[y]);
    }
    std::free(im->_tpixels);  // the rows of a true-colour image, in one block
    std::free(im->tpixels);
    if (im->clip) {
        std::free(im->clip->list);
        std::free(im->clip);
    }
    std::free(im->polyInts);
    std::free(im->style);
    std::free(im);
}

QImage fromGdPixels(const int* pixels, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    bool opaque = true;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // gd keeps a 7-bit transparency: 0 opaque, 127 clear.
            const auto p = static_cast<quint32>(pixels[static_cast<qint64>(y) * width + x]);
            const quint32 clear = (p >> 24) & 0x7F;
            const quint32 alpha = clear == 0 ? 255 : (127 - clear) * 255 / 127;
            if (alpha != 255) opaque = false;
            line[x] = (alpha << 24) | (p & 0xFFFFFF);
        }
    }
    return image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

bool looksLikeWmf(const QByteArray& bytes) {
    quint32 signature = 0;
    if (!readLe32(bytes, 0, signature)) return false;
    return signature == kPlaceableKey || signature == 0x00090001u || signature == 0x00090002u;
}

QImage renderWmf(const QByteArray& bytes) {
    WmfLayout layout;
    if (!looksLikeWmf(bytes) || !readLayout(bytes, layout)) return {};

    WmfSession session;
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&session.api, flags, &options) != wmf_E_None) return {};
    // libwmf reads from the buffer while it draws: a copy that lives as long
    // as the session.
    std::vector<unsigned char> data(bytes.begin(), bytes.end());
    if (wmf_mem_open(session.api, data.data(), static_cast<long>(data.size())) != wmf_E_None) return {};
    wmfD_Rect box;
    if (wmf_scan(session.api, 0, &box) != wmf_E_None) return {};
    const wmfD_Rect drawnBox = box;  // the extent of what the records draw

    int width = 0, height = 0;
    if (layout.placeable) {
        // The picture is the header's bounds (libwmf's page units are points).
        const double scale = kPointsPerInch / layout.unitsPerInch;
        box.TL.x = static_cast<float>(layout.left * scale);
        box.TL.y = static_cast<float>(layout.top * scale);
        box.BR.x = static_cast<float>(layout.right * scale);
        box.BR.y = static_cast<float>(layout.bottom * scale);
        width = static_cast<int>(std::lround((layout.right - layout.left) * kScreenDpi / layout.unitsPerInch));
        height = static_cast<int>(std::lround((layout.bottom - layout.top) * kScreenDpi / layout.unitsPerInch));
    } else {
        unsigned int w = 0, h = 0;
        if (wmf_display_size(session.api, &w, &h, kScreenDpi, kScreenDpi) != wmf_E_None) return {};
        width = static_cast<int>(std::min<unsigned int>(w, kMaxMetafileSide + 1));
        height = static_cast<int>(std::min<unsigned int>(h, kMaxMetafileSide + 1));
    }
    if (!metafileSizeAllowed(width, height)) return {};
    if (!(box.BR.x > box.TL.x) || !(box.BR.y > box.TL.y)) return {};
    const double drawn = double(drawnBox.BR.x - drawnBox.TL.x) * width / (box.BR.x - box.TL.x) *
                         (double(drawnBox.BR.y - drawnBox.TL.y) * height / (box.BR.y - box.TL.y));
    if (!(drawn <= kMaxDrawnPixels)) return {};

    wmf_gd_t* device = WMF_GD_GetData(session.api);
    device->type = wmf_gd_image;
    device->bbox = box;
    device->width = static_cast<unsigned int>(width);
    device->height = static_cast<unsigned int>(height);
    const bool played = wmf_play(session.api, 0, &box) == wmf_E_None;
    QImage image;
    if (device->gd_image) {
        const int* pixels = wmf_gd_image_pixels(device->gd_image);
        if (played && pixels) image = fromGdPixels(pixels, width, height);
        releaseGdImage(device->gd_image);
        device->gd_image = nullptr;
    }
    return image;
}
