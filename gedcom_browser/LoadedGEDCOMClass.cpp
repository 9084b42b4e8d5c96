#include "LoadedGEDCOMClass.h"

#include "foundation/TextHelpers.h"

LoadedGEDCOMClass::LoadedGEDCOMClass() : SVGVersion(sGetVersion()) {}

std::shared_ptr<PlaceKeyClass> LoadedGEDCOMClass::GetPlaceKeys() {
    if (!PlaceKeys) PlaceKeys = std::make_shared<PlaceKeyClass>();
    return PlaceKeys;
}
