#include "GEDNoteText.h"

#include <initializer_list>

#include "GEDNoteMarkup.h"
#include "TextHelpers.h"

namespace {

bool containsAnyOf(const QString& text, std::initializer_list<const char*> items) {
    for (const char* item : items)
        if (text.contains(QLatin1String(item), Qt::CaseInsensitive))
            return true;
    return false;
}

// The outside service's image-redirect link and its media link. The hosts
// are configuration of this build; the paths and query keys are the
// service's own.
const QString kRedirectPrefix = QStringLiteral("http://trees.genealogy.example/rd?f=image&guid=");
const QString kMediaPrefix = QStringLiteral("https://media.genealogy.example/v2/image/namespaces/1093/media/");
const QString kMediaSuffix = QStringLiteral(".jpg?client=Trees&imageQuality=hq");
const QString kTreeIdKey = QStringLiteral("&tid=");

}  // namespace

bool bHasHTMLEndTag(const QString& sText) {
    // Every tag looked for starts with "<": a text without one is answered
    // at once (notes are looked at for every record of an export).
    if (!sText.contains(QLatin1Char('<')))
        return false;
    return containsAnyOf(sText, {"</a>", "</p>", "</b>", "</i>", "</u>", "<br>", "<br/>", "</div>", "</span>"});
}

bool bHasHTMLEntity(const QString& sText) {
    if (!sText.contains(QLatin1Char('&')))
        return false;
    return containsAnyOf(sText, {"&amp;", "&gt;", "&lt;", "&quot;", "&apos;"});
}

QString sNoteTextToHTML(const QString& sText, bool* pUnsafe) {
    if (bHasHTMLEndTag(sText) || bHasHTMLEntity(sText)) {
        bool unsafe = false;
        QString html = safeNoteMarkup(sText, unsafe);
        if (pUnsafe && unsafe) *pUnsafe = true;
        return html;
    }
    return sEscapeXML(sText);
}

QString sStripHTML(const QString& sText) {
    QString result;
    qsizetype start = 0;
    for (;;) {
        const qsizetype open = sText.indexOf(QLatin1Char('<'), start);
        if (open < 0)
            break;
        const qsizetype close = sText.indexOf(QLatin1Char('>'), open);
        if (close < 0)
            break;
        result += QStringView(sText).mid(start, open - start);
        start = close + 1;
    }
    result += QStringView(sText).mid(start);
    return sUnescapeXML(result);
}

QString sCorrectImageURL(const QString& sURL) {
    if (!sURL.startsWith(kRedirectPrefix))
        return sURL;
    const qsizetype tid = sURL.indexOf(kTreeIdKey, kRedirectPrefix.size());
    if (tid < 0)
        return sURL;
    return kMediaPrefix + sURL.mid(kRedirectPrefix.size(), tid - kRedirectPrefix.size()) + kMediaSuffix;
}

bool bStartsWithLetter(const QString& sText) {
    if (sText.size() <= 2)
        return false;
    const QChar c = sText.at(0);
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
