#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
/** The tabs that are on and the panels that show, as "tabs/panels": "2/2" for Ensemble alone. */
juce::String shown (Editor& editor)
{
    juce::String tabs, panels;
    for (size_t k = 0; k < Editor::numModes; ++k)
    {
        tabs << (editor.modeTabs[k]->getToggleState() ? juce::String (k) : "");
        panels << (editor.chorusPanels[k].isVisible() ? juce::String (k) : "");
    }
    return tabs + "/" + panels;
}

/** Counts what the host is told about a parameter. */
struct HostView : juce::AudioProcessorParameter::Listener
{
    explicit HostView (juce::AudioProcessorParameter& p) : parameter (p) { parameter.addListener (this); }
    ~HostView() override { parameter.removeListener (this); }
    void parameterValueChanged (int, float) override { ++changes; }
    void parameterGestureChanged (int, bool) override { ++gestures; }

    juce::AudioProcessorParameter& parameter;
    int changes = 0, gestures = 0;
};

using EditorShell = EditorTest;
} // namespace

TEST_F (EditorShell, aTabClickShowsItsModeAndSetsTheParameterWithoutAGestureAndARightPressOpensItsMenuInstead)
{
    auto editor = openEditor();
    HostView host (*processor.parameters.getParameter ("paramChorusMode"));

    click (*editor->modeTabs[1]);
    EXPECT_EQ (shown (*editor), "1/1");
    EXPECT_EQ (editor->outputPanel.getKnobColour(), LF::redColour);
    click (*editor->modeTabs[1]);
    click (*editor->modeTabs[3]);
    EXPECT_EQ (shown (*editor), "3/3");
    EXPECT_EQ (processor.parameters.getRawParameterValue ("paramChorusMode")->load(), 3.0f);
    EXPECT_EQ (host.changes, 3);
    EXPECT_EQ (host.gestures, 0);

    editor->mouseDown (
        pressOn (*editor->modeTabs[2], juce::ModifierKeys::leftButtonModifier | juce::ModifierKeys::ctrlModifier));
    editor->mouseDown (pressOn (editor->navbar, juce::ModifierKeys::rightButtonModifier));
    EXPECT_EQ (editor->copyPasteMenu.getNumItems(), 0);

    editor->mouseDown (pressOn (*editor->modeTabs[2], juce::ModifierKeys::rightButtonModifier));
    EXPECT_EQ (shown (*editor), "2/2");
    EXPECT_EQ (describe (editor->copyPasteMenu), "Copy Paste Duplicate to all modes |");
    EXPECT_EQ (host.changes, 3) << "the mode is not set";
}

TEST_F (EditorShell, opensOnTheParametersModeAndFollowsStateRestoresAndPresetLoadsButNotAutomation)
{
    juce::MemoryBlock quadState;
    setParameter ("paramChorusMode", 1.0f);
    processor.getStateInformation (quadState);
    setParameter ("paramChorusMode", 1.0f / 3.0f);
    auto editor = openEditor();
    EXPECT_EQ (shown (*editor), "1/1");
    EXPECT_EQ (editor->outputPanel.getKnobColour(), LF::redColour);

    setParameter ("paramChorusMode", 2.0f / 3.0f);
    processor.sendActionMessage ("PresetSaved");
    pumpMessages();
    EXPECT_EQ (shown (*editor), "1/1");
    processor.sendActionMessage ("PresetLoaded");
    pumpMessages();
    EXPECT_EQ (shown (*editor), "2/2");
    processor.setStateInformation (quadState.getData(), (int) quadState.getSize());
    pumpMessages();
    EXPECT_EQ (shown (*editor), "3/3");
}

TEST_F (EditorShell, editorsShareOneDefaultLookAndFeelThatTheLastOneRemoves)
{
    QexTidewellAudioProcessor otherProcessor;
    auto first = openEditor();
    auto second = std::make_unique<Editor> (otherProcessor);
    auto* shared = &first->sharedLookAndFeel->lookAndFeel;

    EXPECT_EQ (&second->sharedLookAndFeel->lookAndFeel, shared);
    first.reset();
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), shared);
    second->showCopyPasteMenu ("Sixty");
    second.reset();
    EXPECT_EQ (dynamic_cast<LF*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
}
