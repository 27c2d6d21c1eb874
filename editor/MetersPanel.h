#pragma once

#include "LevelMeter.h"
#include "PhaseMeter.h"
#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The meter strip: left and right output peak meters with a dB scale on both sides, and a
    phase meter below them. Polls the processor's meter feed every 34 ms. */
class MetersPanel : public juce::Component, public juce::Timer
{
public:
    explicit MetersPanel (QexTidewellAudioProcessor& processor);
    ~MetersPanel() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    /** Takes the output peaks and, once the phase meter has painted its last set, new sample pairs. */
    void timerCallback() override;

private:
    QexTidewellAudioProcessor& audioProcessor;
    LevelMeter leftMeter;
    LevelMeter rightMeter;
    int scaleDb[7] = { 0, 6, 12, 24, 36, 48, 60 };
    int scaleY[7] = {};
    PhaseMeter phaseMeter;

    friend struct MetersPanelTestAccess;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MetersPanel)
};
