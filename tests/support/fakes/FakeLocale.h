// A locale with a region given by the test.
#pragma once

#include <string>
#include <utility>

#include "core/language/LocalePort.h"

namespace vantrel {

class FakeLocale : public LocalePort {
  public:
    FakeLocale(std::string isoCode, std::string countryName)
        : isoCode_(std::move(isoCode)), countryName_(std::move(countryName)) {}

    std::string TerritoryIsoCode() override { return isoCode_; }
    std::string EnglishCountryName() override { return countryName_; }

  private:
    std::string isoCode_;
    std::string countryName_;
};

}  // namespace vantrel
