#pragma once

// The percentages the progress page shows during an installation. The download can fill the bar
// to 70 %; while the setup package installs, each status poll shows one point more, up to 99 %;
// only the package's own report of completion shows 100 %.
//
// Whatever the download reports as its fraction, each progress notification counts as one point:
// a server that does not announce the size would otherwise leave the bar at 0 until the end.

constexpr double kDownloadShare = 70.0;  // the most that downloading shows
constexpr double kFinishedPercent = 100.0;

// After one progress notification: one point more, but never past 70. The comparison comes before
// the increment, so the 70th notification reaches 70 and later ones stay there.
double ProgressAfterNotification(double progress);

// When the download has completed, however many notifications came before (5 notifications jump
// from 5 to 70).
double ProgressAtDownloadComplete();

// One tick of the status poll while the package installs and has not reported completion: the
// value to show now (none once the value has reached 100) and the value after the tick. Starting
// at 70 the ticks show 70, 71, ... 99 and then nothing more, so the bar rests at 99 until the
// package is done.
struct PollStep {
    bool show;
    double shown;
    double next;
};
PollStep ProgressAtPollTick(double progress);
