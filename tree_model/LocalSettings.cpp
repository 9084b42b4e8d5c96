#include "LocalSettings.h"

#include "TreeText.h"
#include "foundation/TextHelpers.h"
#include "foundation/AppError.h"

bool validClassList(const QString& value, QString* badClass) {
    for (const QString& cls : value.split(u'|')) {
        if (!bValidName(QString(cls).remove(u'?'))) {
            if (badClass) *badClass = cls;
            return false;
        }
    }
    return true;
}

void parseLocalSettings(const QString& sRec, StringDict& settings, const QString& source, const QString& kindName,
                        const QStringList& booleanNames, const QStringList& textNames,
                        const QStringList& classNames) {
    for (const QString& item : sRec.split(u',')) {
        const int eq = item.indexOf(u'=');
        if (eq < 0)
            raiseError(ErrorOffset::RecordSyntax, source,
                       QStringLiteral("Syntax error: missing equals sign in setting: ") + item);
        const QString name = trimBlanks(item.left(eq));
        const QString value = trimBlanks(item.mid(eq + 1));
        if (booleanNames.contains(name)) {
            if (!bIsBoolean(value))
                raiseError(ErrorOffset::InvalidKey, source,
                           QStringLiteral("Local setting ") + name + QStringLiteral(" must have a Boolean value"));
        } else if (textNames.contains(name)) {
            // any text
        } else if (classNames.contains(name)) {
            QString bad;
            if (!validClassList(value, &bad))
                raiseError(ErrorOffset::InvalidKey, source,
                           QStringLiteral("Class name can only contain alphanumerics, underscores, and hyphens "
                                          "(starting with an alphabetic), or \"?\" place-markers: ") +
                               bad);
        } else {
            raiseError(ErrorOffset::InvalidKey, source,
                       QStringLiteral("Unknown local ") + kindName + QStringLiteral(" setting: ") + name);
        }
        settings.set(name, value);
    }
}
