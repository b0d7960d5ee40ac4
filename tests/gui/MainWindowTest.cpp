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

#include <QCloseEvent>
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

// A run that succeeds ends at 100 %, with or without the placement stage,
// however far the last tick of the progress timer got.
TEST_F(MainWindow, SuccessShowsTheWholeBar)
{
    for (const bool conflict : {false, true}) {
        SCOPED_TRACE(conflict ? "placed file by file" : "extracted straight");
        ResetRunState();
        DeleteFolderTree(Out);
        if (conflict)
            WriteTextFile(Out + "a.txt", "mine");
        TfrmMain main{&SetOutput, &Password};
        auto* controls = main.Controls();
        auto* timerProcess = main.findChild<QTimer*>("TimerProcess");
        Driver.Then(AnswerSetOutput(Exe, Out));
        QString percent, timeLeft;
        int bar = -1;
        Driver.Then(AnswerPassword("Secret pw", [&] {
            WaitUntil([&] { return main.Worker != nullptr; });
            // Between the end message and the window's close.
            WaitUntil([&] { return !timerProcess->isActive(); });
            percent = controls->lblPercent->text();
            timeLeft = controls->lblTime_Left->text();
            bar = controls->pbTotal->value();
        }));
        if (conflict)
            Driver.Then(Press<TfrmOverWrite>("btnYes"));
        bool ended = false;
        QEventLoop loop;
        QObject::connect(&main, &TfrmMain::Ended, &loop, [&] {
            ended = true;
            loop.quit();
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        main.FormShow();
        loop.exec();
        ASSERT_TRUE(ended);
        EXPECT_TRUE(Driver.Done());
        EXPECT_EQ(percent, "100%");
        EXPECT_EQ(bar, 100);
        EXPECT_EQ(timeLeft, "00:00:00");
        EXPECT_EQ(ReadWholeFile(Out + "a.txt"), "alpha");
    }
    EXPECT_TRUE(Driver.Unexpected.empty()) << Driver.Unexpected.front();
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

TEST_F(MainWindow, ClosingTheOverwriteQuestionKeepsTheFile)
{
    WriteTextFile(Out + "a.txt", "mine");
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(AnswerPassword("Secret pw"));
    Driver.Then([](QWidget* widget) {
        auto* dialog = qobject_cast<TfrmOverWrite*>(widget);
        if (!dialog)
            return false;
        QCloseEvent close;  // the window manager's close box
        QApplication::sendEvent(dialog->windowHandle(), &close);
        return true;
    });
    ASSERT_TRUE(RunProgram());
    EXPECT_TRUE(Driver.Done());
    EXPECT_TRUE(Driver.Unexpected.empty()) << Driver.Unexpected.front();
    EXPECT_EQ(ReadWholeFile(Out + "a.txt"), "mine");
    EXPECT_FALSE(FileExists(Out + "docs/b.txt")) << "the run stops as for Cancel";
    EXPECT_FALSE(FileExists(Out + MARKER_NAME));
    EXPECT_NE(Main.Controls()->lblPercent->text(), "100%");
    EXPECT_TRUE(ListWorkFolders().empty());
}

TEST_F(MainWindow, BlankOutputFolderAsksAgainKeepingTheExecutable)
{
    Driver.Then(AnswerSetOutput(Exe, "   "));
    QString exeShown, outputShown;
    QPoint boxCentre, dialogCentre;
    bool dialogShown = false;
    Driver.Then([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box)
            return false;
        Driver.Messages.push_back(box->text().toStdString());
        dialogShown = SetOutput.isVisible();
        exeShown = SetOutput.edExeFile->text();
        outputShown = SetOutput.edOutput->text();
        boxCentre = box->frameGeometry().center();
        dialogCentre = SetOutput.frameGeometry().center();
        box->button(QMessageBox::Ok)->click();
        return true;
    });
    Driver.Then(Press<TfrmSetOutput>("btnCancel"));
    ASSERT_TRUE(RunProgram());
    EXPECT_EQ(Driver.Messages, std::vector<std::string>{"Specify a location for extracted files."});
    EXPECT_TRUE(Driver.Done());
    EXPECT_TRUE(dialogShown) << "the message is over the dialog";
    EXPECT_LE((boxCentre - dialogCentre).manhattanLength(), 2);
    EXPECT_EQ(exeShown.toStdString(), Exe) << "what the user typed stays";
    EXPECT_EQ(outputShown, "   ");
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

// What each kind of click on the tray icon does while the run is in the
// background: only a plain click brings the window back.
struct TTrayCase {
    QSystemTrayIcon::ActivationReason Reason;
    bool Back;
};

const TTrayCase TRAY_CASES[] = {
    {QSystemTrayIcon::Context, false},     {QSystemTrayIcon::DoubleClick, false},
    {QSystemTrayIcon::MiddleClick, false}, {QSystemTrayIcon::Unknown, false},
    {QSystemTrayIcon::Trigger, true},
};

TEST_F(MainWindow, TrayClicks)
{
    UseBigPayload();
    auto* controls = Main.Controls();
    const bool trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(AnswerPassword("Secret pw", [&] {
        WorkerPauseGate().Pause();
        auto* tray = Main.findChild<QSystemTrayIcon*>();
        ASSERT_NE(tray, nullptr);
        for (const TTrayCase& row : TRAY_CASES) {
            SCOPED_TRACE("reason " + std::to_string(row.Reason));
            controls->btnHide->click();
            if (trayAvailable) {
                EXPECT_FALSE(Main.isVisible());
                EXPECT_TRUE(tray->isVisible());
            } else {
                EXPECT_TRUE(Main.isVisible()) << "without a tray the window is only minimised";
                EXPECT_TRUE(Main.isMinimized());
            }
            emit tray->activated(row.Reason);
            // The icon goes only once the click's own event is over.
            QTest::qWait(50);
            EXPECT_EQ(Main.isVisible() && !Main.isMinimized(), row.Back);
            if (trayAvailable) {
                EXPECT_EQ(tray->isVisible(), !row.Back);
            }
            if (!row.Back)
                Main.showNormal();
        }
        EXPECT_TRUE(Main.Worker) << "the run goes on throughout";
        WorkerPauseGate().Resume();
    }));
    ASSERT_TRUE(RunProgram());
    EXPECT_EQ(ListFiles(Out).size(), 4u);
}

TEST_F(MainWindow, TrayTipShowsPercentAndRemainingTime)
{
    UseBigPayload();
    auto* controls = Main.Controls();
    auto* tray = Main.findChild<QSystemTrayIcon*>();
    ASSERT_NE(tray, nullptr);
    std::vector<QString> tips, percents, remaining;
    Driver.Then(AnswerSetOutput(Exe, Out));
    Driver.Then(AnswerPassword("Secret pw", [&] {
        controls->btnHide->click();
        // Two ticks of the progress timer.
        for (int tick = 0; tick < 2; ++tick) {
            QTest::qWait(1000);
            tips.push_back(tray->toolTip());
            percents.push_back(controls->lblPercent->text());
            remaining.push_back(controls->lblTime_Left->text());
        }
    }));
    ASSERT_TRUE(RunProgram());
    for (size_t i = 0; i < tips.size(); ++i) {
        EXPECT_TRUE(tips[i].startsWith("Extract " + percents[i])) << tips[i].toStdString();
        EXPECT_TRUE(tips[i].endsWith("Remaining time: " + remaining[i])) << tips[i].toStdString();
    }
    EXPECT_TRUE(tray->toolTip().startsWith("Extract 100%")) << tray->toolTip().toStdString();
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

TEST_F(MainWindow, CancelWhilePausedStopsTheRunAtOnce)
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

        // Confirmed while paused: the run stops at once, without Continue.
        Main.close();
        EXPECT_TRUE(IsSet(g_bCancel));
        EXPECT_FALSE(WorkerPauseGate().IsPaused());
        EXPECT_EQ(controls->btnPause->text(), "&Pause");
        QTest::keyClick(controls->btnPause, Qt::Key_Space);
        EXPECT_FALSE(WorkerPauseGate().IsPaused()) << "a cancelled run cannot be paused again";
        EXPECT_TRUE(Main.isVisible()) << "the window waits for the worker";
        Main.close();  // asks again, confirmed again
    }));
    Driver.ThenMessage(QMessageBox::Ok);
    Driver.ThenMessage(QMessageBox::Ok);
    ASSERT_TRUE(RunProgram(10)) << "a cancelled run ends without Continue";
    EXPECT_TRUE(Driver.Unexpected.empty()) << Driver.Unexpected.front();
    EXPECT_EQ(Driver.Messages, std::vector<std::string>(2, "Are you sure you want to cancel?"));
    EXPECT_EQ(Driver.Captions, std::vector<std::string>(2, "Varnhold Configuration"));
    EXPECT_LT(ListFiles(Out).size(), 4u);
    EXPECT_NE(Main.Controls()->lblPercent->text(), "100%") << "a cancelled run is no success";
    for (const std::string& path : ListFiles(Out))
        EXPECT_EQ(ReadWholeFile(Out + path).size(), 8u * 1024 * 1024) << path << " is half written";
    EXPECT_FALSE(DirectoryExists(WorkFolder));
    EXPECT_TRUE(ListWorkFolders().empty());
}

}  // namespace
