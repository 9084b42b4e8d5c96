#include "MetafilePicture.h"

#include "EmfPlayer.h"
#include "WmfRenderer.h"

bool looksLikeMetafile(const QByteArray& bytes) { return EmfPlayer::looksLikeEmf(bytes) || looksLikeWmf(bytes); }

PicturePtr metafilePicture(const QByteArray& bytes, bool keep) {
    const bool enhanced = EmfPlayer::looksLikeEmf(bytes);
    if (!enhanced && !looksLikeWmf(bytes)) return nullptr;
    const QImage drawn = enhanced ? EmfPlayer::render(bytes) : renderWmf(bytes);
    if (drawn.isNull()) return nullptr;
    auto picture = std::make_shared<StdPicture>(enhanced ? StdPicture::EnhancedMetafile : StdPicture::Metafile, drawn);
    picture->setMetafileData(bytes);
    if (keep) picture->keepOriginalData(bytes);
    return picture;
}
