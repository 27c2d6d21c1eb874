#include "RenderHelpers.h"

#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/SliderQEX.h"

namespace
{
class KnobDrawing : public testing::Test
{
protected:
    LookAndFeelCustom lookAndFeel;
    SliderQEX knob;

    void SetUp() override
    {
        lookAndFeel.rotaryColour = LookAndFeelCustom::orangeColour;
        knob.setLookAndFeel (&lookAndFeel);
        knob.setSliderStyle (juce::Slider::RotaryVerticalDrag);
        knob.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        knob.setRange (0.0, 1.0);
        knob.setSize (100, 200);
    }

    void TearDown() override { knob.setLookAndFeel (nullptr); }

    juce::Image drawAt (double position, const juce::String& name)
    {
        knob.setValue (position, juce::dontSendNotification);
        return render::component (name, knob);
    }

    /** Checks the colour at a distance from the knob's centre (50, 25) along a rotary angle. */
    static testing::AssertionResult colourAlong (const juce::Image& image, float angle, float radius, juce::Colour c)
    {
        return render::colourAt (image, (int) std::floor (50.0f + radius * std::sin (angle)),
                                 (int) std::floor (25.0f - radius * std::cos (angle)), c);
    }

    const float start = knob.getRotaryParameters().startAngleRadians;
    const float end = knob.getRotaryParameters().endAngleRadians;
    const float left = 1.5f * juce::MathConstants<float>::pi, right = 2.5f * juce::MathConstants<float>::pi;
    static constexpr float ring = 23.25f, pointer = 12.0f;
    const juce::Colour accent = LookAndFeelCustom::orangeColour, grey = LookAndFeelCustom::darkGrayColour;
};
} // namespace

TEST_F (KnobDrawing, theRingIsFiftyPixelsAcrossAtTheTopWhateverTheSliderHeight)
{
    const auto tall = drawAt (0.3, "knob-100x200");
    EXPECT_EQ (render::inkBounds (tall, 127).withBottom (50), juce::Rectangle<int> (25, 0, 50, 50));
    EXPECT_LE (render::inkBounds (tall).getBottom(), 50);
    EXPECT_TRUE (render::colourAt (tall, 50, 25, grey)) << "disc centre";
    EXPECT_EQ (render::alphaAt (tall, 31, 25), 0) << "gap between disc and ring";

    knob.setSize (100, 50);
    EXPECT_TRUE (render::samePixels (drawAt (0.3, "knob-100x50"), tall.getClippedImage ({ 0, 0, 100, 50 })));
}

TEST_F (KnobDrawing, thePointerAndTheValueArcFollowTheValueFromTheStartOrWhenAskedFromMidTravel)
{
    const auto atStart = drawAt (0.0, "knob-position-0");
    EXPECT_TRUE (colourAlong (atStart, start, pointer, accent));
    EXPECT_TRUE (colourAlong (atStart, end, pointer, grey));
    EXPECT_TRUE (colourAlong (atStart, left, ring, grey)) << "no value arc";

    const auto atEnd = drawAt (1.0, "knob-position-1");
    EXPECT_TRUE (colourAlong (atEnd, end, pointer, accent));
    EXPECT_TRUE (colourAlong (atEnd, start, pointer, grey));
    EXPECT_TRUE (colourAlong (atEnd, left, ring, accent)) << "value arc";

    lookAndFeel.arcFromCentre = true;
    const auto middle = drawAt (0.5, "knob-centred-arc-0.5");
    for (auto angle : { left, (start + end) * 0.5f, right })
        EXPECT_TRUE (colourAlong (middle, angle, ring, grey));

    const auto low = drawAt (0.0, "knob-centred-arc-0");
    EXPECT_TRUE (colourAlong (low, left, ring, accent));
    EXPECT_TRUE (colourAlong (low, right, ring, grey));

    const auto high = drawAt (1.0, "knob-centred-arc-1");
    EXPECT_TRUE (colourAlong (high, left, ring, grey));
    EXPECT_TRUE (colourAlong (high, right, ring, accent));
}
