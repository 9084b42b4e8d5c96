#pragma once

#include <QString>
#include <QStringList>

#include "foundation/OrderedDict.h"

// Parses a record of comma-separated "name=value" local settings of a person
// or family into `settings` (a present name keeps its place, a new one is
// added at the end). Names are checked against three groups: Boolean values,
// free texts and "|"-separated class names ("?" place-markers allowed).
// `kindName` is "Person" or "Family" for the unknown-setting message; errors
// carry `source`. Items before a failing one stay stored.
void parseLocalSettings(const QString& sRec, StringDict& settings, const QString& source, const QString& kindName,
                        const QStringList& booleanNames, const QStringList& textNames,
                        const QStringList& classNames);

// Whether every "|"-separated class of the value passes the key rule once its
// "?" place-markers are removed; the first failing class goes to `badClass`.
bool validClassList(const QString& value, QString* badClass = nullptr);
