#include "app/MainFrm.h"
#include "dialogs/OverWriteFrm.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"
#include "extract/WorkFolder.h"
#include "gui/ModalDriver.h"
#include "gui/QStringPrinter.h"
#include "platform/Paths.h"
#include "platform/PauseGate.h"
#include "support/PayloadBuilder.h"
#include "support/TestSupport.h"
#include "ui_MainFrm.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TModalDriver::TStep AnswerSetOutput(const std::string& exe, const std::string& out)
{
    return [=](QWidget* widget) {
        auto* dialog = qobject_cast<TfrmSetOutput*>(widget);
        if (!dialog)
            return false;
        dialog->edExeFile->setText(QString::fromStdString(exe));
        dialog->edOutput->setText(QString::fromStdString(out));
        dialog->findChild<QPushButton*>("btnOK")->click();
        return true;
    };
}

template <class TDialog>
TModalDriver::TStep Press(const char* button, std::function<void(TDialog*)> before = nullptr)
{
    return [=](QWidget* widget) {
        auto* dialog = qobject_cast<TDialog*>(widget);
        if (!dialog)
            return false;
        if (before)
            before(dialog);
        dialog->template findChild<QPushButton*>(button)->click();
        return true;
    };
}

TModalDriver::TStep AnswerPassword(const std::string& password, std::function<void()> after = nullptr)
{
    return Press<TfrmPassword>("btnOK", [=](TfrmPassword* dialog) {
        dialog->edPassword->setText(QString::fromStdString(password));
        if (after)
            QTimer::singleShot(0, after);
    });
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRunState();
        WorkerPauseGate().Resume();
        setenv("LC_ALL", "C", 1);
        Temp = Scratch / "tmp/";
        ForceDirectories(Temp);
        setenv("TMPDIR", Temp.c_str(), 1);
        Out = Scratch / "out/";
        TPayloadSpec spec;
        spec.Files = {{"a.txt", "alpha"}, {"docs/b.txt", "bravo"}};
        Exe = BuildProtectedExecutable(Scratch / "build/", spec);
    }

    void TearDown() override
    {
        WorkerPauseGate().Resume();
        unsetenv("TMPDIR");
        unsetenv("LC_ALL");
        ResetRunState();
    }

    // A payload big enough that a test can act while it runs.
    void UseBigPayload()
    {
        TPayloadSpec spec;
        for (int i = 0; i < 4; ++i) {
            const auto bytes = RandomBytes(8 * 1024 * 1024, 40 + i);
            spec.Files["big" + std::to_string(i) + ".bin"] = std::string(bytes.begin(), bytes.end());
        }
        spec.Switches = {"-m0=Copy"};
        Exe = BuildProtectedExecutable(Scratch / "build/", spec);
    }

    // Starts the program's run and waits until it ends by itself.
    bool RunProgram(int seconds = 60)
    {
        bool ended = false;
        QEventLoop loop;
        QObject::connect(&Main, &TfrmMain::Ended, &loop, [&] {
            ended = true;
            loop.quit();
        });
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        Main.FormShow();
        loop.exec();
        WorkFolder = g_sWorkDir;
        return ended;
    }

    static void WaitUntil(const std::function<bool()>& condition, int seconds = 30)
    {
        for (int i = 0; i < seconds * 100 && !condition(); ++i)
            QTest::qWait(10);
    }

    TScratchFolder Scratch;
    std::string Temp, Out, Exe, WorkFolder;
    TfrmSetOutput SetOutput;
    TfrmPassword Password;
    TfrmMain Main{&SetOutput, &Password};
    TModalDriver Driver;
};

TEST_F(MainWindow, SuccessEndsWithNoMessage)
{
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(AnswerPassword("Secret pw"));
    ASSERT_TRUE(RunProgram());
    EXPECT_TRUE(Driver.Done());
    EXPECT_TRUE(Driver.Unexpected.empty()) << Driver.Unexpected.front();
    EXPECT_EQ(ListFiles(Out), (std::vector<std::string>{"a.txt", "docs/b.txt"}));
    EXPECT_FALSE(DirectoryExists(WorkFolder)) << "the work folder goes when the window closes";
    EXPECT_TRUE(ListWorkFolders().empty());
    EXPECT_NE(Main.Controls()->lblTotalSize->text(), "00:00:00");
}

TEST_F(MainWindow, NothingToCancelOrPauseOnceTheRunIsOver)
{
    auto* controls = Main.Controls();
    auto* timerProcess = Main.findChild<QTimer*>("TimerProcess");
    ASSERT_NE(timerProcess, nullptr);
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(AnswerPassword("Secret pw", [&] {
        WaitUntil([&] { return Main.Worker != nullptr; });
        // The end message stops the progress timer; the window closes a second later.
        WaitUntil([&] { return !timerProcess->isActive(); });
        ASSERT_TRUE(Main.Worker) << "the window is still waiting to close";
        QTest::keyClick(controls->btnPause, Qt::Key_Space);
        EXPECT_EQ(controls->btnPause->text(), "&Pause");
        QTest::keyClick(controls->btnCancel, Qt::Key_Space);
        EXPECT_FALSE(Main.close()) << "the window closes only by itself";
    }));
    ASSERT_TRUE(RunProgram());
    EXPECT_TRUE(Driver.Done());
    EXPECT_TRUE(Driver.Unexpected.empty()) << Driver.Unexpected.front();
    EXPECT_EQ(ListFiles(Out), (std::vector<std::string>{"a.txt", "docs/b.txt"}));
    EXPECT_TRUE(ListWorkFolders().empty());
}

