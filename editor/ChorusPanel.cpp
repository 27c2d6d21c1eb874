#include "ChorusPanel.h"

#include "processor/params/ControlTable.h"

namespace
{
struct KnobPosition
{
    size_t control; // index into the control table's mode controls
    int x, y;
};

// In the order the knobs are built. The vibrato knobs come before the mix knobs, whatever their
// place on screen.
constexpr KnobPosition knobPositions[] = {
    { ControlTable::rate, 25, 54 },         { ControlTable::depth, 100, 54 },          { ControlTable::delay, 63, 149 },
    { ControlTable::vibratoRate, 202, 54 }, { ControlTable::vibratoAmount, 202, 149 }, { ControlTable::wet, 341, 149 },
    { ControlTable::highpass, 303, 54 },    { ControlTable::tone, 378, 54 },
};

constexpr int knobSize = 50;
} // namespace

ChorusPanel::ChorusPanel (QexTidewellAudioProcessor& processor, juce::String modeName)
    : audioProcessor (processor),
      mode (std::move (modeName))
{
}

ChorusPanel::~ChorusPanel() = default;

LabelledKnob::Lists ChorusPanel::knobLists() { return { sliders, attachments, nameLabels, valueLabels }; }

void ChorusPanel::prepareUI (juce::Colour newColour)
{
    colour = newColour;
    knobLookAndFeel.rotaryColour = colour;

    // A second call only recolours: a second set of controls would lie over the first.
    if (! sliders.isEmpty())
        return;

    for (const auto& position : knobPositions)
    {
        LabelledKnob::add (*this, *this, knobLists(), audioProcessor.parameters,
                           ControlTable::modeControlId (mode, position.control),
                           ControlTable::modeControls[position.control].shortName, knobLookAndFeel);
    }
}

void ChorusPanel::resized()
{
    std::vector<LabelledKnob::KnobBox> boxes;

    for (const auto& position : knobPositions)
        boxes.push_back (
            { ControlTable::modeControlId (mode, position.control), { position.x, position.y, knobSize, knobSize } });

    LabelledKnob::layOut (knobLists(), boxes);
}

void ChorusPanel::paint (juce::Graphics& g)
{
    const auto h = (float) getHeight();

    g.fillAll (LookAndFeelCustom::bgColour);

    g.setColour (LookAndFeelCustom::borderColour);
    g.drawRect (juce::Rectangle<float> (175.0f, 25.0f, 1.0f, h - 50.0f), 1.0f);
    g.drawRect (juce::Rectangle<float> (276.0f, 25.0f, 1.0f, h - 50.0f), 1.0f);

    g.setFont (LabelledKnob::headingFont());
    g.setColour (LookAndFeelCustom::offWhiteBrightColour);
    g.drawText ("CHORUS", juce::Rectangle<float> (0.0f, 20.0f, 175.0f, 20.0f), juce::Justification::centred, false);
    g.drawText ("VIBRATO", juce::Rectangle<float> (176.0f, 20.0f, 100.0f, 20.0f), juce::Justification::centred, false);
    g.drawText ("MIX", juce::Rectangle<float> (314.0f, 20.0f, 100.0f, 20.0f), juce::Justification::centred, false);
}

void ChorusPanel::sliderValueChanged (juce::Slider* slider) { LabelledKnob::showValue (knobLists(), slider); }
