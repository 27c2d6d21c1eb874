#include "LookAndFeelCustom.h"

// The rotary knob and the value box of a slider that shows one.

void LookAndFeelCustom::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                          float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                                          juce::Slider& slider)
{
    drawRotarySliderColour (g, x, y, width, height, sliderPosProportional, rotaryStartAngle, rotaryEndAngle, slider,
                            rotaryColour);
}

void LookAndFeelCustom::drawRotarySliderColour (juce::Graphics& g, int x, int, int width, int,
                                                float sliderPosProportional, float rotaryStartAngle,
                                                float rotaryEndAngle, juce::Slider& slider, juce::Colour colour)
{
    // The knob has one size everywhere; the slider's height only leaves room for its labels.
    constexpr float ringSize = 50.0f, discSize = 32.0f, centreY = 25.0f, innerProportion = 0.86f;

    const auto cx = (float) x + (float) width * 0.5f;
    const auto left = cx - ringSize * 0.5f;
    const auto inset = (ringSize - discSize) * 0.5f;

    g.setColour (darkGrayColour);
    g.fillEllipse (left + inset, inset, discSize, discSize);

    juce::Path track;
    track.addPieSegment (left, 0.0f, ringSize, ringSize, rotaryStartAngle, rotaryEndAngle, innerProportion);
    g.fillPath (track);

    const auto valueAngle = rotaryStartAngle + sliderPosProportional * (rotaryEndAngle - rotaryStartAngle);
    const auto arcOrigin =
        arcFromCentre ? rotaryStartAngle + (rotaryEndAngle - rotaryStartAngle) * 0.5f : rotaryStartAngle;

    juce::Path valueArc;
    valueArc.addPieSegment (left, 0.0f, ringSize, ringSize, arcOrigin, valueAngle, innerProportion);

    g.setColour (colour);
    g.fillPath (valueArc);

    juce::Path pointer;
    pointer.addRectangle (-1.75f, -14.5f, 3.5f, 5.0f);
    g.fillPath (pointer, juce::AffineTransform::rotation (valueAngle).translated (cx, centreY));

    // Knobs are disabled once, when their panel is built, and never enabled again, so the
    // alpha is never set back.
    if (! slider.isEnabled())
        slider.setAlpha (0.5f);
}

juce::Label* LookAndFeelCustom::createSliderTextBox (juce::Slider& slider)
{
    auto* label = juce::LookAndFeel_V4::createSliderTextBox (slider);
    label->setBorderSize (juce::BorderSize<int> (0));
    label->setColour (juce::Label::outlineColourId, bgColour);
    label->setColour (juce::Label::backgroundColourId, bgColour);
    label->setColour (juce::Label::textColourId, offWhiteBrightColour);
    label->setFont (getProximaNovaCondSemibold().withHeight (12.0f));
    return label;
}