TEST_F(MainWindow, WrongPasswordIsReportedAndNothingWritten)
{
    Driver.Then(AnswerSetOutput(Exe, Out));
    // In the background when the outcome comes: the message must still be seen.
    WorkerPauseGate().Pause();
    Driver.Then(AnswerPassword("wrong", [&] {
        Main.Controls()->btnHide->click();
        WorkerPauseGate().Resume();
    }));
    bool windowBack = false;
    Driver.ThenMessage(QMessageBox::Ok, [&] { windowBack = Main.isVisible() && !Main.isMinimized(); });
    ASSERT_TRUE(RunProgram());
    EXPECT_TRUE(windowBack);
    EXPECT_EQ(Driver.Messages, std::vector<std::string>{"Passwords do not match"});
    EXPECT_EQ(Driver.Captions, std::vector<std::string>{"Varnhold Configuration"});
    EXPECT_TRUE(Driver.Unexpected.empty()) << Driver.Unexpected.front();
    EXPECT_TRUE(ListFiles(Out).empty());
    EXPECT_TRUE(ListWorkFolders().empty());
}

TEST_F(MainWindow, FailureShowsTheErrorText)
{
    WriteBytes(Scratch / "plain.exe", RandomBytes(1000, 3));
    Driver.Then(AnswerSetOutput(Scratch / "plain.exe", Out));
    Driver.Then(AnswerPassword("Secret pw"));
    Driver.ThenMessage(QMessageBox::Ok);
    ASSERT_TRUE(RunProgram());
    ASSERT_EQ(Driver.Messages.size(), 1u);
    EXPECT_EQ(Driver.Messages[0], "\"" + (Scratch / "plain.exe") +
                                      "\" is not a protected executable: it holds no files that this program can read.");
}

TEST_F(MainWindow, ConflictAsksTheOverwriteQuestion)
{
    WriteTextFile(Out + "a.txt", "mine");
    Driver.Then(AnswerSetOutput(Exe, Out));
    // Sent to the background before the worker gets anywhere.
    WorkerPauseGate().Pause();
    Driver.Then(AnswerPassword("Secret pw", [&] {
        Main.Controls()->btnHide->click();
        EXPECT_TRUE(!Main.isVisible() || Main.isMinimized());
        WorkerPauseGate().Resume();
    }));
    std::string asked;
    bool windowBack = false;
    Driver.Then(Press<TfrmOverWrite>("btnYes", [&](TfrmOverWrite* dialog) {
        asked = dialog->ExistsFile.toStdString();
        windowBack = Main.isVisible() && !Main.isMinimized();
    }));
    ASSERT_TRUE(RunProgram());
    EXPECT_TRUE(windowBack) << "the question brings the window back from the background";
    EXPECT_TRUE(Driver.Done());
    EXPECT_EQ(asked, Out + "a.txt");
    EXPECT_EQ(ReadWholeFile(Out + "a.txt"), "alpha");
    EXPECT_EQ(ReadWholeFile(Out + "docs/b.txt"), "bravo");
    EXPECT_TRUE(Driver.Messages.empty());
}

TEST_F(MainWindow, BlankOutputFolderAsksAgain)
{
    Driver.Then(AnswerSetOutput(Exe, "   "));
    Driver.ThenMessage(QMessageBox::Ok);
    Driver.Then(Press<TfrmSetOutput>("btnCancel"));
    ASSERT_TRUE(RunProgram());
    EXPECT_EQ(Driver.Messages, std::vector<std::string>{"Specify a location for extracted files."});
    EXPECT_TRUE(Driver.Done());
    EXPECT_FALSE(DirectoryExists(WorkFolder));
}

TEST_F(MainWindow, RefusedPasswordDialogEndsQuietly)
{
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(Press<TfrmPassword>("btnCancel"));
    ASSERT_TRUE(RunProgram());
    EXPECT_TRUE(Driver.Messages.empty());
    EXPECT_FALSE(DirectoryExists(Out));
    EXPECT_FALSE(DirectoryExists(WorkFolder));
}

TEST_F(MainWindow, PauseAndContinue)
{
    UseBigPayload();
    auto* controls = Main.Controls();
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(AnswerPassword("Secret pw", [&] {
        // Space and Enter on the focused button, as a keyboard user would.
        QTest::keyClick(controls->btnPause, Qt::Key_Space);
        EXPECT_EQ(controls->btnPause->text(), "&Continue");
        QTest::qWait(200);  // the worker freezes at its next step
        const int64_t done = g_nCurrentSize;
        const QString elapsed = controls->lblTime_Used->text();
        QTest::qWait(1500);
        EXPECT_EQ(controls->lblTime_Used->text(), elapsed) << "the elapsed time stands still";
        EXPECT_EQ(g_nCurrentSize.load(), done) << "the worker is frozen";
        QTest::keyClick(controls->btnPause, Qt::Key_Return);
        EXPECT_EQ(controls->btnPause->text(), "&Pause");
    }));
    ASSERT_TRUE(RunProgram());
    EXPECT_EQ(ListFiles(Out).size(), 4u);
}

