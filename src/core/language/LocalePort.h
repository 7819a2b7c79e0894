// Where the language choice learns the user's region.
#pragma once

#include <string>

namespace vantrel {

class LocalePort {
  public:
    virtual ~LocalePort() = default;
    // The region's two-letter ISO 3166 code (any case); empty when no region is known.
    virtual std::string TerritoryIsoCode() = 0;
    // The region's name in English, such as "Italy"; empty when unknown.
    virtual std::string EnglishCountryName() = 0;
};

}  // namespace vantrel
