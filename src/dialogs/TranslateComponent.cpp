// Translating windows.
#include "TranslateComponent.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMetaProperty>
#include <QTabWidget>
#include <QTranslator>

#include "Catalog.h"

namespace Catalog {

namespace {

// Set on an object once its texts are translated.
constexpr char kTranslatedMark[] = "catalogTranslated";

QList<QByteArray>& IgnoredClasses() {
    static QList<QByteArray> classes;
    return classes;
}

bool IsIgnored(const QObject* object) {
    for (const QByteArray& name : IgnoredClasses()) {
        if (object->inherits(name.constData())) return true;
    }
    return false;
}

// A property of an ignored type (a font, say) is never looked at.
bool IsIgnoredProperty(const QObject* object, const char* property) {
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty(property);
    if (index < 0) return false;
    const QByteArray type = meta->property(index).typeName();
    return IgnoredClasses().contains(type);
}

class Translator {
  public:
    explicit Translator(const QString& domain)
        : domain_(domain.isEmpty() ? QByteArray("default") : domain.toUtf8()) {}

    QString operator()(const QString& text) const {
        if (text.trimmed().isEmpty()) return text;
        return dgettext(domain_.constData(), text.toUtf8().constData());
    }

    void TranslateProperty(QObject* object, const char* property) const {
        if (IsIgnoredProperty(object, property)) return;
        const QVariant value = object->property(property);
        if (value.typeId() != QMetaType::QString) return;
        const QString text = value.toString();
        const QString translated = (*this)(text);
        if (translated != text) object->setProperty(property, translated);
    }

    void Translate(QObject* object) const {
        if (IsIgnored(object) || object->property(kTranslatedMark).toBool()) return;
        object->setProperty(kTranslatedMark, true);

        if (auto* widget = qobject_cast<QWidget*>(object)) {
            for (const char* property : {"windowTitle", "toolTip", "statusTip", "whatsThis"}) {
                TranslateProperty(widget, property);
            }
        }
        if (qobject_cast<QAbstractButton*>(object) || qobject_cast<QLabel*>(object)) {
            TranslateProperty(object, "text");
        }
        if (qobject_cast<QLineEdit*>(object)) TranslateProperty(object, "placeholderText");
        if (qobject_cast<QGroupBox*>(object) || qobject_cast<QMenu*>(object)) {
            TranslateProperty(object, "title");
        }
        if (auto* combo = qobject_cast<QComboBox*>(object)) {
            for (int i = 0; i < combo->count(); ++i) {
                combo->setItemText(i, (*this)(combo->itemText(i)));
            }
        }
        if (auto* list = qobject_cast<QListWidget*>(object)) {
            for (int i = 0; i < list->count(); ++i) {
                list->item(i)->setText((*this)(list->item(i)->text()));
            }
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(object)) {
            for (int i = 0; i < tabs->count(); ++i)
                tabs->setTabText(i, (*this)(tabs->tabText(i)));
        }
        if (auto* action = qobject_cast<QAction*>(object)) {
            // An action without a tool tip of its own shows its text; leave that link alone.
            const bool ownToolTip = action->toolTip() != QString(action->text()).remove(u'&');
            TranslateProperty(action, "text");
            if (ownToolTip) TranslateProperty(action, "toolTip");
            TranslateProperty(action, "statusTip");
        }
    }

  private:
    QByteArray domain_;
};

}  // namespace

void TP_GlobalIgnoreClass(const char* className) {
    const QByteArray name(className);
    if (!IgnoredClasses().contains(name)) IgnoredClasses() << name;
}

void TranslateComponent(QObject* window, const QString& domain) {
    const Translator translate(domain);
    translate.Translate(window);
    for (QObject* owned : window->findChildren<QObject*>()) {
        // Whatever an ignored object owns stays as it is, too.
        bool insideIgnored = false;
        for (QObject* parent = owned->parent(); parent != window && parent != nullptr;
             parent = parent->parent()) {
            insideIgnored = insideIgnored || IsIgnored(parent);
        }
        if (!insideIgnored) translate.Translate(owned);
    }
}

void LoadToolkitTranslations(QCoreApplication& application) {
    const QString language = CurrentLanguage();
    if (language.isEmpty() || language == QLatin1String("C")) return;
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;  // English it is
    }
}

}  // namespace Catalog
