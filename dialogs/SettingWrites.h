#pragma once

#include <QString>

#include "foundation/OrderedDict.h"

// How the settings dialogs read and write the tree's header settings: a key
// that was absent is appended at the end, so the tree file lists it last.

// The state of a switch: its stored Boolean text, or fallback when the key is
// absent or its text is no Boolean (such as "yes" or an empty text).
bool readSwitch(const StringDict& settings, const QString& key, bool fallback);
// Stores a switch as "True" or "False".
void writeSwitch(StringDict& settings, const QString& key, bool on);
// Stores a text as typed; an empty text removes the key.
void writeTextSetting(StringDict& settings, const QString& key, const QString& text);

// The number a grid-size text gives: plain decimal digits with at most one
// ".", rounded to a whole number with halves to even ("12.5" gives 12). False
// when the text is no such number.
bool wholeGridNumber(const QString& text, int& value);
