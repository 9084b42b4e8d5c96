#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringView>

#include "GEDBigTable.h"
#include "GEDLineParser.h"
#include "GEDTextIndex.h"

class GEDControlClass;
class GEDDocClass;
class GEDStore;

// One run of reading a GEDCOM file into a new document: lines are folded with
// their CONC/CONT continuations, made into line objects and attached to the
// nearest open line of a lower level; then the declared character set and
// version are checked and the document finishes itself.
class GEDLoader {
public:
    explicit GEDLoader(GEDControlClass& control);
    // The document, or none when the control's abandon flag stopped the load.
    std::shared_ptr<GEDDocClass> load(const QString& sFile);

private:
    // Text of the line being read, kept from line to line in one buffer
    // that only grows: a file has millions of lines.
    class Units {
    public:
        void assign(QStringView text) {
            size_ = 0;
            append(text);
        }
        // Units past the text stay readable (kSlack of them), so that it can
        // be searched in whole blocks.
        static constexpr std::size_t kSlack = 8;
        void append(QStringView text) {
            const auto n = static_cast<std::size_t>(text.size());
            if (size_ + n + kSlack > units_.size()) units_.resize(std::max<std::size_t>(size_ + n + kSlack, 2 * units_.size()));
            std::copy(text.utf16(), text.utf16() + n, units_.data() + size_);
            size_ += n;
        }
        void push(char16_t unit) { append(QStringView(&unit, 1)); }
        void truncate(std::size_t size) { size_ = size; }
        bool isEmpty() const { return size_ == 0; }
        // Slack too, when nothing was added yet.
        char16_t* data() {
            if (units_.empty()) units_.resize(kSlack);
            return units_.data();
        }
        QStringView view() const { return QStringView(units_.data(), static_cast<qsizetype>(size_)); }

    private:
        std::vector<char16_t> units_;
        std::size_t size_ = 0;
    };
    static void undoubleAtSigns(Units& text);
    static qsizetype nextLineBreak(QStringView text, qsizetype from);
    void completePending();
    void attachTop();
    // A record whose identifier an earlier one has taken is kept under a
    // fresh identifier, free in the whole file, and warned about.
    void keepDuplicates();
    void checkCharacterSet(const QString& readerCharset, bool byteOrderMark, bool nonAscii);
    void checkVersion();
    qint32 newDateLine(QStringView gedcomDate);
    qint32 newPlaceLine(QStringView place);

    GEDControlClass& control;
    std::shared_ptr<GEDStore> store;
    GEDLineParser parser;
    std::vector<bool> eventTags;
    // Open lines by nesting: slot 0 is the document, slot n + 1 the open line of level n.
    std::vector<qint32> slots;
    qint32 top = -1;
    // The line read last that is not yet an object.
    bool hasPending = false;
    qint32 pendingLevel = 0;
    qint32 pendingLineNumber = 0;
    short pendingTag = 0;
    Units pendingXref;
    Units pendingText;
    // The line of each record with an identifier, in line order, and the
    // records whose identifier was taken already.
    struct XrefLine {
        qint32 node;
        qint32 line;
    };
    GEDBigVector<XrefLine> xrefLines;
    struct Duplicate {
        qint32 node;
        qint32 line;
        QString xref;
    };
    std::vector<Duplicate> duplicates;
    // Dates already converted without complaint, by their GEDCOM text (to
    // their row in the document's date texts), for the earliest valid year
    // they were converted with.
    GEDTextIndex convertedDates;
    short convertedMinYear = 0;
    // Where in the document's text the first line of each converted date
    // (by its row in the document's date texts) and of each place (by its
    // row in knownPlaces) holds it.
    struct TextAt {
        quint32 offset;
        quint32 length;
    };
    std::vector<TextAt> dateAt;
    GEDTextIndex knownPlaces;
    std::vector<TextAt> placeAt;
};
