// Translating a window: every user-visible text of the window and of everything it owns is
// looked up once in a catalog domain when the window is created.
#pragma once

#include <QString>

class QCoreApplication;
class QObject;

namespace Catalog {

// Objects of this class (and of classes derived from it), and properties of this type, are
// never translated. The programs exclude the font class this way before any window exists.
void TP_GlobalIgnoreClass(const char* className);

// Translates, in `domain` ("default" when empty), the window title, texts, tool tips, status
// tips, placeholders, titles of group boxes, menus and tabs, the items of combo and list boxes,
// and the texts of actions of `window` and of every object it owns. Object names are never
// translated, and a text is translated only the first time.
void TranslateComponent(QObject* window, const QString& domain = QString());

// Loads the toolkit's own texts (the edit fields' menus, its standard dialogs) in the interface
// language, where the system has them; they stay with the application until it ends.
void LoadToolkitTranslations(QCoreApplication& application);

}  // namespace Catalog
