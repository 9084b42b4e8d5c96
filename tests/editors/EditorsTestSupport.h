#pragma once

#include <gtest/gtest.h>

#include <QDate>

#include "../gedcom_library/QStringPrinting.h"
#include "DateContext.h"
#include "foundation/AppError.h"

// A fixed day and English month names: nothing depends on the clock or the locale.
inline DateContext testContext() { return DateContext::english(QDate(2024, 2, 10)); }

// The error a call raises; a test failure when it raises none.
template <typename F>
AppError errorOf(F&& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return AppError();
}
