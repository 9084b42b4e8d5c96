#pragma once

#include <optional>

#include <QHash>
#include <QImage>
#include <QString>

#include "foundation/AppError.h"

// The pictures of the designer's boxes, each file decoded once through the
// program's picture loader. A file that failed to load keeps its error, which
// every later request raises again without reading the file.
class PictureCache {
public:
    // The picture of a file; raises the loader's error when it cannot be read.
    QImage picture(const QString& path);
    void clear() { entries_.clear(); }
    int size() const { return entries_.size(); }

private:
    struct Entry {
        QImage image;
        std::optional<AppError> error;
    };
    QHash<QString, Entry> entries_;
};
