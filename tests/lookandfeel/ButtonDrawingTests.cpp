#include "RenderHelpers.h"

#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/LookAndFeelPresetName.h"
#include "lookandfeel/LookAndFeelTabButton.h"

namespace
{
/** A button of the given size drawn by a look and feel, which it gives back on destruction. */
template <typename ButtonType, typename LookAndFeelType>
struct Styled : ButtonType
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
} // namespace

TEST (TextButtonDrawing, aGreyOutlinedPillWithALabelBrightWhenOnGreyWhenOffAndBothDimmedWhenDisabled)
{
    LookAndFeelCustom lf;
    Styled<juce::TextButton, LookAndFeelCustom> pill (lf, {}, 100, 30), button (lf, "WAVE", 100, 20);

    const auto normal = render::component ("pill-button", pill);
    EXPECT_EQ (render::alphaAt (normal, 3, 3), 0) << "corner radius 14.5 leaves the corner empty";
    EXPECT_TRUE (render::colourAt (normal, 50, 0, LookAndFeelCustom::midGrayColour)) << "outline";
    EXPECT_TRUE (render::colourAt (normal, 50, 15, LookAndFeelCustom::bgColour)) << "fill";

    const auto off = render::strongestPixel (labelOf (button, "button-text-off"));
    EXPECT_GT (off.getAlpha(), 240);
    EXPECT_TRUE (render::sameColour (off, LookAndFeelCustom::midGrayColour));
    button.setToggleState (true, juce::dontSendNotification);
    const auto on = render::strongestPixel (labelOf (button, "button-text-on"));
    EXPECT_TRUE (render::sameColour (on, LookAndFeelCustom::offWhiteBrightColour));

    pill.setEnabled (false);
    button.setEnabled (false);
    const auto disabled = render::component ("pill-button-disabled", pill);
    EXPECT_NEAR (render::alphaAt (disabled, 50, 15), 128, 2) << "fill at half alpha";
    EXPECT_EQ (render::alphaAt (disabled, 50, 0), 255) << "outline stays opaque";
    EXPECT_NEAR (render::strongestPixel (labelOf (button, "button-text-disabled")).getAlpha(), on.getAlpha() / 2, 3);
}

TEST (ToggleButtonDrawing, anOutlinedBoxThatShowsATickWhenOnWithTheTextClearOfIt)
{
    LookAndFeelCustom lf;
    Styled<juce::ToggleButton, LookAndFeelCustom> toggle (lf, "Show tooltips", 100, 30);

    const auto off = render::component ("toggle-off", toggle);
    EXPECT_TRUE (render::colourAt (off, 4, 15, LookAndFeelCustom::borderColour)) << "outline";
    EXPECT_TRUE (render::inkBounds (off.getClippedImage ({ 8, 10, 10, 10 })).isEmpty()) << "no tick";
    EXPECT_TRUE (render::inkBounds (off.getClippedImage ({ 22, 0, 5, 30 })).isEmpty()) << "a gap before the text";
    EXPECT_FALSE (render::inkBounds (off.getClippedImage ({ 27, 0, 71, 30 })).isEmpty());

    toggle.setToggleState (true, juce::dontSendNotification);
    const auto on = render::component ("toggle-on", toggle);
    EXPECT_FALSE (render::inkBounds (on.getClippedImage ({ 8, 10, 10, 10 })).isEmpty()) << "tick";
}

TEST (TabDrawing, theSelectedTabIsLighterWithItsDotInTheModeColourAndTheLabelClearOfTheDot)
{
    LookAndFeelTabButton lf;
    lf.tabColour = LookAndFeelCustom::greenColour;
    Styled<juce::TextButton, LookAndFeelTabButton> tab (lf, "ENSEMBLE CHORUS", 137, 37), blank (lf, {}, 137, 37);

    const auto off = render::component ("tab-off", tab);
    EXPECT_TRUE (render::colourAt (off, 2, 2, juce::Colour (0xff222428), 0));
    EXPECT_TRUE (render::colourAt (off, 117, 18, LookAndFeelCustom::midGrayColour, 0)) << "dot 20 px from the right";

    tab.setToggleState (true, juce::dontSendNotification);
    blank.setToggleState (true, juce::dontSendNotification);
    const auto on = render::component ("tab-on", tab);
    EXPECT_TRUE (render::colourAt (on, 2, 2, LookAndFeelCustom::darkGrayColour, 0));
    EXPECT_TRUE (render::colourAt (on, 117, 18, LookAndFeelCustom::greenColour, 0));

    const auto label = render::differenceBounds (on, render::component ("tab-blank", blank));
    EXPECT_GE (label.getX(), 15);
    EXPECT_LE (label.getRight(), 107);
    EXPECT_GT (label.getWidth(), 30);
}

TEST (PresetNameDrawing, theNameHasNoBackgroundEvenWhilePressed)
{
    LookAndFeelPresetName lf;
    Styled<juce::TextButton, LookAndFeelPresetName> name (lf, {}, 200, 40);

    auto paint = [&] (juce::Graphics& g)
    { lf.drawButtonBackground (g, name, LookAndFeelCustom::bgColour, true, true); };
    EXPECT_TRUE (render::inkBounds (render::draw ("preset-name-background", 200, 40, paint)).isEmpty());
}

TEST (PresetNameDrawing, lineBreaksAndControlCharactersDrawAsSpacesOnTheNameButtonAndInMenuRows)
{
    // Each run of breaks or control characters shows as one space.
    const auto broken = juce::String ("Warm\nChorus\r\nWide\tNight") + juce::String::charToString (0x2028) + "Mix";
    const juce::String spaced ("Warm Chorus Wide Night Mix");

    LookAndFeelPresetName lf;
    Styled<juce::TextButton, LookAndFeelPresetName> brokenName (lf, broken, 280, 24), spacedName (lf, spaced, 280, 24);
    const auto name = labelOf (brokenName, "preset-name-line-breaks");
    EXPECT_TRUE (render::samePixels (name, labelOf (spacedName, "preset-name-spaces")));
    EXPECT_LE (render::inkBounds (name).getHeight(), 12) << "one line";

    auto menuRow = [&lf] (const juce::String& imageName, const juce::String& text)
    {
        return render::draw (
            imageName, 280, 24,
            [&] (juce::Graphics& g) {
                lf.drawPopupMenuItem (g, { 280, 24 }, false, true, false, false, false, text, {}, nullptr, nullptr);
            });
    };
    EXPECT_TRUE (render::samePixels (menuRow ("menu-row-line-breaks", broken), menuRow ("menu-row-spaces", spaced)));

    auto idealWidth = [&lf] (const juce::String& text)
    {
        int width = 0, height = 0;
        lf.getIdealPopupMenuItemSize (text, false, 0, width, height);
        return width;
    };
    EXPECT_EQ (idealWidth (broken), idealWidth (spaced));
}
