#pragma once

#include <QString>
#include <QStringList>

#include "AppError.h"
#include "Reporter.h"
#include "SVGApplications.h"

// Enables every defined entry and asks each question a chart run asks, in an
// HTML chart and in a plain SVG chart; returns the texts of the AppErrors
// raised on the way (a setting that is not a Boolean).
inline QStringList askEverything(const SVGApplications& apps, Reporter& reporter) {
    QStringList errors;
    QStringList ids, names, descrs, sigs;
    QList<bool> valid;
    apps.GetAppList(ids, names, descrs, valid);
    StringDict settings;
    for (const QString& id : ids) {
        settings.set(id, QStringLiteral("True"));
        (void)apps.GetRequiredClicks(id);
    }
    QStringList dataIds;
    apps.GetDataList(dataIds, descrs, sigs);
    for (const QString& id : dataIds) {
        QString tags, itemNames;
        (void)apps.GetDataSig(id, tags, itemNames);
        (void)apps.UsesPlaceKeys(id + QStringLiteral("|x|y"));
    }
    for (bool svg : {false, true}) {
        try {
            StringDict dict = apps.Load(settings);
            apps.UpdateDictWithSrvs(dict, svg, reporter);
            settings.set(QStringLiteral("SVGFile"), svg ? QStringLiteral("True") : QStringLiteral("False"));
            apps.UpdateSettings(dict, settings);
            QString locals;
            (void)apps.GetLocalSettings(dict, locals);
            (void)apps.ScriptFiles(dict, svg);
            (void)apps.StyleFiles(dict, svg);
            (void)apps.PreambleCode(dict, svg);
            (void)apps.PostambleCode(dict, svg);
            for (const char* place : {"click", "TR", "TL", "BR", "BL"})
                (void)apps.HandlerCode(dict, QString::fromLatin1(place), svg);
            (void)apps.AnythingRequireLib(dict, QStringLiteral("support.js"), svg);
            (void)apps.Validate(dict, svg, reporter);
            (void)apps.GetAllRequiredClicks(dict);
            (void)apps.iCountValidApps(dict, svg);
        } catch (const AppError& e) {
            errors << e.description;
        }
    }
    return errors;
}