TEST_F(MainWindow, BackgroundNeverHidesTheWindowWithNoWayBack)
{
    UseBigPayload();
    auto* controls = Main.Controls();
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(AnswerPassword("Secret pw", [&] {
        WorkerPauseGate().Pause();
        controls->btnHide->click();
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            EXPECT_FALSE(Main.isVisible());
        } else {
            EXPECT_TRUE(Main.isVisible()) << "without a tray the window is only minimised";
            EXPECT_TRUE(Main.isMinimized());
        }
        // A click on the tray icon brings the window back in front.
        auto* tray = Main.findChild<QSystemTrayIcon*>();
        ASSERT_NE(tray, nullptr);
        emit tray->activated(QSystemTrayIcon::Trigger);
        EXPECT_TRUE(Main.isVisible());
        EXPECT_FALSE(Main.isMinimized());
        EXPECT_FALSE(tray->isVisible());
        WorkerPauseGate().Resume();
    }));
    ASSERT_TRUE(RunProgram());
    EXPECT_EQ(ListFiles(Out).size(), 4u);
}

TEST_F(MainWindow, CancelRefusedKeepsTheRunGoing)
{
    UseBigPayload();
    Driver.Then(AnswerSetOutput(Exe, Out));
    // Closed from the taskbar while minimised: the question must be seen.
    Driver.Then(AnswerPassword("Secret pw", [&] {
        Main.showMinimized();
        Main.close();
    }));
    bool windowBack = false;
    Driver.ThenMessage(QMessageBox::Cancel, [&] { windowBack = Main.isVisible() && !Main.isMinimized(); });
    ASSERT_TRUE(RunProgram());
    EXPECT_TRUE(windowBack);
    EXPECT_EQ(Driver.Messages, std::vector<std::string>{"Are you sure you want to cancel?"});
    EXPECT_EQ(ListFiles(Out).size(), 4u);
}

TEST_F(MainWindow, CancelBeforeTheExtractionEndsAtOnce)
{
    UseBigPayload();
    Driver.Then(AnswerSetOutput(Exe, Out));
    // Frozen in the copy stage, so the cancel lands before the extraction.
    Driver.Then(AnswerPassword("Secret pw", [&] { Main.close(); }));
    Driver.ThenMessage(QMessageBox::Ok);
    WorkerPauseGate().Pause();
    ASSERT_TRUE(RunProgram());
    EXPECT_FALSE(IsSet(g_bExtracting));
    EXPECT_TRUE(ListFiles(Out).empty());
    EXPECT_FALSE(DirectoryExists(WorkFolder));
    EXPECT_TRUE(ListWorkFolders().empty());
}

TEST_F(MainWindow, CancelDuringTheExtractionWaitsForTheWorker)
{
    UseBigPayload();
    auto* controls = Main.Controls();
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(AnswerPassword("Secret pw", [&] {
        // Step the worker into the extraction, then pause it with the button.
        WorkerPauseGate().Pause();
        while (!IsSet(g_bExtracting) || ListFiles(Out).empty()) {
            WorkerPauseGate().Resume();
            QTest::qWait(1);
            WorkerPauseGate().Pause();
        }
        WorkerPauseGate().Resume();
        QTest::keyClick(controls->btnPause, Qt::Key_Space);
        ASSERT_EQ(controls->btnPause->text(), "&Continue");

        Main.close();  // confirmed
        EXPECT_TRUE(Main.isVisible()) << "the window waits for the worker";
        EXPECT_TRUE(IsSet(g_bCancel));
        Main.close();  // asks again, confirmed again
        QTest::qWait(200);
        EXPECT_TRUE(Main.isVisible() && Main.Worker) << "a paused worker stops only after Continue";
        QTest::keyClick(controls->btnPause, Qt::Key_Space);
    }));
    Driver.ThenMessage(QMessageBox::Ok);
    Driver.ThenMessage(QMessageBox::Ok);
    ASSERT_TRUE(RunProgram());
    EXPECT_TRUE(Driver.Unexpected.empty()) << Driver.Unexpected.front();
    EXPECT_EQ(Driver.Messages, std::vector<std::string>(2, "Are you sure you want to cancel?"));
    EXPECT_EQ(Driver.Captions, std::vector<std::string>(2, "Varnhold Configuration"));
    EXPECT_LT(ListFiles(Out).size(), 4u);
    for (const std::string& path : ListFiles(Out))
        EXPECT_EQ(ReadWholeFile(Out + path).size(), 8u * 1024 * 1024) << path << " is half written";
    EXPECT_FALSE(DirectoryExists(WorkFolder));
    EXPECT_TRUE(ListWorkFolders().empty());
}

}  // namespace
