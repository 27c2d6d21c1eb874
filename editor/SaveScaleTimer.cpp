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

    audioProcessor.settings.setValue (Settings::scale, (double) pendingScale);
    audioProcessor.saveSettings();
}
