#pragma once

#include <QString>

class Reporter;
class SVGTree;

// Fetches a local copy of every person's remote image: an image written as a
// place-key reference ("$key:rest", the key a valid name) whose place key
// gives both an internet location and a local folder, and whose local file
// does not exist yet, is downloaded to that file and logged. An existing
// file is never replaced. The first failed download ends the run with its
// error (files fetched before stay); after the last person the closing line
// is logged.
void LocaliseImages(const SVGTree& tree, Reporter& reporter);
