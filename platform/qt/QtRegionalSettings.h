#pragma once
// The regional formats of a Qt locale.
#include <QLocale>

#include "platform/RegionalSettings.h"

namespace platform {

RegionalSettings RegionalSettingsFromLocale(const QLocale& locale = QLocale());

}  // namespace platform
