// What the tests of both main windows share.
#include "WindowTesting.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "FaultSeam.h"
#include "IniFiles.h"
#include "ProgramInit.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"
#include "WinUtils.h"

namespace TestSupport {

WindowTest::WindowTest(const QString& program, Sync::TFolderListLayout layout)
    : program_(program), layout_(std::move(layout)) {}

WindowTest::~WindowTest() = default;

void WindowTest::SetUp() {
    environment.Set("HOME", temp / "home");
    environment.Set("XDG_CONFIG_HOME", temp / "home/.config");
    environment.Set("XDG_DATA_HOME", temp / "home/.local/share");
    Start({});
    // As the entry routine makes them, after the window's start-up.
    folderDialog_ = ShellDirDlg::TShellDirDialog::CreateInstance();
    listEditor_ = SelectFromListDlg::TSelectFromListDialog::CreateInstance();
}

void WindowTest::TearDown() {
    Platform::SetFaultHook({});
    listEditor_.reset();
    folderDialog_.reset();
}

void WindowTest::Start(const QStringList& arguments) {
    ProgramInit::SetProcessForTesting("/opt/qs/bin/" + program_, arguments);
    ProgramInit::InitProgram("Quillonsoft", QString(), {"runtime10", "units"});
}

QString WindowTest::IniName() const {
    return temp / "home/.config/Quillonsoft/" + program_ + ".ini";
}

QString WindowTest::IniText() const {
    return QString::fromUtf8(ReadAll(IniName()));
}

void WindowTest::WriteIni(const QString& text) {
    temp.WriteFile("home/.config/Quillonsoft/" + program_ + ".ini", text.toUtf8());
}

QStringList WindowTest::StoredEntries() const {
    Sync::TFolderList list(layout_);
    list.Load(IniFiles::TIniFile(IniName()));
    QStringList entries;
    for (int i = 0; i < list.Count(); ++i)
        entries << list.Name(i) + " -> " + list.Info(i).DirName;
    return entries;
}

Sync::TDirInfo WindowTest::StoredEntry(const QString& folder) const {
    Sync::TFolderList list(layout_);
    list.Load(IniFiles::TIniFile(IniName()));
    const int index = list.Find(folder);
    EXPECT_GE(index, 0) << folder.toStdString();
    return index >= 0 ? list.Info(index) : Sync::TDirInfo();
}

TDialogStep ChooseFolder(const QString& title, const QString& folder) {
    return [title, folder](QDialog& dialog, const WinUtils::TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkShellDir);
        EXPECT_EQ(record.Title, title);
        QLineEdit* edit = dialog.findChild<QComboBox*>("cbxSelectedDir")->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, folder);
        return Click(dialog, "OK");
    };
}

void TypeInto(QComboBox* box, const QString& text) {
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
}

void PostClick(QWidget* button) {
    const QPointF centre = QRectF(button->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(
            button,
            new QMouseEvent(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
    }
}

OnSourceOpened::OnSourceOpened(const QString& folder, int n, std::function<void()> action) {
    Platform::SetFaultHook([=, this](Platform::FaultPoint point, const QString& path) {
        if (point == Platform::FaultPoint::Open && path.startsWith(folder) && ++opened_ == n)
            action();
        return Platform::ErrorCode(0);
    });
}

OnSourceOpened::~OnSourceOpened() {
    Platform::SetFaultHook({});
}

}  // namespace TestSupport
