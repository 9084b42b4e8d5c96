// Lists the tags of the input and pairs them; runs the scanner's operations
// over the same text.
#include <cstdint>

#include "FuzzSupport.h"
#include "HTMLParseClass.h"
#include "ParseClass.h"
#include "AppError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::app();
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    HTMLParseClass html;
    int entries = 0;
    QList<QString> names;
    QList<int> starts, lengths;
    QList<StringDict> attributes;
    try {
        html.bParseHTML(text, entries, names, starts, lengths, attributes);
        for (int i = 0; i <= entries + 1; ++i) {
            html.iFindEnd(i, names);
            html.iFindStart(i, names);
            html.iFindEndOf(QStringLiteral("p"), QStringLiteral("div"), i, names);
            html.bIsVoidElement(i, names);
        }
    } catch (const AppError&) {
    }

    ParseClass scan;
    const int length = int(text.size());
    for (int start = 0; start <= length + 2; start += 1 + length / 8) {
        try {
            int pos = start, value = 0;
            double number = 0;
            QString ch;
            scan.SkipWhiteSpace(text, pos);
            scan.bParseChar(text, pos, QStringLiteral("[a-z0-9<]"), ch);
            scan.bPeekChar(text, pos, QStringLiteral("?"), ch);
            scan.bParseRun(text, pos, QStringLiteral("[!<>]"));
            scan.bSkipUntil(text, pos, QStringLiteral("#"));
            scan.bParseInteger(text, pos, value);
            scan.bParseNumber(text, pos, number);
            scan.bParseKeyword(text, pos, QStringLiteral("<p"));
            scan.bParseKeywordNoCase(text, pos, QStringLiteral("BR"));
            if (length > 0) {
                // The input's own head as a pattern.
                scan.bParseChar(text, pos, text.left(1 + start % 6), ch);
            }
        } catch (const AppError&) {
        }
    }
    return 0;
}
