#include "PanelTestSupport.h"

#include "editor/OutputPanel.h"
#include "support/AudioTestSupport.h"

// Its knobs are built by the same code as the chorus panels', whose tests cover how knob,
// field and parameter keep in step.
TEST (OutputPanelTest, spreadAndVolumeFollowTheirParametersInTheColourOfTheShownMode)
{
    ScopedDataHome dataHome;
    QexTidewellAudioProcessor processor;
    OutputPanel panel (processor);
    panel.prepareUI (LookAndFeelCustom::blueColour);
    panel.setBounds (450, 86, 100, 250);

    auto& spread = *panel::child<SliderQEX> (panel, "paramSpread");
    auto& volume = *panel::child<SliderQEX> (panel, "paramGain");
    EXPECT_EQ (panel::child<juce::Label> (panel, "paramSpread_nice")->getText(), "Spread");
    EXPECT_EQ (panel::child<juce::Label> (panel, "paramGain_nice")->getText(), "Volume");

    const auto blue = panel::snapshot ("output-panel-blue", panel);
    EXPECT_TRUE (render::colourAt (blue, 50, 5, LookAndFeelCustom::bgColour)) << "covers the chorus panel under it";
    EXPECT_TRUE (panel::shows (blue, { 0, 20, 100, 20 }, LookAndFeelCustom::offWhiteBrightColour)) << "OUTPUT";

    // Volume's default sits mid travel, centred on 0 dB, yet its arc runs from the start too.
    EXPECT_TRUE (render::sameColour (panel::ringColour (blue, volume, 0.2f), LookAndFeelCustom::blueColour));
    EXPECT_TRUE (render::sameColour (panel::ringColour (blue, volume, 3.5f), LookAndFeelCustom::darkGrayColour));

    // As the editor recolours it when it shows a mode: the colour changes, the controls stay.
    panel.prepareUI (LookAndFeelCustom::redColour);
    EXPECT_EQ (panel.getNumChildComponents(), 6) << "no second set of controls";
    const auto red = panel::snapshot ("output-panel-red", panel);
    EXPECT_TRUE (render::sameColour (panel::ringColour (red, spread, 0.2f), LookAndFeelCustom::redColour));
    EXPECT_TRUE (render::sameColour (panel::ringColour (red, volume, 0.2f), LookAndFeelCustom::redColour));

    setParameter (processor, "paramGain", -6.0f);
    EXPECT_FLOAT_EQ ((float) volume.getValue(), -6.0f);
    EXPECT_EQ (panel::child<CenteredEditableLabel> (panel, "paramGain")->getText(), "-6.0dB");
}
