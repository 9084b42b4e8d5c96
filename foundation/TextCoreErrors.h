#pragma once

#include <QString>

#include "AppError.h"

// Error numbers and source names of the text core (text files, scanner,
// helpers). The GEDCOM library compiles its own copy of these pieces with
// KV_KINREAD_BUILD defined and then raises its own numbers.
namespace TextCoreError {
#ifdef KV_KINREAD_BUILD
inline constexpr int TextIO = 518;   // text-file input and output
inline constexpr int SetUTF8 = 519;  // SetUTF8 called on a file it cannot apply to
#else
inline constexpr int TextIO = ErrorOffset::TextFileIO;  // 527
inline constexpr int SetUTF8 = 521;
#endif

inline QString readerSource() { return QStringLiteral("ReadTextFile"); }
inline QString writerSource() { return QStringLiteral("WriteTextFile"); }
inline QString scannerSource() { return QStringLiteral("ParseClass"); }
inline QString htmlParserSource() { return QStringLiteral("HTMLParseClass"); }
}  // namespace TextCoreError

// Plain (not base-offset) numbers of the runtime errors the helpers raise where
// a conversion cannot hold its value or a dictionary refuses a second key.
namespace RuntimeError {
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int DuplicateKey = 457;
}  // namespace RuntimeError
