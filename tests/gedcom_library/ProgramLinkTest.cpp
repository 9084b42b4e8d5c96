#include <gtest/gtest.h>

#include <dlfcn.h>

#include "AppError.h"
#include "GEDControlClass.h"
#include "QStringPrinting.h"
#include "TextHelpers.h"

namespace {

// This executable links the foundation and the library side by side, as the
// program does: the program's own helpers and the library's API both work.
TEST(ProgramLink, ProgramAndLibraryVersionsSideBySide) {
    auto control = createGEDControl();
    EXPECT_EQ(control->GetVersion(), sGetVersion());
    EXPECT_EQ(sEscapeXML(QStringLiteral("a&b")), QStringLiteral("a&amp;b"));
}

TEST(ProgramLink, ErrorsThrownInTheLibraryAreCaughtByTheProgram) {
    auto control = createGEDControl();
    try {
        control->sDateSVG2GED(QStringLiteral("1850-13"));
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, errorNumber(514));
        EXPECT_EQ(e.source, QStringLiteral("GEDControlClass"));
        EXPECT_FALSE(e.description.isEmpty());
    }
}

TEST(ProgramLink, OnlyTheApiIsExported) {
    void* library = dlopen("libkinread.so.0", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << dlerror();
    EXPECT_NE(dlsym(library, "_Z16createGEDControlv"), nullptr);
    // The library's own copy of the foundation's helpers stays inside it.
    EXPECT_EQ(dlsym(library, "_Z10sEscapeXMLRK7QString"), nullptr);
    dlclose(library);
}

}  // namespace
