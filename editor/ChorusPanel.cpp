#include "ChorusPanel.h"

ChorusPanel::ChorusPanel (QexTidewellAudioProcessor& processor, juce::String modeName) :
    audioProcessor (processor), mode (std::move (modeName))
{
}

ChorusPanel::~ChorusPanel() = default;

void ChorusPanel::prepareUI (juce::Colour) {}
