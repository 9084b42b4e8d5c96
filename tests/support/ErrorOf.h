#pragma once

#include <gtest/gtest.h>

#include "AppError.h"

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
