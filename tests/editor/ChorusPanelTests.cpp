#include "PanelTestSupport.h"

#include "editor/ChorusPanel.h"
#include "support/AudioTestSupport.h"

#include <thread>

namespace
{
const std::pair<juce::String, juce::Colour> modes[] = {
    { "Sixty", LookAndFeelCustom::blueColour },
    { "Studio", LookAndFeelCustom::redColour },
    { "Ensemble", LookAndFeelCustom::greenColour },
    { "Quad", LookAndFeelCustom::orangeColour },
};

class ChorusPanels : public testing::Test
{
protected:
    ScopedDataHome dataHome;
    QexTidewellAudioProcessor processor;

    /** A panel built and sized as the editor does it. */
    std::unique_ptr<ChorusPanel> makePanel (const juce::String& mode, juce::Colour colour)
    {
        auto panel = std::make_unique<ChorusPanel> (processor, mode);
        panel->prepareUI (colour);
        panel->setBounds (0, 86, 550, 250);
        return panel;
    }

    float valueOf (const juce::String& id)
    {
        auto* parameter = processor.parameters.getParameter (id);
        return parameter->convertFrom0to1 (parameter->getValue());
    }
};
} // namespace

TEST_F (ChorusPanels, everyModeShowsEightKnobsApartWithTheirCaptionsAndValuesAndVibratoDisabledOnSixtyAndStudio)
{
    const std::pair<const char*, const char*> captions[] = {
        { "Rate", "Rate" },        { "Depth", "Depth" }, { "Delay", "Delay" },       { "VibRate", "Rate" },
        { "VibAmount", "Amount" }, { "Wet", "Wet" },     { "Highpass", "Highpass" }, { "Tone", "Lowpass" },
    };

    for (const auto& [mode, colour] : modes)
    {
        auto panel = makePanel (mode, colour);
        panel->prepareUI (colour);
        EXPECT_EQ (panel->getNumChildComponents(), 24) << "a second prepareUI builds nothing more";
        juce::RectangleList<int> knobs;

        for (const auto& [suffix, captionText] : captions)
        {
            const auto id = "param" + mode + suffix;
            SCOPED_TRACE (id);
            auto* knob = panel::child<SliderQEX> (*panel, id);
            auto* field = panel::child<CenteredEditableLabel> (*panel, id);
            auto* caption = panel::child<juce::Label> (*panel, id + "_nice");
            ASSERT_TRUE (knob != nullptr && field != nullptr && caption != nullptr);

            EXPECT_TRUE (! knob->getBounds().isEmpty() && panel->getLocalBounds().contains (knob->getBounds()));
            EXPECT_FALSE (knobs.intersects (knob->getBounds()));
            knobs.add (knob->getBounds());
            EXPECT_EQ (caption->getText(), captionText);

            if (auto* parameter = processor.parameters.getParameter (id))
            {
                EXPECT_TRUE (knob->isEnabled() && field->isEnabled() && field->isEditableOnDoubleClick());
                EXPECT_FLOAT_EQ ((float) knob->getValue(), valueOf (id));
                EXPECT_EQ (field->getText(), parameter->getCurrentValueAsText());
            }
            else
            {
                EXPECT_TRUE (juce::String (suffix).startsWith ("Vib") && (mode == "Sixty" || mode == "Studio"));
                EXPECT_FALSE (knob->isEnabled() || field->isEnabled());
                EXPECT_EQ (field->getText(), "Disabled");
                EXPECT_FLOAT_EQ (caption->getAlpha(), 0.6f);
            }
        }
    }
}

TEST_F (ChorusPanels, knobFieldAndParameterStayInStepWhileHiddenAndFromAnyThread)
{
    auto panel = makePanel ("Ensemble", LookAndFeelCustom::greenColour);
    auto field = [&panel] (const char* id) { return panel::child<CenteredEditableLabel> (*panel, id)->getText(); };

    panel::child<SliderQEX> (*panel, "paramEnsembleVibAmount")->setValue (0.29, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (valueOf ("paramEnsembleVibAmount"), 0.29f);
    EXPECT_EQ (field ("paramEnsembleVibAmount"), "29%");
    EXPECT_EQ (field ("paramEnsembleVibRate"), "5.00Hz") << "only the knob that moved rewrites its field";

    panel->setVisible (false);
    setParameter (processor, "paramEnsembleTone", 9000.0f);
    EXPECT_EQ (field ("paramEnsembleTone"), "9.0kHz");

    // Host automation arrives on another thread; the attachment brings it to the message thread.
    std::thread host ([this] { setParameter (processor, "paramEnsembleRate", 3.0f); });
    host.join();
    pumpMessages();
    EXPECT_FLOAT_EQ ((float) panel::child<SliderQEX> (*panel, "paramEnsembleRate")->getValue(), 3.0f);
    EXPECT_EQ (field ("paramEnsembleRate"), "3.00Hz");
}

TEST_F (ChorusPanels, eachPanelDrawsItsKnobsInItsModeColourAndDisabledOnesAtHalfAlpha)
{
    for (const auto& [mode, colour] : modes)
    {
        SCOPED_TRACE (mode);
        auto panel = makePanel (mode, colour);
        const auto image = panel::snapshot ("chorus-panel-" + mode.toLowerCase(), *panel, 2);

        EXPECT_TRUE (panel::shows (image, { 176, 20, 100, 20 }, LookAndFeelCustom::offWhiteBrightColour)) << "VIBRATO";
        const auto& depth = *panel::child<SliderQEX> (*panel, "param" + mode + "Depth");
        EXPECT_TRUE (render::sameColour (panel::ringColour (image, depth, 0.2f), colour)) << "arc from the start";

        // A disabled knob is drawn whole at half alpha: its disc halfway to the background.
        const auto disc = panel::child<SliderQEX> (*panel, "param" + mode + "VibRate")->getBounds().getCentre();
        const auto vibratoDisc = image.getPixelAt (disc.x, disc.y);
        const auto hasVibrato = mode == "Ensemble" || mode == "Quad";
        EXPECT_TRUE (render::sameColour (vibratoDisc, LookAndFeelCustom::darkGrayColour.interpolatedWith (
                                                          LookAndFeelCustom::bgColour, hasVibrato ? 0.0f : 0.5f)));
    }
}
