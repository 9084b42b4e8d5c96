#include "QtClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>

QString QtClipboardText::text() const { return QGuiApplication::clipboard()->text(); }

void QtClipboardText::setText(const QString& text) { QGuiApplication::clipboard()->setText(text); }
