#include "extract/RunState.h"
#include "extract/Progress.h"

std::string g_sWorkDir;

TFlag g_bCancel{FLAG_CLEAR};
TFlag g_bExtracting{FLAG_CLEAR};
TFlag g_bStageDone{FLAG_CLEAR};
TFlag g_bExtractToTemp{FLAG_CLEAR};
TFlag g_bPlacing{FLAG_CLEAR};

std::atomic<int64_t> g_nTotalSize{0};
std::atomic<int64_t> g_nCurrentSize{0};
std::atomic<int32_t> g_nFileCount{0};
std::atomic<int32_t> g_nFilesPlaced{0};

void ResetRunState()
{
    g_sWorkDir.clear();
    g_sLangFile.clear();
    for (TFlag* flag : {&g_bCancel, &g_bExtracting, &g_bStageDone, &g_bExtractToTemp, &g_bPlacing})
        SetFlag(*flag, false);
    g_nTotalSize = 0;
    g_nCurrentSize = 0;
    g_nFileCount = 0;
    g_nFilesPlaced = 0;
    g_nExtractTicks = 0;
    g_nPlaceTicks = 0;
}
