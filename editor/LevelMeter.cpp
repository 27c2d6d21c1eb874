#include "LevelMeter.h"

#include <cmath>

namespace
{
// A falling level closes a fifth of the gap per poll; a held peak falls by the same factor.
constexpr float fallFactor = 0.8f;

// A new peak is held until the counter, started at 1, reaches the next multiple of this.
constexpr int holdPolls = 30;
} // namespace

LevelMeter::LevelMeter() { setOpaque (true); }

LevelMeter::~LevelMeter() = default;

void LevelMeter::setMeterLevel (float value)
{
    const auto x = std::abs (value);

    level = level > x ? x + (level - x) * fallFactor : x;

    if (level > peak)
    {
        peak = level;
        holdCounter = 1;
        decaying = false;
    }
    else
    {
        ++holdCounter;
        if (holdCounter % holdPolls == 0)
            decaying = true;

        if (decaying)
        {
            peak = juce::jmax (fallFactor * peak, level);
            clip = false;
        }
    }

    if (level > 1.0f || peak > 1.0f)
        clip = true;

    repaint();
}

void LevelMeter::resized()
{
    meterHeight = getHeight() - topOffset;
    pxPerDb = (float) meterHeight / dbRange;
}

int LevelMeter::levelToY (float value) const
{
    const auto amplitude = juce::jlimit (0.0f, 1.0f, value);
    return dbToY (amplitude > 0.0f ? juce::jmax (-100.0f, 20.0f * std::log10 (amplitude)) : -100.0f);
}

int LevelMeter::dbToY (float db) const { return juce::jmin (meterHeight, (int) std::abs (db * pxPerDb)) + topOffset; }

void LevelMeter::paint (juce::Graphics& g)
{
    const auto w = getWidth(), h = getHeight();

    g.setColour (backgroundColour);
    g.fillRect (0, 0, w, h);

    const auto y = levelToY (level);
    g.setColour (barColour);
    g.fillRect (0, y, w, h - y);

    const auto yp = (float) levelToY (peak);
    g.drawLine (0.0f, yp, (float) w, yp, 1.0f);

    g.setColour (topAreaColour);
    g.fillRect (0, 0, w, topOffset + 1);

    g.setColour (clip ? juce::Colour (0xffdc5a57) : juce::Colour (0x33dc5a57));
    g.fillRect (0, 0, w, clipBoxHeight);
}
