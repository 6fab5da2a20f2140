// Shows one of the shared dialogs as a person sees it, for screenshots (scripts/screenshot.sh);
// not part of the programs.
//   dialogs_demo --show-dialog NAME [-lang:de] [--dir FOLDER]
// NAME: select, select-long, select-path, select-short, input, input-long, chartable, list,
// list-multi, list-add, list-remove, folder, folder-files, folder-new, folder-delete,
// folder-deleted, folder-trashed. The folder dialogs start at FOLDER (default: none given).
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "Catalog.h"
#include "CharTableDlg.h"
#include "FormatSafe.h"
#include "InpText.h"
#include "SelectDlg.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"

namespace {

QString Dialogs(const char* msgid) {
    return Catalog::dgettext("dialogs", msgid);
}

// Clicks a button of the list editor once it is shown.
void ClickLater(const char* button, int row) {
    QTimer::singleShot(500, [button, row] {
        auto* dialog = SelectFromListDlg::TSelectFromListDialog::Instance();
        if (row >= 0) dialog->findChild<QListWidget*>("lbxStringList")->setCurrentRow(row);
        dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
}

// Clicks the button with this caption in the window on top, once it is shown.
void ClickInTopWindowLater(int delay, const QString& caption) {
    QTimer::singleShot(delay, [caption] {
        QWidget* top = QApplication::activeModalWidget();
        if (top == nullptr) return;
        for (QAbstractButton* button : top->findChildren<QAbstractButton*>()) {
            if (QString(button->text()).remove(u'&') == caption) button->click();
        }
    });
}

QString StartFolder;

void ShowFolders(bool files, const char* action = nullptr) {
    auto* dialog = ShellDirDlg::TShellDirDialog::Instance();
    dialog->findChild<QCheckBox*>("cbxFiles")->setChecked(files);
    if (action != nullptr) {
        QTimer::singleShot(800, [dialog, action] {
            dialog->findChild<QAction*>(QString::fromLatin1(action))->trigger();
        });
    }
    QString dir = StartFolder;
    dialog->Execute(Catalog::dgettext("default", "Select first folder"), true, true, true,
                    qEnvironmentVariable("HOME"), dir);
}

void ShowList(SelectFromListDlg::TSelectOptions options, int columns, const QString& hint) {
    QStringList filter = {"*.txt", "*.doc", "*.odt", "report 2024 final.pdf", "*.jpg"};
    QString chosen = "*.DOC";
    SelectFromListDlg::TSelectFromListDialog::Instance()->Execute(
        QPoint(200, 150), "Pairwell", Catalog::dgettext("default", "File filter:"), hint, options,
        columns, StringUtils::tcLower, "*.*", filter, chosen, true, {});
}

}  // namespace

int main(int argc, char** argv) {
    std::string name;
    std::string language = "en";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--show-dialog") == 0 && i + 1 < argc) name = argv[++i];
        if (std::strncmp(argv[i], "-lang:", 6) == 0) language = argv[i] + 6;
        if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) StartFolder = argv[++i];
    }
    const std::map<std::string, std::function<void()>> demos = {
        {"select",
         [] {
             SelectDlg::ChooseOption(
                 Dialogs("Delete directory"),
                 StringUtils::FormatSafe(Dialogs("Delete \"%s\""), {"/home/me/Projects/old"}),
                 WinUtils::mtConfirmation, {}, {Dialogs("Definitely"), Dialogs("To recycle bin")},
                 QString(), 0, -1);
         }},
        {"select-long",
         [] {
             SelectDlg::ChooseOption(
                 "A question with many answers",
                 "Seven answers and a check box. This first line is set in bold and is long\r\n"
                 "a second, shorter line",
                 WinUtils::mtWarning, SelectDlg::fsBold,
                 {"First", "Second", "Third", "A longer fourth answer", "Fifth", "Sixth",
                  "Seventh"},
                 "Remember this answer for every folder of this kind from now on", 0, 257);
         }},
        {"select-path",
         [] {
             SelectDlg::ChooseOption(
                 Dialogs("Delete directory"),
                 StringUtils::FormatSafe(
                     Dialogs("Delete \"%s\""),
                     {QString("/home/me/a folder with a long name").repeated(8)}),
                 WinUtils::mtConfirmation, {}, {Dialogs("Definitely"), Dialogs("To recycle bin")},
                 QString(), 0, 1);
         }},
        {"select-short",
         [] { SelectDlg::ChooseOption("?", "OK?", WinUtils::mtInformation, {}, {}, QString()); }},
        {"input",
         [] {
             QStringList history = {"*.txt", "*.doc"};
             QString text = "*.txt";
             InpText::InputText(QPoint(200, 150), Dialogs("Add item"),
                                Catalog::dgettext("default", "File filter:"), true, QString(),
                                &history, false, text);
         }},
        {"input-long",
         [] {
             QString text =
                 "/home/me/Documents/Projects/a rather long folder name/with more below it/"
                 "and a file name at the end.txt";
             InpText::InputText(QPoint(-1, -1), QString(), "A description line", false, QString(),
                                nullptr, false, text);
         }},
        {"chartable", [] { CharTableDlg::SelectCharacter(QPoint(200, 150), QString()); }},
        {"list",
         [] {
             ShowList({SelectFromListDlg::soEdit, SelectFromListDlg::soOrder}, 0, QString());
         }},
        {"list-multi",
         [] {
             ShowList({SelectFromListDlg::soMulti, SelectFromListDlg::soPrompt,
                       SelectFromListDlg::soEdit},
                      2, "Choose one mask or several with Ctrl and Shift; a long hint wraps.");
         }},
        {"list-add",
         [] {
             ClickLater("btnInsert", -1);
             ShowList({SelectFromListDlg::soEdit, SelectFromListDlg::soOrder}, 0, QString());
         }},
        {"list-remove",
         [] {
             ClickLater("btnDelete", 3);
             ShowList({SelectFromListDlg::soEdit, SelectFromListDlg::soOrder}, 0, QString());
         }},
        {"folder", [] { ShowFolders(false); }},
        {"folder-files", [] { ShowFolders(true); }},
        {"folder-new", [] { ShowFolders(false, "itmCreate"); }},
        {"folder-delete", [] { ShowFolders(false, "itmDelete"); }},
        {"folder-deleted",
         [] {
             ClickInTopWindowLater(1600, Dialogs("Definitely"));
             ShowFolders(false, "itmDelete");
         }},
        {"folder-trashed",
         [] {
             ClickInTopWindowLater(1600, Dialogs("To recycle bin"));
             ShowFolders(false, "itmDelete");
         }},
    };
    const auto demo = demos.find(name);
    if (demo == demos.end()) {
        std::fputs("Usage: dialogs_demo --show-dialog NAME [-lang:CODE]\nNAME:", stderr);
        for (const auto& [known, unused] : demos)
            std::fprintf(stderr, " %s", known.c_str());
        std::fputs("\n", stderr);
        return 2;
    }
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    Catalog::UseLanguage(QString::fromStdString(language));
    QApplication application(argc, argv);
    const auto folderDialog = ShellDirDlg::TShellDirDialog::CreateInstance();
    const auto listEditor = SelectFromListDlg::TSelectFromListDialog::CreateInstance();
    demo->second();
    return 0;
}
