#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A knob's value field: edited by double-click, its editor shows the text centred at the
    top, in line with the text the label shows when not editing. */
class CenteredEditableLabel : public juce::Label
{
public:
    using juce::Label::Label;
    ~CenteredEditableLabel() override = default;

    void mouseDoubleClick (const juce::MouseEvent&) override;

protected:
    juce::TextEditor* createEditorComponent() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CenteredEditableLabel)
};
