#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "RecordingReporter.h"
#include "SVGTree.h"

// Tree definition files written into a temporary folder and loaded from there.
class TreeFiles {
public:
    QString path(const QString& name) const { return dir_.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path(name);
    }
    // UTF-8 with a byte-order mark, CR LF line ends.
    QString writeLines(const QString& name, const QStringList& lines) const {
        QByteArray bytes("\xEF\xBB\xBF");
        for (const QString& l : lines) bytes += l.toUtf8() + "\r\n";
        return write(name, bytes);
    }
    static QByteArray read(const QString& file) {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

private:
    QTemporaryDir dir_;
};

// A tree loaded from a file, reporting into `log`.
inline void loadTree(SVGTree& tree, const QString& file, RecordingReporter& log, bool verify = false) {
    tree.setReporter(&log);
    tree.LoadFile(std::make_shared<SVGDisplay>(), file, verify);
}

// Everything a tree holds that a file carries, as text, for comparing trees.
inline QString describeTree(SVGTree& tree) {
    QStringList out;
    for (const auto& kv : tree.GetSettings()) out << "H " + kv.first + "=" + kv.second;
    for (const auto& kv : tree.GetPlaceKeys().GetDict()) out << "U " + kv.first + "=" + kv.second;
    auto attached = [&](const QStringList& n, const QStringList& t, const QStringList& d, const StringDict& l) {
        for (const auto& x : n) out << " note " + x;
        for (const auto& x : t) out << " tip " + x;
        for (const auto& x : d) out << " data " + x;
        for (const auto& kv : l) out << " local " + kv.first + "=" + kv.second;
    };
    for (const auto& kv : tree.GetPersons()) {
        const SVGBox& p = *kv.second;
        out << QString("P %1 [%2] %3 %4 %5,%6 [%7] [%8] [%9]")
                   .arg(kv.first, p.GetImage(), p.GetTentative() ? "tent" : "sure", p.GetSex())
                   .arg(p.GetTreeCol())
                   .arg(p.GetTreeRow())
                   .arg(p.GetText(), p.GetShortText(), p.GetPersonalNames());
        attached(p.GetNotes(), p.GetTooltips(), p.GetProgData(), p.GetLocSettings());
    }
    for (const auto& kv : tree.GetFamilies()) {
        const SVGFamily& f = *kv.second;
        QStringList children;
        for (const auto& c : f.GetChildren()) children << c->GetKey();
        out << QString("F %1 %2+%3 [%4] more=%5 liaison=%6")
                   .arg(kv.first, f.GetFirstPar()->GetKey(), f.GetSecPar()->GetKey(), children.join(","))
                   .arg(f.GetMoreChildren())
                   .arg(f.GetLiaison());
        attached(f.GetNotes(), f.GetTooltips(), f.GetProgData(), f.GetLocSettings());
    }
    for (const auto& kv : tree.GetViewpoints()) {
        const SVGViewpointClass& v = *kv.second;
        out << QString("V %1 %2 %3x%4 fams=%5").arg(kv.first, v.GetName()).arg(v.GetCols()).arg(v.GetRows()).arg(v.GetFamSet());
        for (const auto& pv : v.GetPerDict()) out << " p " + pv.first + " " + QString::number(pv.second);
    }
    return out.join("\n");
}
