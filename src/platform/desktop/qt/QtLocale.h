// The user's region from Qt's system locale, for the language choice.
#pragma once

#include <QLocale>

#include "core/language/LocalePort.h"

namespace vantrel {

class QtLocale : public LocalePort {
  public:
    // The system locale in the program; tests hand in a locale of their own.
    explicit QtLocale(QLocale locale = QLocale::system());

    std::string TerritoryIsoCode() override;
    std::string EnglishCountryName() override;

  private:
    QLocale locale_;
};

}  // namespace vantrel
