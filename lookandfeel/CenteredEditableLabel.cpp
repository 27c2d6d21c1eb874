#include "CenteredEditableLabel.h"

void CenteredEditableLabel::mouseDoubleClick (const juce::MouseEvent& event)
{
    juce::Label::mouseDoubleClick (event);
    setAlpha (1.0f);
}

juce::TextEditor* CenteredEditableLabel::createEditorComponent()
{
    auto* textEditor = juce::Label::createEditorComponent();
    textEditor->setJustification (juce::Justification::centredTop);
    textEditor->setIndents (4, 0);
    return textEditor;
}
