#include "OutputPanel.h"

#include "processor/params/ControlTable.h"

namespace
{
const std::vector<LabelledKnob::KnobBox> knobBoxes = {
    { ControlTable::globalControlId (ControlTable::spread), { 25, 54, 50, 50 } },
    { ControlTable::globalControlId (ControlTable::gain), { 25, 149, 50, 50 } },
};
} // namespace

OutputPanel::OutputPanel (QexTidewellAudioProcessor& processor) : audioProcessor (processor) {}

OutputPanel::~OutputPanel() = default;

LabelledKnob::Lists OutputPanel::knobLists() { return { sliders, attachments, nameLabels, valueLabels }; }

void OutputPanel::prepareUI (juce::Colour colour)
{
    knobLookAndFeel.rotaryColour = colour;

    // A second call only recolours: a second set of controls would lie over the first.
    if (! sliders.isEmpty())
        return;

    for (const auto& [id, box] : knobBoxes)
    {
        // The captions are the parameters' own names, not derived from the IDs.
        const auto* parameter = audioProcessor.parameters.getParameter (id);
        const auto caption = parameter != nullptr ? parameter->getName (100) : id;

        LabelledKnob::add (*this, *this, knobLists(), audioProcessor.parameters, id, caption, knobLookAndFeel);
    }
}

void OutputPanel::resized() { LabelledKnob::layOut (knobLists(), knobBoxes); }

void OutputPanel::paint (juce::Graphics& g)
{
    g.fillAll (LookAndFeelCustom::bgColour);

    g.setColour (LookAndFeelCustom::borderColour);
    g.drawRect (juce::Rectangle<float> (0.0f, 25.0f, 1.0f, (float) getHeight() - 50.0f), 1.0f);

    g.setFont (LabelledKnob::headingFont());
    g.setColour (LookAndFeelCustom::offWhiteBrightColour);
    g.drawText ("OUTPUT", juce::Rectangle<float> (0.0f, 20.0f, 100.0f, 20.0f), juce::Justification::centred, false);
}

void OutputPanel::sliderValueChanged (juce::Slider* slider) { LabelledKnob::showValue (knobLists(), slider); }
