// Message boxes and window placement on a screen of 1920 x 1080 pixels.
#include "WinUtils.h"

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Catalog.h"
#include "DialogScript.h"

using namespace WinUtils;

namespace {

// Answers every box of the test and keeps what it saw.
class Answering {
  public:
    explicit Answering(std::function<int(QMessageBox&)> answer) {
        SetMessageAnswerer([this, answer](QDialog& dialog, const TMessageRecord& record) {
            EXPECT_EQ(record.Kind, dkMessageBox);
            auto& box = static_cast<QMessageBox&>(dialog);
            records.push_back(record);
            frame = box.frameGeometry();
            caption = box.windowTitle();
            text = box.text();
            staysOnTop = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            labels.clear();
            for (QAbstractButton* button : box.buttons())
                labels << button->text();
            QStringList shown = record.Buttons, made = labels;
            shown.sort();
            made.sort();
            EXPECT_EQ(shown, made);
            defaultLabel = box.defaultButton() ? box.defaultButton()->text() : QString();
            return answer(box);
        });
    }
    ~Answering() { SetMessageAnswerer({}); }

    std::vector<TMessageRecord> records;
    QRect frame;
    QString caption, text, defaultLabel;
    QStringList labels;
    bool staysOnTop = false;
};

int Press(QMessageBox& box, Qt::Key key) {
    QTest::keyClick(&box, key);
    return kAnswerFromBox;
}

void UseLanguage(const char* code) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    Catalog::UseLanguage(code);
}

}  // namespace

TEST(Placement, WindowsAreKeptInsideTheWorkArea) {
    const struct {
        int x, y, width, height;
        int expectedX, expectedY;
    } cases[] = {
        {1900, 1000, 400, 150, 1500, 900},  // past the right and bottom edges
        {-1, 300, 400, 150, 20, 300},       // left of the screen
        {100, -10, 400, 150, 100, 20},      // above the screen
        {100, 100, 400, 150, 100, 100},     // inside: unchanged
        {0, 0, 2000, 1200, 20, 20},         // larger than the work area
        {5000, 5000, 100, 100, 1800, 950},  // far outside: the nearest screen
    };
    for (const auto& c : cases) {
        int x = c.x, y = c.y;
        FitToWorkArea(x, y, c.width, c.height);
        EXPECT_EQ(QPoint(x, y), QPoint(c.expectedX, c.expectedY)) << c.x << "," << c.y;
    }
}

TEST(Placement, PlaceFormKeepsACoordinateCentresOrPutsTheBottomEdgeAtThePoint) {
    QWidget window;
    window.resize(400, 150);
    window.move(123, 456);
    window.show();
    PlaceForm(&window, QPoint(-1, 300));
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(123, 300));
    PlaceForm(&window, QPoint(500, 700), /*above=*/true);
    EXPECT_EQ(window.frameGeometry().left(), 500);
    EXPECT_EQ(window.frameGeometry().top() + window.frameGeometry().height(), 700);
    PlaceForm(&window, DefaultMessagePos);
    EXPECT_EQ(window.frameGeometry().center(), QRect(0, 0, 1920, 1080).center());
}

TEST(Placement, CornersOfControlsOnTheScreen) {
    QWidget window;
    window.setGeometry(100, 200, 300, 300);
    QPushButton button(&window);
    button.setGeometry(10, 20, 80, 30);
    window.show();
    EXPECT_EQ(BottomRightPos(&button, QPoint(5, 5)), QPoint(195, 255));
    EXPECT_EQ(BottomLeftPos(&button), QPoint(110, 250));
    EXPECT_EQ(TopRightPos(&button), QPoint(190, 220));
}

TEST(MessageBox, IsPlacedAtThePointInsideTheWorkAreaOrCentred) {
    Answering answering([](QMessageBox&) { return mrOk; });
    InfoDialogPos(QPoint(1900, 1000), QString(), "A note");
    EXPECT_EQ(answering.frame.topLeft(),
              QPoint(1920 - answering.frame.width() - 20, 1080 - answering.frame.height() - 30));
    InfoDialogPos(QPoint(-1, 300), QString(), "A note");
    EXPECT_EQ(answering.frame.topLeft(), QPoint(20, 300));
    InfoDialog("A note");
    EXPECT_LE((answering.frame.center() - QPoint(960, 540)).manhattanLength(), 2);
    EXPECT_TRUE(answering.staysOnTop);
}

TEST(MessageBox, ConfirmationAnswersYesOnEnterAndNoOnEscape) {
    UseLanguage("en");
    Answering enter([](QMessageBox& box) { return Press(box, Qt::Key_Return); });
    EXPECT_TRUE(ConfirmDialog("Remove folder from list?"));
    EXPECT_EQ(enter.caption, "Confirm");
    EXPECT_EQ(enter.labels, QStringList({"&Yes", "&No"}));
    EXPECT_EQ(enter.defaultLabel, "&Yes");

    Answering escape([](QMessageBox& box) { return Press(box, Qt::Key_Escape); });
    EXPECT_FALSE(ConfirmDialog("Remove folder from list?"));
    EXPECT_FALSE(ConfirmDialog("Remove folder from list?", mbNo));
    Answering enterOnNo([](QMessageBox& box) { return Press(box, Qt::Key_Return); });
    EXPECT_FALSE(ConfirmDialog("Remove folder from list?", mbNo));
}

