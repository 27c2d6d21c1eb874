#include "OutputPanel.h"

OutputPanel::OutputPanel (QexTidewellAudioProcessor& processor) : audioProcessor (processor) {}

OutputPanel::~OutputPanel() = default;

void OutputPanel::prepareUI (juce::Colour colour) { knobLookAndFeel.rotaryColour = colour; }
