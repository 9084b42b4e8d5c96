#include "PictureCache.h"

#include "PictureEntry.h"

QImage PictureCache::picture(const QString& path) {
    auto it = entries_.find(path);
    if (it == entries_.end()) {
        Entry entry;
        try {
            const PicturePtr loaded = LoadPictureEx(path);
            if (loaded) entry.image = loaded->image();
        } catch (const AppError& e) {
            entry.error = e;
        }
        it = entries_.insert(path, entry);
    }
    if (it->error) throw *it->error;
    return it->image;
}
