#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
using GuiScaling = EditorTest;
} // namespace

TEST_F (GuiScaling, theStoredScaleSizesTheEditorAndDrawsItsContentAtThatScale)
{
    for (const auto& [stored, width, height] :
         { std::tuple (juce::var ("2.0"), 1414, 672), std::tuple (juce::var (1.5), 1060, 504),
           std::tuple (juce::var ((double) (712.0f / 707.0f)), 711, 338) })
    {
        setOption ("scale", stored);
        auto editor = openEditor();
        const auto scale = (float) width / 707.0f;
        EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, width, height)) << stored.toString();
        EXPECT_EQ (editor->contentComponent.getTransform(), juce::AffineTransform::scale (scale));

        // The selected tab's dot, 117 units into the first tab and 67 down, in window pixels.
        const auto image = panel::snapshot ("editor-scale-" + stored.toString(), *editor);
        EXPECT_TRUE (render::colourAt (image, (int) (117.0f * scale), (int) (67.0f * scale), LF::blueColour));
    }
}

TEST_F (GuiScaling, anUnusableStoredScaleIsCorrectedWithoutBeingWritten)
{
    setOption ("scale", 0.5);
    auto editor = constructEditor();
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 353, 168));
    EditorTestAccess::finishOpening (*editor);
    pumpMessages();
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 600, 285)) << "brought into the limits";
    EXPECT_EQ (EditorTestAccess::pendingSaveDelay (*editor), 0);
    EXPECT_EQ (saved ("scale"), "0.5");

    // Text that holds no number reads as 0, which opens the editor at its smallest size.
    for (const auto& stored : { juce::var ("abc"), juce::var ("0"), juce::var (-2.0) })
    {
        setOption ("scale", stored);
        auto opened = openEditor();
        pumpMessages();
        EXPECT_EQ (opened->getBounds(), juce::Rectangle<int> (0, 0, 600, 285)) << stored.toString();
        EXPECT_FLOAT_EQ (opened->currentScale, 600.0f / 707.0f) << stored.toString();
        EXPECT_EQ (EditorTestAccess::pendingSaveDelay (*opened), 0) << stored.toString();
        EXPECT_EQ (saved ("scale"), stored.toString());
    }

    for (const auto& stored : { juce::var ("nan"), juce::var ("inf"), juce::var ("-inf") })
    {
        setOption ("scale", stored);
        EXPECT_EQ (openEditor()->getBounds(), juce::Rectangle<int> (0, 0, 707, 336)) << stored.toString();
    }
    setOption ("scale", 1.0e12);
    EXPECT_EQ (openEditor()->getWidth(), 2400) << "no overflowing window size";
}

TEST_F (GuiScaling, resizingKeepsTheLimitsAndSavesOneSecondAfterTheLastChangeUnlessClosedSooner)
{
    auto editor = openEditor();
    pumpMessages();
    editor->setBoundsConstrained ({ 0, 0, 3000, 300 });
    EXPECT_NEAR (editor->getWidth(), 2400, 1);
    EXPECT_EQ (editor->getHeight(), 1140);

    // Opening writes the file once, with the scale as it was.
    ASSERT_EQ (saved ("scale"), "1.0");
    editor->setBoundsConstrained ({ 0, 0, 2121, 1008 });
    editor->setBoundsConstrained ({ 0, 0, 1414, 672 });
    EXPECT_EQ (saved ("scale"), "1.0") << "nothing is written while the size changes";
    EXPECT_EQ (EditorTestAccess::pendingSaveDelay (*editor), 1000);
    EditorTestAccess::endSaveDelay (*editor);
    EXPECT_EQ (saved ("scale"), "2.0") << "the last size, once the delay has passed";
    EXPECT_EQ (EditorTestAccess::pendingSaveDelay (*editor), 0) << "one write";

    editor->setSize (1000, 300);
    EXPECT_FLOAT_EQ (editor->currentScale, 1000.0f / 707.0f) << "the width alone decides";
    EXPECT_EQ (EditorTestAccess::pendingSaveDelay (*editor), 1000);
    editor.reset();
    pumpMessages();
    EXPECT_EQ (saved ("scale"), "2.0");
}
