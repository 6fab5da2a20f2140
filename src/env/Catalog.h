// The catalog layer: every user-visible text is looked up by its English message id.
//
// For now the lookup hands the English text back unchanged; the gettext catalogs plug in here.
#pragma once

#include <QString>

namespace Catalog {

// A translatable text of a shared module. Declared once, next to the module's other texts,
// and fetched with LoadResString at the moment it is shown.
struct TResourceString {
    const char* Text;  // the English message id, UTF-8
};

// The text of a resource string in the interface language.
QString LoadResString(const TResourceString& resource);

}  // namespace Catalog
