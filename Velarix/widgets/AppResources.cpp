#include "Velarix/widgets/AppResources.h"

#include <mutex>

// Resources of a static library must be registered by name, outside any namespace.
static void registerAppResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velarix {

void ensureAppResources() {
    static std::once_flag once;
    std::call_once(once, registerAppResources);
}

} // namespace velarix
