#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The ANSI code page of the system: Windows-1252. Bytes 0x81, 0x8D, 0x8F,
// 0x90 and 0x9D (unassigned) decode to the C1 characters of the same value and
// encode back to themselves.
QString decodeWindows1252(const char* bytes, qsizetype n);

// Encodes text in Windows-1252; a character the code page cannot hold (a
// surrogate pair counts as one character) becomes "?".
QByteArray encodeWindows1252(QStringView text);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(const char* bytes, qsizetype n);
// Offset of the first byte at which the bytes stop being well-formed UTF-8
// (the lead of the sequence that is not), or -1 when they all are.
qsizetype firstInvalidUtf8(const char* bytes, qsizetype n);
