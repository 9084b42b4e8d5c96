// Expands the input as a chart header template, in an SVG and an HTML chart;
// the input's first line also stands as the value of a variable.
#include <cstdint>

#include "FuzzSupport.h"
#include "HeaderTemplate.h"
#include "HeaderVariables.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGDisplay.h"
#include "SVGTree.h"
#include "AppError.h"

namespace {
class CountingWriter : public SVGDisplay::ChartWriter {
public:
    void WriteOutput(const QString& sText, bool, int) override { written += sText.size(); }
    qsizetype written = 0;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::app();
    const QString path = fuzz::writeFile(QStringLiteral("header.svg"), data, size);
    RecordingReporter log;
    SVGTree tree(std::make_shared<SVGDisplay>());
    tree.setReporter(&log);
    tree.SetAppDict(StringDict());
    SVGApplications apps;
    StringDict vars = HeaderVariables::BuildHeaderVars(tree);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    vars.set(QStringLiteral("fuzz"), text.section(u'\n', 0, 0));
    for (bool svg : {true, false}) {
        tree.GetSettings().set(QStringLiteral("SVGFile"), svg ? QStringLiteral("True") : QStringLiteral("False"));
        tree.GetDisplay()->Init(tree.GetSettings());
        CountingWriter out;
        try {
            HeaderTemplate header(tree, apps, out, log, fuzz::scratch().path(), fuzz::scratch().path());
            header.CopyHeaderFile(path, vars);
        } catch (const AppError&) {
        }
        (void)HeaderVariables::sSubstituteVars(text, vars);
    }
    return 0;
}
