#pragma once

#include <gtest/gtest.h>

#include <QDate>

#include "../gedcom_library/QStringPrinting.h"
#include "DateContext.h"
#include "ErrorOf.h"
#include "foundation/AppError.h"

// A fixed day and English month names: nothing depends on the clock or the locale.
inline DateContext testContext() { return DateContext::english(QDate(2024, 2, 10)); }

