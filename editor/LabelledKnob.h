#pragma once

#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/SliderQEX.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <utility>
#include <vector>

/** The knobs of the chorus and output panels: each bound to its parameter, with its caption
    label and its value field below it. The panel owns the four lists and declares them so
    that value fields, captions and attachments are destroyed before the knobs, and the knobs
    before the look and feel they are drawn with. */
namespace LabelledKnob
{
using Attachment = juce::AudioProcessorValueTreeState::SliderAttachment;

/** The panel's lists, indexed by knob, in the order the knobs were added. */
struct Lists
{
    juce::OwnedArray<SliderQEX>& sliders;
    juce::OwnedArray<Attachment>& attachments;
    juce::OwnedArray<juce::Label>& nameLabels;
    juce::OwnedArray<juce::Label>& valueLabels;
};

/** A knob's component name with the box it is placed in. */
using KnobBox = std::pair<juce::String, juce::Rectangle<int>>;

/** Builds the panel's next knob for the parameter named id. The knob, its value field and its
    caption (named id + "_nice") are added to the panel, the listener hears the knob, and the
    knob is drawn with lookAndFeel. An id that names no parameter gives a disabled knob: the
    knob and field ignore the mouse, the field reads "Disabled", the caption is dimmed. */
void add (juce::Component& panel, juce::Slider::Listener& listener, const Lists& lists,
          juce::AudioProcessorValueTreeState& parameters, const juce::String& id, const juce::String& caption,
          LookAndFeelCustom& lookAndFeel);

/** Places every knob by its component name (a knob named in no box keeps its bounds), then
    its caption and value field below it. */
void layOut (const Lists& lists, const std::vector<KnobBox>& knobBoxes);

/** Rewrites the value field of the knob that moved with the knob's value text. */
void showValue (const Lists& lists, juce::Slider* slider);

/** The caption font of the panels' section headings. */
juce::Font headingFont();
} // namespace LabelledKnob
