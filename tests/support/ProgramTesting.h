// What the end-to-end tests of both programs share: the real program started in a temporary home
// as a user, a desktop or a scheduler starts it, and what it leaves there.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "TempFolder.h"

namespace TestSupport {

class ProgramTest : public ::testing::Test {
  protected:
    // `executable` is the built program, whose settings are named after `program`.
    ProgramTest(const QString& executable, const QString& program);
    void SetUp() override;

    QString IniName() const { return settingsFolder + "/" + program_ + ".ini"; }
    QString IniText() const;
    void WriteIni(const QString& text);

    // A user's environment without a display, or with the offscreen one.
    QProcessEnvironment Environment(bool offscreen) const;
    // Runs the program to its end, without a display or, with `display`, with one; the exit
    // code, and what it wrote in stdoutText and stderrText.
    int Run(const QStringList& arguments, bool display = false);
    // True when the program opened its window (it is still running after a while); the window
    // is then closed the way a logout closes it, which ends the program with 0.
    bool OpensWindow(const QStringList& arguments);

    TempFolder temp;
    QString settingsFolder, runtimeFolder;
    QByteArray stdoutText, stderrText;

  private:
    const QString executable_;
    const QString program_;
};

}  // namespace TestSupport
