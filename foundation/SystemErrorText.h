#pragma once

#include <QString>

// Texts of the system's error codes, as put into I/O error descriptions.

// The system's message for an error code (an errno value), without a trailing
// line end; "Unknown system error code: &H" + the code in upper-case
// hexadecimal when the system has no text for it.
QString sSystemErrorText(int lCode);

// sSystemErrorText of lCode, where 0 stands for the error the last system call
// left (errno).
QString sLastDllErrorText(int lCode = 0);

// A string made from n bytes in the ANSI code page (Windows-1252).
QString sStringFromAnsi(const char* pBytes, qsizetype n);
