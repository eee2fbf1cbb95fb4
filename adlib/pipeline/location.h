// YBXLocation: the user's location on an ad request, either a precise point
// (latitude, longitude, accuracy) or a description alone, stamped with the
// time it was made. Immutable once made, except for its cached dictionary;
// used on the main thread with its request.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXLocation : public NSObject {
public:
    // Null unless the point is precise.
    static Ref<YBXLocation> make(double latitude, double longitude, double accuracy);
    // Null for an empty or missing text.
    static Ref<YBXLocation> make(const Value& description);

    // |latitude| <= 90, |longitude| <= 180, neither within single-precision
    // epsilon of 0.
    static bool isPrecise(double latitude, double longitude);
    bool isPreciseLocation() const { return isPrecise(latitude, longitude); }
    // The text; for a precise point without one "%f,%f"; else "".
    std::string locationDescriptionText() const;
    // The point as the ad server reads it; nil for a description-only location.
    Value dictionaryRepresentation();
    bool isEqual(const YBXLocation* other) const;
    unsigned long hash() const;
    Ref<YBXLocation> copy() const;

    double latitude = 0, longitude = 0, accuracy = 0;
    double timestamp = 0;  // unix seconds
    Value locationDescription;

private:
    Value dictionary_;
};

void registerLocationClass();

}  // namespace adlib
