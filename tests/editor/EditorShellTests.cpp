#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
using LF = LookAndFeelCustom;
using Editor = QexTidewellAudioProcessorEditor;

/** The index of the one mode whose tab is on and whose panel is visible, or -1 when the tabs
    and panels disagree or more or fewer than one is shown. */
int shownMode (Editor& editor)
{
    int shown = -1;

    for (int k = 0; k < Editor::numModes; ++k)
    {
        const auto tabOn = editor.modeTabs[(size_t) k]->getToggleState();
        if (tabOn != editor.chorusPanels[(size_t) k].isVisible())
            return -1;

        if (tabOn)
        {
            if (shown >= 0)
                return -1;
            shown = k;
        }
    }

    return shown;
}

/** Counts what the host would see of one parameter. */
struct HostView : juce::AudioProcessorParameter::Listener
{
    explicit HostView (juce::AudioProcessorParameter& p) : parameter (p) { parameter.addListener (this); }
    ~HostView() override { parameter.removeListener (this); }

    void parameterValueChanged (int, float) override { ++valueChanges; }
    void parameterGestureChanged (int, bool) override { ++gestures; }

    juce::AudioProcessorParameter& parameter;
    int valueChanges = 0;
    int gestures = 0;
};

struct EditorShell : EditorTest
{
};
} // namespace

TEST_F (EditorShell, opensOnTheParametersModeWithItsTabPanelAndKnobColour)
{
    setMode (2);
    auto editor = openEditor();

    EXPECT_EQ (shownMode (*editor), 2);
    EXPECT_EQ (editor->modeTabs[2]->getButtonText(), "ENSEMBLE");
    EXPECT_EQ (editor->outputPanel.knobLookAndFeel.rotaryColour, LF::greenColour);
    EXPECT_TRUE (editor->outputPanel.isVisible());
    EXPECT_FALSE (editor->settingsDialog.isVisible());

    const auto image = panel::snapshot ("editor-ensemble", *editor);
    EXPECT_TRUE (sameColour (image.getPixelAt (300, 60), LF::darkGrayColour)) << "the selected tab's bar";
    EXPECT_TRUE (sameColour (image.getPixelAt (60, 60), juce::Colour (0xff222428))) << "an unselected tab's bar";
    EXPECT_TRUE (sameColour (image.getPixelAt (2 * 137 + 2 + 137 - 20, 49 + 18), LF::greenColour))
        << "the selected tab's dot";
    EXPECT_TRUE (sameColour (image.getPixelAt (137, 60), LF::bgColour)) << "the gap between two tabs";
    EXPECT_TRUE (sameColour (image.getPixelAt (300, 48), LF::bgColour)) << "the row under the top bar";
}

TEST_F (EditorShell, theLayoutKeepsItsBaseRectanglesAtEveryScale)
{
    for (const auto scale : { 1.0, 2.0 })
    {
        storeScale (scale);
        auto editor = openEditor();
        SCOPED_TRACE (scale);

        EXPECT_EQ (editor->getWidth(), (int) (707 * scale));
        EXPECT_EQ (editor->contentComponent.getBounds(), juce::Rectangle<int> (0, 0, 707, 336));
        EXPECT_EQ (editor->navbar.getBounds(), juce::Rectangle<int> (0, 0, 707, 48));
        EXPECT_EQ (editor->presetBrowser.getBounds(), juce::Rectangle<int> (243, 9, 306, 30));
        EXPECT_EQ (editor->presetBrowser.getComponentID(), "presetBrowser");
        EXPECT_EQ (editor->settingsDialog.getBounds(), juce::Rectangle<int> (0, 0, 707, 336));
        EXPECT_EQ (editor->modeTabs[0]->getBounds(), juce::Rectangle<int> (0, 49, 137, 37));
        EXPECT_EQ (editor->modeTabs[1]->getBounds(), juce::Rectangle<int> (138, 49, 137, 37));
        EXPECT_EQ (editor->modeTabs[2]->getBounds(), juce::Rectangle<int> (276, 49, 137, 37));
        EXPECT_EQ (editor->modeTabs[3]->getBounds(), juce::Rectangle<int> (414, 49, 136, 37));
        EXPECT_EQ (editor->metersPanel.getBounds(), juce::Rectangle<int> (551, 49, 156, 287));
        for (auto& panel : editor->chorusPanels)
            EXPECT_EQ (panel.getBounds(), juce::Rectangle<int> (0, 86, 550, 250));
        EXPECT_EQ (editor->outputPanel.getBounds(), juce::Rectangle<int> (450, 86, 100, 250));

        // Front to back: the overlay over everything, the output panel over the chorus panels.
        auto& content = editor->contentComponent;
        EXPECT_EQ (content.getIndexOfChildComponent (&editor->settingsDialog), content.getNumChildComponents() - 1);
        EXPECT_GT (content.getIndexOfChildComponent (&editor->outputPanel),
                   content.getIndexOfChildComponent (&editor->chorusPanels[3]));
        EXPECT_GT (content.getIndexOfChildComponent (&editor->presetBrowser),
                   content.getIndexOfChildComponent (&editor->navbar));
    }
}

