// What the end-to-end tests of both programs share.
#include "ProgramTesting.h"

#include <QFile>
#include <QProcess>

namespace TestSupport {

ProgramTest::ProgramTest(const QString& executable, const QString& program)
    : executable_(executable), program_(program) {}

void ProgramTest::SetUp() {
    settingsFolder = temp.MakeFolder("home/.config/Quillonsoft");
    runtimeFolder = temp.MakeFolder("runtime");
    QFile::setPermissions(runtimeFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString ProgramTest::IniText() const {
    return QString::fromUtf8(ReadAll(IniName()));
}

void ProgramTest::WriteIni(const QString& text) {
    temp.WriteFile("home/.config/Quillonsoft/" + program_ + ".ini", text.toUtf8());
}

QProcessEnvironment ProgramTest::Environment(bool offscreen) const {
    QProcessEnvironment environment;
    environment.insert("PATH", "/usr/bin:/bin");
    environment.insert("HOME", temp / "home");
    environment.insert("XDG_CONFIG_HOME", temp / "home/.config");
    environment.insert("XDG_DATA_HOME", temp / "home/.local/share");
    environment.insert("XDG_RUNTIME_DIR", runtimeFolder);
    environment.insert("LC_ALL", "C");
    environment.insert("TZ", "UTC");
    if (offscreen) environment.insert("QT_QPA_PLATFORM", "offscreen");
    return environment;
}

int ProgramTest::Run(const QStringList& arguments, bool display) {
    QProcess process;
    process.setProcessEnvironment(Environment(/*offscreen=*/display));
    process.start(executable_, arguments);
    if (!process.waitForFinished(30000)) {
        ADD_FAILURE() << program_.toStdString() << " did not end";
        process.kill();
        process.waitForFinished();
    }
    stdoutText = process.readAllStandardOutput();
    stderrText = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool ProgramTest::OpensWindow(const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(Environment(/*offscreen=*/true));
    process.start(executable_, arguments);
    const bool ended = process.waitForFinished(1500);
    if (!ended) {
        process.terminate();
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }
    return !ended;
}

}  // namespace TestSupport
