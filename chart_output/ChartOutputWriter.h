#pragma once

#include <memory>

#include <QString>

#include "SVGDisplay.h"

class WriteTextFile;

// The writer every line of a chart file passes through. Each line is encoded
// to ASCII (every character below 32 but TAB, and every character from 128 up,
// becomes a hexadecimal character reference) and written to a UTF-8 file with
// a byte-order mark, lines ending in CR LF.
//
// Line mode writes a line at once (after the pending line, when one is
// pending); join mode collects texts in the pending line, which is written as
// a line of its own when the next text would make it longer than the width.
class ChartOutputWriter : public SVGDisplay::ChartWriter {
public:
    ChartOutputWriter();
    ~ChartOutputWriter() override;
    ChartOutputWriter(const ChartOutputWriter&) = delete;
    ChartOutputWriter& operator=(const ChartOutputWriter&) = delete;

    // Closes a file still open from a failed run (its pending line is not
    // written) and starts writing sFile. File errors rise to the caller.
    void OpenOutput(const QString& sFile);
    // Does nothing while no file is open.
    void WriteOutput(const QString& sText, bool bJoin, int iWidth) override;
    // Writes a non-empty pending line and closes the file; with no file open it
    // only empties the pending line.
    void CloseOutput();

    bool isOpen() const { return file_ != nullptr; }

private:
    void writeLine(const QString& sText);

    std::unique_ptr<WriteTextFile> file_;
    QString pending_;
};

// The program's one chart output writer, and its three calls.
ChartOutputWriter& chartOutput();
void OpenOutput(const QString& sFile);
void WriteOutput(const QString& sText, bool bJoin, int iWidth);
void CloseOutput();
