#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
struct GuiScaling : EditorTest
{
    /** Waits past the delay after which a resize is written. */
    static void waitForScaleSave() { pumpMessages (SaveScaleTimer::delayMilliseconds + 200); }
};
} // namespace

TEST_F (GuiScaling, theStoredScaleSizesTheEditorAndItsContentAsNumberOrText)
{
    for (const auto& stored : { juce::var (2.0), juce::var ("2.0") })
    {
        storeScale (stored);
        auto editor = openEditor();

        EXPECT_EQ (editor->getBounds().getWidth(), 1414) << stored.toString();
        EXPECT_EQ (editor->getBounds().getHeight(), 672);
        EXPECT_EQ (editor->contentComponent.getTransform(), juce::AffineTransform::scale (2.0f));

        const auto image = panel::snapshot ("editor-scale-2", *editor);
        EXPECT_TRUE (sameColour (image.getPixelAt (275, 140), LookAndFeelCustom::bgColour))
            << "the gap after the first tab, twice as wide";
        EXPECT_TRUE (sameColour (image.getPixelAt (273, 140), LookAndFeelCustom::darkGrayColour));
    }

    storeScale (1.5);
    auto editor = openResizableEditor();
    EXPECT_EQ (editor->getWidth(), 1060) << "1060.5 truncated";
    EXPECT_EQ (editor->getHeight(), 504);
    EXPECT_FLOAT_EQ (editor->currentScale, 1060.0f / 707.0f);
    EXPECT_EQ ((double) storedScale(), 1.5) << "opening writes no scale";
    panel::snapshot ("editor-scale-1.5", *editor);
}

TEST_F (GuiScaling, aScaleSavedFromAWidthReopensAtTheSameWidthOrOneLess)
{
    // 712 / 707 in single precision, times 707, is 711.99994.
    storeScale ((double) (712.0f / 707.0f));
    EXPECT_EQ (openEditor()->getWidth(), 711);
}

TEST_F (GuiScaling, aScaleBelowTheLimitsIsBroughtIntoThemWithoutBeingWritten)
{
    storeScale (0.5);
    auto editor = openEditor();
    EXPECT_EQ (editor->getBounds().getWidth(), 353);
    EXPECT_EQ (editor->getBounds().getHeight(), 168);

    pumpMessages();
    EXPECT_EQ (editor->getWidth(), 600);
    EXPECT_EQ (editor->getHeight(), 285);
    EXPECT_FLOAT_EQ (editor->currentScale, 600.0f / 707.0f);

    waitForScaleSave();
    EXPECT_EQ ((double) storedScale(), 0.5);
    EXPECT_EQ ((double) savedScale(), 0.5);
}

TEST_F (GuiScaling, aStoredScaleThatGivesNoUsableSizeOpensAtTheCurrentScale)
{
    for (const auto& stored : { juce::var ("abc"), juce::var ("nan"), juce::var (0.0), juce::var (-2.0) })
    {
        storeScale (stored);
        auto editor = openEditor();
        EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 707, 336)) << stored.toString();
    }

    storeScale (1.0e12);
    auto editor = openEditor();
    EXPECT_EQ (editor->getWidth(), 2400) << "no overflow of the window size";
}

TEST_F (GuiScaling, resizingKeepsTheAspectAndLimitsAndSavesOneSecondAfterTheLastChange)
{
    auto editor = openResizableEditor();
    ASSERT_TRUE (editor->resizeReady);
    EXPECT_TRUE (editor->isResizable());

    editor->setBoundsConstrained ({ 0, 0, 3000, 300 });
    EXPECT_NEAR (editor->getWidth(), 2400, 1);
    EXPECT_EQ (editor->getHeight(), 1140);

    // The settings dialog writes the file once when the editor opens, with the scale as it was.
    ASSERT_EQ (savedScale().toString(), "1.0");

    editor->setBoundsConstrained ({ 0, 0, 2121, 1008 });
    pumpMessages (SaveScaleTimer::delayMilliseconds / 2);
    editor->setBoundsConstrained ({ 0, 0, 1414, 672 });
    pumpMessages (SaveScaleTimer::delayMilliseconds * 3 / 4);
    EXPECT_EQ (savedScale().toString(), "1.0") << "every resize restarts the delay";

    waitForScaleSave();
    EXPECT_EQ (savedScale().toString(), "2.0");

    // A host size off the aspect: the width alone decides.
    editor->setSize (1000, 300);
    EXPECT_FLOAT_EQ (editor->currentScale, 1000.0f / 707.0f);
    EXPECT_EQ (editor->contentComponent.getTransform(), juce::AffineTransform::scale (1000.0f / 707.0f));

    // Closing within the delay drops the pending save.
    editor.reset();
    waitForScaleSave();
    EXPECT_EQ (savedScale().toString(), "2.0");
}
