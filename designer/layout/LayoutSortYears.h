#pragma once

#include <QString>

class SVGBox;
class SVGFamily;

// The years the layout sorts children and marriages by, found in a person's
// box text or in the event mark-up of notes; 0 when none is found.
class LayoutSortYears {
public:
    // The first four digits from 1000 to 2500 not followed by a digit and not
    // after "-", an en dash, "-c" or an en dash and "c". 0 when there is none.
    static int iYearFromText(const QString& sText);
    // The year of the first Birth or Baptism (bPerson) or Marriage event of
    // the event mark-up in the joined notes text; 0 when there is none.
    static int iEventYear(const QString& sNotes, bool bPerson);
    // The year in the box text, else that of the first Birth or Baptism event.
    static int personYear(const SVGBox& box);
    // The year of the first Marriage event, else any year of the notes, else
    // of the tooltips, else the first child's year less one.
    static int familyYear(const SVGFamily& fam, int firstChildYear);
};
