#pragma once

#include "processor/PluginProcessor.h"

#include <juce_events/juce_events.h>

/** Writes the editor's scale to the settings file once the window has stopped changing size
    for a second, so that dragging the resize corner does not write the file at every step. */
class SaveScaleTimer : private juce::Timer
{
public:
    explicit SaveScaleTimer (QexTidewellAudioProcessor& processor);
    ~SaveScaleTimer() override;

    /** Remembers scale and restarts the delay; a later call within the delay replaces it. */
    void saveAfterDelay (float scale);

    static constexpr int delayMilliseconds = 1000;

private:
    void timerCallback() override;

    QexTidewellAudioProcessor& audioProcessor;
    float pendingScale = 1.0f;

    friend struct EditorTestAccess;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SaveScaleTimer)
};
