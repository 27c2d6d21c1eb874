#include "MetersPanel.h"

#include "lookandfeel/LookAndFeelCustom.h"

#include <iterator>

MetersPanel::MetersPanel (QexTidewellAudioProcessor& processor) : audioProcessor (processor)
{
    addAndMakeVisible (leftMeter);
    addAndMakeVisible (rightMeter);
    addAndMakeVisible (phaseMeter);
    startTimer (34);
}

MetersPanel::~MetersPanel() = default;

void MetersPanel::timerCallback()
{
    if (phaseMeter.acceptData && audioProcessor.takePhaseMeterSamples (phaseMeter.points))
    {
        phaseMeter.acceptData = false;
        phaseMeter.updateCorrelation();
        phaseMeter.repaint();
    }

    leftMeter.setMeterLevel (audioProcessor.takeOutputPeak (false));
    rightMeter.setMeterLevel (audioProcessor.takeOutputPeak (true));
}

void MetersPanel::resized()
{
    leftMeter.setBounds (59, 15, 19, 205);
    rightMeter.setBounds (82, 15, 19, 205);
    phaseMeter.setBounds (10, 250, 136, 40);

    for (size_t k = 0; k < std::size (scaleDb); ++k)
        scaleY[k] = leftMeter.dbToY ((float) -scaleDb[k]);
}

void MetersPanel::paint (juce::Graphics& g)
{
    g.fillAll (LookAndFeelCustom::darkGrayColour);

    const auto font = LookAndFeelCustom::getProximaNovaCondSemibold();
    g.setFont (font.withHeight (12.0f));
    g.setColour (LookAndFeelCustom::offWhiteBrightColour);
    g.drawText ("L", 59, 225, 20, 20, juce::Justification::centred, false);
    g.drawText ("R", 82, 225, 20, 20, juce::Justification::centred, false);

    g.setColour (LookAndFeelCustom::midGrayColour);
    g.setFont (font.withHeight (11.0f));

    for (size_t k = 0; k < std::size (scaleDb); ++k)
    {
        const auto text = k == 0 ? juce::String (scaleDb[k]) : "-" + juce::String (scaleDb[k]);
        const auto y = scaleY[k] + (k == 0 ? 8 : 6);
        g.drawText (text, 36, y, 20, 20, juce::Justification::centred, true);
        g.drawText (text, 103, y, 20, 20, juce::Justification::centred, true);
    }
}
