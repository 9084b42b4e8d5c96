// Reads the input as a text file, record by record.
#include <cstdint>

#include "FuzzSupport.h"
#include "ReadTextFile.h"
#include "AppError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::app();
    const QString path = fuzz::writeFile(QStringLiteral("in.txt"), data, size);
    ReadTextFile reader;
    try {
        reader.OpenFile(path);
        (void)reader.GetCharset();
        (void)reader.GetTerminators();
        for (int records = 0; !reader.EOD(); ++records) {
            (void)reader.ReadLine();
            if (records == 2 && size % 3 == 0) reader.SetUTF8();
            if (records > int(size) + 2) __builtin_trap();  // a reader that stops moving
        }
    } catch (const AppError&) {
    }
    return 0;
}
