#include "SaveScaleTimer.h"

SaveScaleTimer::SaveScaleTimer (QexTidewellAudioProcessor& processor) : audioProcessor (processor) {}

SaveScaleTimer::~SaveScaleTimer() = default;

void SaveScaleTimer::saveAfterDelay (float scale)
{
    pendingScale = scale;
    stopTimer();
    startTimer (delayMilliseconds);
}

void SaveScaleTimer::timerCallback()
{
    stopTimer();

    audioProcessor.settingsTree.getOrCreateChildWithName ("scale", nullptr)
        .setProperty ("value", (double) pendingScale, nullptr);
    audioProcessor.saveSettings();
}
