#include "PlainLoadPicture.h"

bool bPlainLoadPicture = false;