TEST_F (EditorShell, aTabClickShowsItsModeAndSetsTheParameterOnceWithoutAGesture)
{
    auto editor = openEditor();
    auto& mode = *processor.parameters.getParameter ("paramChorusMode");
    HostView host (mode);

    editor->modeTabs[1]->triggerClick();
    pumpMessages();
    EXPECT_EQ (shownMode (*editor), 1);
    EXPECT_EQ (editor->outputPanel.knobLookAndFeel.rotaryColour, LF::redColour);
    EXPECT_FLOAT_EQ (mode.getValue(), 1.0f / 3.0f);
    EXPECT_EQ (host.valueChanges, 1);

    // The shown mode's tab sets the parameter again.
    editor->modeTabs[1]->triggerClick();
    pumpMessages();
    EXPECT_EQ (host.valueChanges, 2);

    editor->modeTabs[3]->triggerClick();
    pumpMessages();
    EXPECT_EQ (shownMode (*editor), 3);
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue ("paramChorusMode")->load(), 3.0f);
    EXPECT_EQ (host.gestures, 0);
}

TEST_F (EditorShell, theShownModeFollowsStateRestoresAndPresetLoadsButNotAutomation)
{
    juce::MemoryBlock quadState;
    setMode (3);
    processor.getStateInformation (quadState);
    setMode (0);

    auto editor = openEditor();
    ASSERT_EQ (shownMode (*editor), 0);

    setMode (2);
    pumpMessages();
    EXPECT_EQ (shownMode (*editor), 0) << "automation alone leaves the tabs";

    processor.sendActionMessage ("PresetSaved");
    processor.sendActionMessage ("SomethingElse");
    pumpMessages();
    EXPECT_EQ (shownMode (*editor), 0);

    processor.sendActionMessage ("PresetLoaded");
    pumpMessages();
    EXPECT_EQ (shownMode (*editor), 2);

    processor.setStateInformation (quadState.getData(), (int) quadState.getSize());
    pumpMessages();
    EXPECT_EQ (shownMode (*editor), 3);
    EXPECT_EQ (editor->outputPanel.knobLookAndFeel.rotaryColour, LF::orangeColour);

    editor.reset();
    setMode (1);
    EXPECT_EQ (shownMode (*openEditor()), 1) << "a new editor starts from the parameter";
}

TEST_F (EditorShell, anyModeValueButOneTwoOrThreeShowsSixty)
{
    auto editor = openEditor();
    auto* mode = processor.parameters.getRawParameterValue ("paramChorusMode");

    for (const auto value : { 2.0f, 0.5f, std::numeric_limits<float>::quiet_NaN() })
    {
        mode->store (value);
        editor->showActivePanel();
        EXPECT_EQ (shownMode (*editor), value == 2.0f ? 2 : 0) << value;
    }

    editor->showPanel ("quad");
    EXPECT_FALSE (editor->modeTabs[3]->getToggleState()) << "names compare exactly";
    EXPECT_EQ (shownMode (*editor), -1);
}

TEST_F (EditorShell, aRightPressOnATabShowsItsModeAndOpensTheMenuWithoutSettingTheMode)
{
    auto editor = openEditor();
    HostView host (*processor.parameters.getParameter ("paramChorusMode"));

    {
        const ScopedMousePress press (juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier |
                                                          juce::ModifierKeys::ctrlModifier));
        editor->mouseDown (press.on (*editor->modeTabs[2]));
    }
    EXPECT_EQ (shownMode (*editor), 0) << "a left press with Control is no right press";
    EXPECT_EQ (editor->copyPasteMenu.getNumItems(), 0);

    {
        const ScopedMousePress press (juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier));
        editor->mouseDown (press.on (editor->navbar));
        EXPECT_EQ (editor->copyPasteMenu.getNumItems(), 0) << "only the tabs open the menu";

        editor->mouseDown (press.on (*editor->modeTabs[2]));
    }

    EXPECT_EQ (shownMode (*editor), 2);
    EXPECT_EQ (describe (editor->copyPasteMenu), "Copy Paste Duplicate to all modes |");
    EXPECT_EQ (host.valueChanges, 0);

    juce::PopupMenu::dismissAllActiveMenus();
    pumpMessages();
}

TEST_F (EditorShell, editorsShareOneDefaultLookAndFeelThatTheLastOneRemoves)
{
    QexTidewellAudioProcessor otherProcessor;

    auto first = openEditor();
    auto second = std::make_unique<Editor> (otherProcessor);

    auto* shared = &first->sharedLookAndFeel->lookAndFeel;
    EXPECT_EQ (&second->sharedLookAndFeel->lookAndFeel, shared);
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), shared);

    first.reset();
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), shared);

    second.reset();
    EXPECT_EQ (dynamic_cast<LookAndFeelCustom*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
}

TEST_F (EditorShell, theProcessorCreatesThePluginsOwnEditor)
{
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    EXPECT_NE (dynamic_cast<Editor*> (editor.get()), nullptr);
    EXPECT_EQ (editor->getBounds().getWidth(), 707);
}
