#include "app/ProgressMath.h"

double ProgressAfterNotification(double progress) { return progress < kDownloadShare ? progress + 1.0 : progress; }

double ProgressAtDownloadComplete() { return kDownloadShare; }

PollStep ProgressAtPollTick(double progress)
{
    if (progress < kFinishedPercent) return PollStep{true, progress, progress + 1.0};
    return PollStep{false, progress, progress};
}
