#pragma once

#include <QString>

// A stateless scanner over a text and a 1-based character position that the
// caller owns and the operations move forward; position length + 1 is the end.
// White space is the space and the tab only.
//
// Character patterns match one character: "#" a digit, "?" any character,
// "[...]" a class of characters and ranges ("[!...]" negates it), any other
// character itself. The end of the text matches no pattern.
class ParseClass {
public:
    // Moves past spaces and tabs.
    void SkipWhiteSpace(const QString& sText, int& iPos) const;
    // Skips blanks, then takes one character matching the pattern.
    bool bParseChar(const QString& sText, int& iPos, const QString& sPattern, QString& sChar) const;
    // As bParseChar, but the caller's position does not move.
    bool bPeekChar(const QString& sText, const int& iPos, const QString& sPattern, QString& sChar) const;
    // Moves past a run of at least one matching character (no blank skip).
    bool bParseRun(const QString& sText, int& iPos, const QString& sPattern) const;
    // Moves onto the next matching character at or after the position; at the
    // end returns False with the position at length + 1.
    bool bSkipUntil(const QString& sText, int& iPos, const QString& sPattern) const;
    // Skips blanks, then takes the keyword when it stands exactly at the position.
    bool bParseKeyword(const QString& sText, int& iPos, const QString& sKeyword) const;
    // As bParseKeyword, letters compared without regard to case.
    bool bParseKeywordNoCase(const QString& sText, int& iPos, const QString& sKeyword) const;
    // Skips blanks, then reads a run of digits (no sign); a value beyond
    // 2,147,483,647 raises the overflow error (the position is then past the run).
    bool bParseInteger(const QString& sText, int& iPos, int& iValue) const;
    // Skips blanks, then reads digits, "." and digits ("." as decimal point, blanks inside ignored).
    bool bParseNumber(const QString& sText, int& iPos, double& dValue) const;
};
