// Translating windows: texts in the domain, once; names and ignored classes never.
#include "TranslateComponent.h"

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>

#include "Catalog.h"

namespace {

void UseLanguage(const char* code) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    Catalog::UseLanguage(code);
}

}  // namespace

TEST(TranslateComponent, TranslatesEveryTextOfTheWindowButNotItsNames) {
    UseLanguage("de");
    QWidget window;
    window.setWindowTitle("Synchronize folders");
    auto* start = new QPushButton("Start", &window);
    start->setObjectName("Preview");  // a name that is also a message id
    start->setToolTip("Edit file filter");
    auto* box = new QCheckBox("Include subdirectories", &window);
    auto* label = new QLabel("Nothing to do!", &window);
    label->setFont(QFont("Preview"));
    auto* combo = new QComboBox(&window);
    combo->addItems({"Preview", "not a message id"});
    auto* edit = new QLineEdit(&window);
    edit->setPlaceholderText("File filter:");
    auto* menu = new QMenu("Preview", &window);
    QAction* action = menu->addAction("Only duplicate files");

    Catalog::TranslateComponent(&window);

    EXPECT_EQ(window.windowTitle(), "Ordner synchronisieren");
    EXPECT_EQ(start->text(), "Start");
    EXPECT_EQ(start->objectName(), "Preview");
    EXPECT_EQ(start->toolTip(), "Dateifilter bearbeiten");
    EXPECT_EQ(box->text(), "Unterverzeichnisse einbeziehen");
    EXPECT_EQ(label->text(), "Nichts zu tun!");
    EXPECT_EQ(label->font().family(), "Preview");
    EXPECT_EQ(combo->itemText(0), "Vorschau");
    EXPECT_EQ(combo->itemText(1), "not a message id");
    EXPECT_EQ(edit->placeholderText(), "Dateifilter:");
    EXPECT_EQ(menu->title(), "Vorschau");
    EXPECT_EQ(action->text(), "Nur doppelt vorhandene Dateien");
    UseLanguage("en");
}

TEST(TranslateComponent, TranslatesOnceInTheGivenDomain) {
    UseLanguage("de");
    QWidget window;
    auto* label = new QLabel("Select directory", &window);  // a text of the dialogs
    Catalog::TranslateComponent(&window, "dialogs");
    EXPECT_EQ(label->text(), "Verzeichnis auswählen");
    label->setText("Preview");  // set later in code: a second pass leaves it alone
    Catalog::TranslateComponent(&window, "dialogs");
    Catalog::TranslateComponent(&window);
    EXPECT_EQ(label->text(), "Preview");
    UseLanguage("en");
}

TEST(TranslateComponent, IgnoredClassesKeepTheirTexts) {
    UseLanguage("de");
    Catalog::TP_GlobalIgnoreClass("QCheckBox");
    QWidget window;
    auto* box = new QCheckBox("Only duplicate files", &window);
    auto* button = new QPushButton("Preview", &window);
    Catalog::TranslateComponent(&window);
    EXPECT_EQ(box->text(), "Only duplicate files");
    EXPECT_EQ(button->text(), "Vorschau");
    UseLanguage("en");
}

TEST(TranslateComponent, TheToolkitsOwnTextsFollowTheInterfaceLanguage) {
    const auto copyInEditMenus = [] { return QCoreApplication::translate("QLineEdit", "&Copy"); };
    UseLanguage("C");
    Catalog::LoadToolkitTranslations(*QCoreApplication::instance());
    EXPECT_EQ(copyInEditMenus(), "&Copy");

    UseLanguage("de");
    Catalog::LoadToolkitTranslations(*QCoreApplication::instance());
    EXPECT_EQ(copyInEditMenus(), "&Kopieren") << "Qt's German translations are not installed";
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    UseLanguage("C");
}
