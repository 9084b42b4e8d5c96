#pragma once

// Set by the start-up switch 0: pictures are then loaded by the plain loader
// (one image, no alpha handling, no frames) instead of the picture loader.
extern bool bPlainLoadPicture;
