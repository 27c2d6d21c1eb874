#pragma once

#include "lookandfeel/LookAndFeelCustom.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A vertical peak meter: a bar that rises at once and falls gradually, a held peak line and
    a clip indicator at the top. Fed one peak value per poll by setMeterLevel. */
class LevelMeter : public juce::Component
{
public:
    LevelMeter();
    ~LevelMeter() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    /** Feeds one new peak value; its magnitude is metered. */
    void setMeterLevel (float value);

    /** The y at which a linear amplitude is drawn: topOffset at 0 dB, the bottom edge at
        dbRange and below. */
    int levelToY (float value) const;

    /** The y of a level in dB (0 or below) on this meter. */
    int dbToY (float db) const;

    float level = 0.0f;
    float peak = 0.0f;
    juce::uint8 holdCounter = 0;
    bool decaying = false;
    bool clip = false;
    float dbRange = -65.0f;
    int meterHeight = 0;
    int clipBoxHeight = 4;
    int topOffset = 7;
    float pxPerDb = 0.0f;
    juce::Colour topAreaColour = LookAndFeelCustom::darkGrayColour;
    juce::Colour backgroundColour { 0xff505761 };
    juce::Colour barColour = LookAndFeelCustom::offWhiteBrightColour;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LevelMeter)
};
