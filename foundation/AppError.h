#pragma once

#include <exception>

#include <QString>

// The one exception type of the system. Numbers are the object-defined error
// base plus the offset of each kind of error; `source` names the class, module
// or procedure that raised it. Its type is visible across the GEDCOM library's
// boundary so that the program catches what the library throws.
struct __attribute__((visibility("default"))) AppError : std::exception {
    int number = 0;
    QString source;
    QString description;

    AppError() = default;
    AppError(int number, QString source, QString description);

    const char* what() const noexcept override;

private:
    QByteArray whatText;
};

// The object-defined error base, 0x80040000 as a signed 32-bit value.
inline constexpr int kErrorBase = static_cast<int>(0x80040000u);

// Error numbers of the program (base + offset).
namespace ErrorOffset {
inline constexpr int RecordSyntax = 514;       // a record of a file is malformed
inline constexpr int InvalidKey = 515;         // invalid key, value or relation
inline constexpr int EventDates = 519;         // event dates
inline constexpr int WrongPlace = 524;         // a definition or reference in the wrong place
inline constexpr int TextFileIO = 527;         // text-file input and output
inline constexpr int XmlParse = 528;           // XML parse
}  // namespace ErrorOffset

// The fixed number raised when the user cancels a file dialog; handlers end
// silently on it.
inline constexpr int kCancelErrorNumber = 32755;

inline int errorNumber(int offset) { return kErrorBase + offset; }

[[noreturn]] void raiseError(int offset, const QString& source, const QString& description);
