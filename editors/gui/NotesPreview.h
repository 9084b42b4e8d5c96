#pragma once

#include <QTextBrowser>

// The preview of a note as HTML. Pictures with an http or https address come
// through the download cache; others are read from disk.
class NotesPreview : public QTextBrowser {
    Q_OBJECT
public:
    explicit NotesPreview(QWidget* parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};
