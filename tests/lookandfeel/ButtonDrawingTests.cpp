#include "RenderHelpers.h"

#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/LookAndFeelPresetName.h"
#include "lookandfeel/LookAndFeelTabButton.h"

namespace
{
/** A button of the given size drawn by a look and feel, which it gives back on destruction. */
template <typename ButtonType, typename LookAndFeelType> struct Styled : ButtonType
{
    Styled (LookAndFeelType& lf, const juce::String& buttonText, int width, int height) : ButtonType (buttonText)
    {
        this->setLookAndFeel (&lf);
        this->setSize (width, height);
    }

    ~Styled() override { this->setLookAndFeel (nullptr); }
};

juce::Image labelOf (juce::TextButton& button, const juce::String& name)
{
    return render::draw (name, button.getWidth(), button.getHeight(),
                         [&button] (juce::Graphics& g)
                         { button.getLookAndFeel().drawButtonText (g, button, false, false); });
}

const juce::Colour unselectedTab (0xff222428);
} // namespace

TEST (TextButtonDrawing, aPillWithAGreyOutlineThatDimsWhenDisabled)
{
    LookAndFeelCustom lf;
    Styled<juce::TextButton, LookAndFeelCustom> button (lf, {}, 100, 30);

    const auto normal = render::component ("pill-button", button);
    EXPECT_EQ (render::alphaAt (normal, 3, 3), 0) << "corner radius 14.5 leaves the corner empty";
    EXPECT_TRUE (render::colourAt (normal, 50, 0, LookAndFeelCustom::midGrayColour)) << "outline";
    EXPECT_TRUE (render::colourAt (normal, 50, 15, LookAndFeelCustom::bgColour)) << "fill";

    button.setEnabled (false);
    const auto disabled = render::component ("pill-button-disabled", button);
    EXPECT_NEAR (render::alphaAt (disabled, 50, 15), 128, 2) << "fill at half alpha";
    EXPECT_EQ (render::alphaAt (disabled, 50, 0), 255) << "outline stays opaque";
}

TEST (TextButtonDrawing, labelsAreBrightWhenOnGreyWhenOffAndHalfAlphaWhenDisabled)
{
    LookAndFeelCustom lf;
    Styled<juce::TextButton, LookAndFeelCustom> button (lf, "WAVE", 100, 20);

    const auto off = render::strongestPixel (labelOf (button, "button-text-off"));
    EXPECT_GT (off.getAlpha(), 240);
    EXPECT_TRUE (render::sameColour (off, LookAndFeelCustom::midGrayColour));

    button.setToggleState (true, juce::dontSendNotification);
    const auto on = render::strongestPixel (labelOf (button, "button-text-on"));
    EXPECT_TRUE (render::sameColour (on, LookAndFeelCustom::offWhiteBrightColour));

    button.setEnabled (false);
    EXPECT_NEAR (render::strongestPixel (labelOf (button, "button-text-disabled")).getAlpha(), on.getAlpha() / 2, 3);
}

TEST (ToggleButtonDrawing, aLargerTickBoxWithTheTextFromItsRight)
{
    LookAndFeelCustom lf;
    Styled<juce::ToggleButton, LookAndFeelCustom> toggle (lf, "Show tooltips", 100, 30);

    // Box 16.8 x 16.8 at (4, 6.6), outlined on its edges; text box from x 27, 71 wide.
    const auto off = render::component ("toggle-off", toggle);
    EXPECT_TRUE (render::colourAt (off, 4, 15, LookAndFeelCustom::borderColour));
    EXPECT_EQ (render::alphaAt (off, 2, 15) + render::alphaAt (off, 12, 15), 0) << "outside and inside the box";
    EXPECT_TRUE (render::inkBounds (off.getClippedImage ({ 22, 0, 5, 30 })).isEmpty());
    EXPECT_FALSE (render::inkBounds (off.getClippedImage ({ 27, 0, 71, 30 })).isEmpty());
    EXPECT_LE (render::inkBounds (off).getRight(), 98);

    toggle.setToggleState (true, juce::dontSendNotification);
    EXPECT_FALSE (
        render::inkBounds (render::component ("toggle-on", toggle).getClippedImage ({ 8, 10, 10, 10 })).isEmpty())
        << "tick";

    toggle.setSize (20, 30);
    EXPECT_LE (render::inkBounds (render::component ("toggle-narrow", toggle)).getRight(), 22) << "only the box";
}

TEST (TabDrawing, aBarAndADotColouredBySelectionWithTheLabelClearOfTheDot)
{
    LookAndFeelTabButton lf;
    lf.tabColour = LookAndFeelCustom::greenColour;
    Styled<juce::TextButton, LookAndFeelTabButton> tab (lf, "ENSEMBLE", 137, 37), blank (lf, {}, 137, 37);

    const auto off = render::component ("tab-off", tab);
    EXPECT_TRUE (render::colourAt (off, 2, 2, unselectedTab, 0));
    EXPECT_TRUE (render::colourAt (off, 117, 18, LookAndFeelCustom::midGrayColour, 0)) << "dot 20 px from the right";
    EXPECT_TRUE (render::colourAt (off, 110, 18, unselectedTab, 0)) << "left of the dot";

    tab.setToggleState (true, juce::dontSendNotification);
    blank.setToggleState (true, juce::dontSendNotification);
    const auto on = render::component ("tab-on", tab);
    EXPECT_TRUE (render::colourAt (on, 2, 2, LookAndFeelCustom::darkGrayColour, 0));
    EXPECT_TRUE (render::colourAt (on, 117, 18, LookAndFeelCustom::greenColour, 0));

    const auto label = render::differenceBounds (on, render::component ("tab-blank", blank));
    EXPECT_GE (label.getX(), 15);
    EXPECT_LE (label.getRight(), 107);
    EXPECT_GT (label.getWidth(), 30);

    tab.setEnabled (false);
    EXPECT_TRUE (render::samePixels (render::component ("tab-on-disabled", tab), on)) << "disabled looks the same";

    tab.setSize (45, 37);
    blank.setSize (45, 37);
    EXPECT_TRUE (render::samePixels (render::component ("tab-45px", tab), render::component ("tab-45px-blank", blank)))
        << "no text below 46 px";
}

TEST (PresetNameDrawing, noBackgroundEvenWhenPressedAndATwelvePointName)
{
    LookAndFeelPresetName lf;
    Styled<juce::TextButton, LookAndFeelPresetName> name (lf, {}, 200, 40);

    for (auto [highlighted, down] : { std::pair (false, false), std::pair (true, false), std::pair (true, true) })
    {
        auto paint = [&, h = highlighted, d = down] (juce::Graphics& g)
        { lf.drawButtonBackground (g, name, LookAndFeelCustom::bgColour, h, d); };
        EXPECT_TRUE (render::inkBounds (render::draw ("preset-name-background", 200, 40, paint)).isEmpty());
    }

    EXPECT_FLOAT_EQ (lf.getTextButtonFont (name, 40).getHeight(), 12.0f);
}
