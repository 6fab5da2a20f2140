// The catalog layer; until catalogs are bound every text stays English.
#include "Catalog.h"

namespace Catalog {

QString LoadResString(const TResourceString& resource) {
    return QString::fromUtf8(resource.Text);
}

}  // namespace Catalog