TEST(MessageBox, CaptionsAndButtonsAreGermanWithGermanSelected) {
    UseLanguage("de");
    Answering answering([](QMessageBox&) { return mrYes; });
    ConfirmDialog("Frage");
    EXPECT_EQ(answering.labels, QStringList({"&Ja", "&Nein"}));
    EXPECT_EQ(answering.caption, Catalog::dgettext("runtime10", "Confirm"));
    EXPECT_NE(answering.caption, "Confirm");
    ErrorDialog("Fehler");
    EXPECT_EQ(answering.caption, "Fehler");
    EXPECT_EQ(answering.labels, QStringList({"OK"}));
    UseLanguage("en");
}

TEST(MessageBox, DefaultButtonTitleAndLineBreaks) {
    UseLanguage("en");
    Answering answering([](QMessageBox&) { return mrOk; });
    const struct {
        TMsgDlgButtons buttons;
        const char* defaultLabel;
    } cases[] = {
        {{mbYes, mbNo, mbOK}, "OK"},
        {{mbYes, mbNo}, "&Yes"},
        {{mbAbort, mbRetry, mbIgnore}, "&Retry"},
    };
    for (const auto& c : cases) {
        MessageDialog(QString(), "Text", mtWarning, c.buttons);
        EXPECT_EQ(answering.defaultLabel, c.defaultLabel);
        EXPECT_EQ(answering.caption, "Warning");
    }

    const QString title = "A title much wider than the short message of this box, surely";
    MessageDialog(title, "Hi", mtInformation, {mbOK});
    EXPECT_EQ(answering.caption, title);
    EXPECT_GE(answering.frame.width(),
              QFontMetrics(QApplication::font()).horizontalAdvance(title) + 50);

    MessageDialog(QString(), "Select folder to be synchronized with\r\n/home/me", mtConfirmation,
                  {mbYes, mbNo});
    EXPECT_EQ(answering.text, "Select folder to be synchronized with\n/home/me");
}

TEST(MessageBox, UnansweredBoxWithTimeOutClosesItselfWithOk) {
    SetMessageAnswerer({});  // the real box, closing itself
    bool shownWhileWaiting = false;
    QTimer::singleShot(200, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(widget) && widget->isVisible()) shownWhileWaiting = true;
        }
    });
    EXPECT_EQ(MessageDialogPos(QString(), "Closing soon", mtInformation, {mbYes, mbNo}, mbNo,
                               DefaultMessagePos, 1),
              mrOk);
    EXPECT_TRUE(shownWhileWaiting);
}

TEST(MessageBox, BoxWithTimeOutAnsweredInTimeGivesTheButton) {
    SetMessageAnswerer({});  // the real box, answered by a click
    QTimer::singleShot(100, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) box->buttons().at(1)->click();  // "&No"
        }
    });
    EXPECT_EQ(MessageDialogPos(QString(), "Answer me", mtConfirmation, {mbYes, mbNo}, mbYes,
                               DefaultMessagePos, 5),
              mrNo);
}

TEST(DialogSeam, TheAnswererClicksOrAnswersAndAnUnansweredDialogClosesAsCancel) {
    TPlacedDialog dialog;
    auto* ok = new QPushButton("OK", &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(mrOk); });
    (new QPushButton("Hidden", &dialog))->hide();
    dialog.SetPlacement(QPoint(300, 200));
    {
        TestSupport::TDialogScript script;
        script
            .Then([](QDialog& shown, const TMessageRecord& record) {
                EXPECT_EQ(record.Kind, dkInputText);
                EXPECT_EQ(record.Buttons, QStringList({"OK"}));
                EXPECT_EQ(shown.frameGeometry().topLeft(), QPoint(300, 200));
                return TestSupport::Click(shown, "OK");
            })
            .Then([](QDialog&, const TMessageRecord&) { return mrYes; })
            .Then([](QDialog&, const TMessageRecord&) { return kAnswerFromBox; })
            .Then([](QDialog& shown, const TMessageRecord&) {
                QTest::keyClick(&shown, Qt::Key_Escape);
                return kAnswerFromBox;
            });
        const TMessageRecord record{.Title = "Title", .Message = "Text", .Kind = dkInputText};
        EXPECT_EQ(ExecModal(dialog, record), mrOk);
        EXPECT_EQ(ExecModal(dialog, record), mrYes);
        EXPECT_EQ(ExecModal(dialog, record), mrCancel);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(ExecModal(dialog, record), mrCancel);
    }
}

TEST(Measurements, LinesAndTheirWidths) {
    const QFontMetrics metrics(QApplication::font());
    EXPECT_EQ(MultiLineTextWidth("ab\r\nlonger line", metrics),
              metrics.horizontalAdvance("longer line"));
    EXPECT_EQ(MultiLineTextWidth("", metrics), 0);
    const std::pair<const char*, int> counts[] = {
        {"", 1}, {"one", 1}, {"one\r\n", 2}, {"ab\r\nlonger line", 2}, {"a\nb", 1}};
    for (const auto& [text, lines] : counts)
        EXPECT_EQ(LineCount(text), lines) << text;
}

TEST(Measurements, ButtonPicturesAreEnlargedFrom130PerCent) {
    for (const auto& [dpi, expected] : {std::pair{96, 16}, {120, 16}, {144, 24}, {192, 32}}) {
        QWidget window;
        auto* panel = new QWidget(&window);
        auto* button = new QPushButton(panel);
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        button->setIcon(QIcon(picture));
        button->setIconSize(QSize(16, 16));
        ScaleGlyphs(&window, 96, dpi);
        EXPECT_EQ(button->iconSize(), QSize(expected, expected)) << dpi;
        EXPECT_EQ(button->icon().availableSizes().value(0), QSize(expected, expected)) << dpi;
    }
}
