#include "platform/desktop/qt/QtLocale.h"

#include <utility>

namespace vantrel {

QtLocale::QtLocale(QLocale locale) : locale_(std::move(locale)) {}

std::string QtLocale::TerritoryIsoCode() {
    return QLocale::territoryToCode(locale_.territory()).toStdString();
}

std::string QtLocale::EnglishCountryName() {
    // Qt names the missing territory "Default", which is no country.
    if (locale_.territory() == QLocale::AnyTerritory) return {};
    return QLocale::territoryToString(locale_.territory()).toStdString();
}

}  // namespace vantrel
