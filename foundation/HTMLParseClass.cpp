#include "HTMLParseClass.h"

#include <algorithm>

#include "StringSets.h"
#include "TextCoreErrors.h"

namespace {

const QString kNameChars = QStringLiteral("[A-Za-z0-9-_]");

QString lowerAscii(QString s) {
    for (QChar& c : s)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
    return s;
}

const QString& entry(const QList<QString>& sDiv, int i) {
    static const QString none;
    return i >= 1 && i < sDiv.size() ? sDiv[i] : none;
}

}  // namespace

bool HTMLParseClass::bParseHTML(const QString& sText, int& iEntries, QList<QString>& sDiv, QList<int>& iStart,
                                QList<int>& iLength, QList<StringDict>& oAttributes) {
    // Index 0 of each list is an unused slot, so entry i sits at index i.
    iEntries = 0;
    sDiv = {QString()};
    iStart = {0};
    iLength = {0};
    oAttributes = {StringDict()};

    const ParseClass& p = parser_;
    QString ch;
    int pos = 1;
    for (;;) {
        if (!p.bSkipUntil(sText, pos, QStringLiteral("[<]"))) return true;
        const int tagStart = pos;
        ++pos;
        p.SkipWhiteSpace(sText, pos);
        const bool endTag = p.bParseChar(sText, pos, QStringLiteral("[/]"), ch);
        if (endTag) p.SkipWhiteSpace(sText, pos);

        const int nameStart = pos;
        p.bParseRun(sText, pos, kNameChars);
        QString name = lowerAscii(sText.mid(nameStart - 1, pos - nameStart));
        if (name.isEmpty() && !endTag) {
            // "<>" or "< >": passed over, nothing listed.
            if (!p.bParseChar(sText, pos, QStringLiteral("[>]"), ch)) return false;
            continue;
        }
        if (endTag) name.prepend(u'/');
        p.SkipWhiteSpace(sText, pos);

        ++iEntries;
        sDiv.append(name);
        iStart.append(tagStart);
        iLength.append(0);
        oAttributes.append(StringDict());
        StringDict& attributes = oAttributes.last();

        int attrStart = pos;
        while (p.bParseRun(sText, pos, kNameChars)) {
            const QString attrName = lowerAscii(sText.mid(attrStart - 1, pos - attrStart));
            p.SkipWhiteSpace(sText, pos);
            if (!p.bParseChar(sText, pos, QStringLiteral("[=]"), ch)) return false;
            p.SkipWhiteSpace(sText, pos);
            QString quote;
            if (!p.bParseChar(sText, pos, QStringLiteral("[']"), quote) &&
                !p.bParseChar(sText, pos, QStringLiteral("[\"]"), quote))
                return false;
            const int valueStart = pos;
            if (!p.bSkipUntil(sText, pos, quote)) return false;  // unterminated value
            if (!attributes.add(attrName, sText.mid(valueStart - 1, pos - valueStart)))
                throw AppError(RuntimeError::DuplicateKey, TextCoreError::htmlParserSource(),
                               QStringLiteral("This key is already associated with an element of this collection"));
            ++pos;
            p.SkipWhiteSpace(sText, pos);
            attrStart = pos;
        }

        if (!endTag && p.bParseChar(sText, pos, QStringLiteral("[/]"), ch)) {
            sDiv.last() += u'/';
            p.SkipWhiteSpace(sText, pos);
        }
        if (!p.bParseChar(sText, pos, QStringLiteral("[>]"), ch)) return false;
        iLength.last() = pos - tagStart;
    }
}

bool HTMLParseClass::bIsVoidElement(int iEnt, const QList<QString>& sDiv) const {
    static const QString kVoid =
        QStringLiteral("area,base,br,col,command,embed,hr,img,input,keygen,link,meta,param,source,track,wbr");
    const QString& name = entry(sDiv, iEnt);
    return name.endsWith(u'/') || bSetMember(kVoid, name, QStringLiteral(","));
}

int HTMLParseClass::iFindEnd(int iEnt, const QList<QString>& sDiv) const {
    if (bIsVoidElement(iEnt, sDiv)) return iEnt;
    const QString& name = entry(sDiv, iEnt);
    if (name.isEmpty() || name.contains(u'/')) return 0;  // no such entry, or an end tag
    const QString end = u'/' + name;
    int depth = 0;
    for (int i = iEnt + 1; i < sDiv.size(); ++i) {
        if (sDiv[i] == end) {
            if (depth == 0) return i;
            --depth;
        } else if (sDiv[i] == name) {
            ++depth;
        }
    }
    return 0;
}

int HTMLParseClass::iFindStart(int iEnt, const QList<QString>& sDiv) const {
    const QString& end = entry(sDiv, iEnt);
    if (!end.startsWith(u'/')) return 0;
    int depth = 0;
    for (int i = iEnt - 1; i >= 1; --i) {
        if (u'/' + sDiv[i] == end) {
            if (depth == 0) return i;
            --depth;
        } else if (sDiv[i] == end) {
            ++depth;
        }
    }
    return 0;
}

int HTMLParseClass::iFindEndOf(const QString& sTag, const QString& sTag2, int iEnt, const QList<QString>& sDiv) const {
    const QString end1 = u'/' + sTag, end2 = u'/' + sTag2;
    for (int i = std::max(iEnt, 1); i < sDiv.size(); ++i)
        if (sDiv[i] == end1 || sDiv[i] == end2 || sDiv[i] == u'/') return i;
    return 0;
}
