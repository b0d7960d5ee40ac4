#pragma once
// A worker run with real payloads, driven through a scripted front end, in a
// private temporary folder so a test sees exactly its own work folders.

#include "extract/Payload.h"
#include "extract/WorkFolder.h"
#include "extract/Worker.h"
#include "platform/Paths.h"
#include "platform/PauseGate.h"
#include "platform/TempFolder.h"
#include "support/PayloadBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

// How a run ends.
constexpr TExtractOutcome DONE = TExtractOutcome::eoDone;
constexpr TExtractOutcome CANCELLED = TExtractOutcome::eoCancelled;
constexpr TExtractOutcome PASSWORD_REFUSED = TExtractOutcome::eoPasswordRefused;
constexpr TExtractOutcome FOLDER_FAILED = TExtractOutcome::eoOutputFolderFailed;
constexpr TExtractOutcome WRONG_PASSWORD = TExtractOutcome::eoWrongPassword;
constexpr TExtractOutcome FAILED = TExtractOutcome::eoFailed;

inline std::ostream& operator<<(std::ostream& out, TExtractOutcome outcome)
{
    return out << "outcome " << static_cast<int>(outcome) << " (" << OutcomeWParam(outcome) << ", "
               << OutcomeLParam(outcome) << ")";
}

inline TPayloadSpec Spec(const std::map<std::string, std::string>& files,
                  const std::vector<std::string>& switches = {"-m0=LZMA2"},
                  const std::string& markerContent = std::string(200, 'm'))
{
    TPayloadSpec spec;
    spec.Files = files;
    spec.Switches = switches;
    spec.MarkerContent = markerContent;
    return spec;
}

class WorkerRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRunState();
        // A private temporary folder, so the test sees exactly its own work folders.
        Temp = Scratch / "tmp/";
        ForceDirectories(Temp);
        SetEnvironment(TEMP_FOLDER_VARIABLE, Temp);
        g_sWorkDir = CreateWorkFolder(10 * 1024 * 1024);
        Settings.DllFile = g_sWorkDir + "7z.dll";
        Settings.OutputDir = Scratch / "out/";
        Settings.PasswordText = "Secret pw";
    }

    void TearDown() override
    {
        WorkerPauseGate().Resume();
        SetFreeSpaceReaderForTesting(nullptr);
        DeleteFolderTree(g_sWorkDir);
        SetEnvironment(TEMP_FOLDER_VARIABLE, "");
        ResetRunState();
    }

    void Build(const TPayloadSpec& spec) { Settings.ExeFile = BuildProtectedExecutable(Scratch / "build/", spec); }

    TExtractOutcome Run()
    {
        TThreaEncryptFile worker(Settings, Ui);
        worker.Resume();
        const auto outcome = Ui.WaitForDone();
        worker.WaitFor();
        Error = worker.ErrorText();
        LastFailure = worker.Failure();
        return outcome;
    }

    // Work folders other than the main one left in the temporary folder.
    std::vector<std::string> LeftoverWorkFolders()
    {
        std::vector<std::string> left = ListWorkFolders();
        std::erase(left, ExtractFileName(ExcludeTrailingPathDelimiter(g_sWorkDir)));
        return left;
    }

    std::string Out(const std::string& path) const { return Settings.OutputDir + NativePath(path); }

    TScratchFolder Scratch;
    std::string Temp;
    TRunSettings Settings;
    TScriptedUi Ui;
    std::string Error;
    TFailure LastFailure;
};

