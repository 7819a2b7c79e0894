#include "ui/InfoResources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitInfoResourcesOnce() {
    Q_INIT_RESOURCE(info);
}

namespace vantrel {

void InitInfoResources() {
    static const bool done = (InitInfoResourcesOnce(), true);
    (void)done;
}

}  // namespace vantrel
