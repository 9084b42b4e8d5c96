#pragma once

// Marks the library's API: the library is built with hidden visibility, so
// only what carries this mark is exported from libkinread.so.
#define KINREAD_API __attribute__((visibility("default")))
