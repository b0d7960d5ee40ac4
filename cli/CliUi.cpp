#include "cli/CliUi.h"

#include "cli/Terminal.h"
#include "extract/FileDetails.h"
#include "extract/Progress.h"
#include "extract/RunState.h"
#include "lang/LangText.h"

#include <chrono>
#include <clocale>
#include <cstdio>

namespace {

std::string DecimalSeparator()
{
    const lconv* locale = std::localeconv();
    return locale && locale->decimal_point && *locale->decimal_point ? locale->decimal_point : ".";
}

// "1234 bytes, modified on: 2024-05-01 10:11:12" in the user's language, as
// the overwrite dialog shows it.
std::string FileFacts(const std::string& path)
{
    const TFileDetails details = ReadFileDetails(path);
    return FileSizeLine(details.Size) + ", " + FileTimeLine(details.Modified);
}

}  // namespace

void TCliUi::Synchronize(const std::function<void()>& work)
{
    std::unique_lock lock(FMutex);
    FWork.push_back(&work);
    const int ticket = FWorkDone + static_cast<int>(FWork.size());
    FChanged.notify_all();
    FChanged.wait(lock, [&] { return FWorkDone >= ticket; });
}

void TCliUi::PostExtractDone(TExtractOutcome outcome)
{
    std::lock_guard lock(FMutex);
    FOutcome = outcome;
    FEnded = true;
    FChanged.notify_all();
}

TExtractOutcome TCliUi::ServeUntilDone()
{
    auto nextTick = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    std::unique_lock lock(FMutex);
    for (;;) {
        FChanged.wait_until(lock, nextTick, [this] { return FEnded || !FWork.empty(); });
        while (!FWork.empty()) {
            const std::function<void()>* work = FWork.front();
            lock.unlock();
            (*work)();
            lock.lock();
            FWork.pop_front();
            ++FWorkDone;
            FChanged.notify_all();
        }
        if (FEnded)
            break;
        if (std::chrono::steady_clock::now() >= nextTick) {
            nextTick += std::chrono::seconds(1);
            lock.unlock();
            DrawProgress();
            lock.lock();
        }
    }
    lock.unlock();
    ClearProgress();
    return FOutcome;
}

void TCliUi::ShowTotalSize(int64_t totalSize)
{
    FTotalSize = SizeToText(totalSize, DecimalSeparator());
}

void TCliUi::DrawProgress()
{
    if (!FShowProgress)
        return;
    const TProgressTick tick = TimerProcessTick(FElapsedSeconds, DecimalSeparator());
    if (tick.StopTimer)
        return;
    if (tick.Percent)
        FLastPercent = *tick.Percent;
    if (tick.Speed)
        FLastFigures[0] = *tick.Speed;
    if (tick.TimeLeft)
        FLastFigures[1] = *tick.TimeLeft;
    // The catalogue's label ends in its own colon.
    std::fprintf(stderr, "\r%3d%%  %s  %s  %s  %s %s   ", FLastPercent, FTotalSize.c_str(), FLastFigures[0].c_str(),
                 tick.TimeUsed.c_str(), LangText("02000C02").c_str(), FLastFigures[1].c_str());
    std::fflush(stderr);
    FProgressShown = true;
}

void TCliUi::ClearProgress()
{
    if (FProgressShown) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        FProgressShown = false;
    }
}

std::string TCliUi::ConflictRefusal()
{
    if (FMode != TOverwriteMode::Ask || HaveTerminal())
        return std::string();
    FRefusal = LangText("02000D33");
    return FRefusal;
}

int32_t TCliUi::AnswerForAllConflicts()
{
    switch (FMode) {
    case TOverwriteMode::Replace: return ocYesAll;
    case TOverwriteMode::Skip: return ocNoAll;
    case TOverwriteMode::Rename: return ocRename;
    case TOverwriteMode::Ask: break;
    }
    return NO_ANSWER_FOR_ALL;
}

TOverwriteChoice TCliUi::AskOverWrite(const std::string& existsFile, const std::string& newFile)
{
    switch (FMode) {
    case TOverwriteMode::Replace: return ocYesAll;
    case TOverwriteMode::Skip: return ocNoAll;
    case TOverwriteMode::Rename: return ocRename;
    case TOverwriteMode::Ask: break;
    }
    ClearProgress();
    const std::string question = LangText("02000901") + "\n  " + existsFile + "\n  " + FileFacts(existsFile) + "\n" +
                                 LangText("02000902") + "\n  " + FileFacts(newFile) + "\n" + LangText("02000903") +
                                 "\n" + LangText("02000D34");
    for (;;) {
        std::string answer;
        if (!AskOnTerminal(question, answer, false, FCancelFd))
            return ocCancel;
        const std::pair<const char*, TOverwriteChoice> answers[] = {
            {"y", ocYes}, {"n", ocNo}, {"a", ocYesAll}, {"s", ocNoAll}, {"r", ocRename}, {"c", ocCancel}};
        for (const auto& [letter, choice] : answers) {
            if (answer == letter)
                return choice;
        }
    }
}

bool TCliUi::AskPassword(std::string& password)
{
    ClearProgress();
    return AskPasswordOnTerminal(password, FCancelFd);
}
