#include "ChartOutputWriter.h"

#include "foundation/TextHelpers.h"
#include "foundation/WriteTextFile.h"

ChartOutputWriter::ChartOutputWriter() = default;
ChartOutputWriter::~ChartOutputWriter() = default;

void ChartOutputWriter::OpenOutput(const QString& sFile) {
    if (file_) {
        pending_.clear();
        auto old = std::move(file_);
        old->CloseFile();
    }
    pending_.clear();
    auto file = std::make_unique<WriteTextFile>();
    file->OpenFile(sFile, false);
    file_ = std::move(file);
}

namespace {
// True when encoding would change nothing: the text holds only tabs and
// printable ASCII, as nearly every line of a chart body does.
bool isPlainASCII(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 128 || (u < 32 && u != u'\t')) return false;
    }
    return true;
}
}  // namespace

void ChartOutputWriter::writeLine(const QString& sText) {
    file_->WriteLine(isPlainASCII(sText) ? sText : sEncodeNonASCII(sText));
}

void ChartOutputWriter::WriteOutput(const QString& sText, bool bJoin, int iWidth) {
    if (!file_) return;
    if (bJoin) {
        if (pending_.size() + sText.size() > iWidth) {
            writeLine(pending_);
            pending_.clear();
        }
        pending_ += sText;
    } else if (!pending_.isEmpty()) {
        writeLine(pending_ + sText);
        pending_.clear();
    } else {
        writeLine(sText);
    }
}

void ChartOutputWriter::CloseOutput() {
    if (file_) {
        if (!pending_.isEmpty()) writeLine(pending_);
        pending_.clear();
        auto file = std::move(file_);
        file->CloseFile();
    } else {
        pending_.clear();
    }
}

ChartOutputWriter& chartOutput() {
    static ChartOutputWriter writer;
    return writer;
}

void OpenOutput(const QString& sFile) { chartOutput().OpenOutput(sFile); }
void WriteOutput(const QString& sText, bool bJoin, int iWidth) { chartOutput().WriteOutput(sText, bJoin, iWidth); }
void CloseOutput() { chartOutput().CloseOutput(); }
